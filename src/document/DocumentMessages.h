#pragma once
// Texts the document subsystem shows to the user. "%s" stands for a file or object name; fill
// it with FormatMessageText.
#include <string>

namespace jorvo {

namespace DocumentMessages {

// The XML document object could not be created.
inline constexpr char kXmlDocumentCreateFailed[] = "Failed to create the XML document object";
// An XML file could not be opened for reading (path).
inline constexpr char kErrorLoadingFile[] = "Error loading file %s.";
// An XML file could not be read or is not well-formed (path).
inline constexpr char kErrorReadingFile[] = "Error reading file: %s.";
// An XML file could not be created or put in place (path).
inline constexpr char kErrorSavingFile[] = "Error saving file %s.";
// The XML document could not be written (path).
inline constexpr char kErrorWritingFile[] = "Error writing file %s";

// The document's own texts. Captions of its message boxes.
inline constexpr char kJorvoCaption[] = "Jorvo";
inline constexpr char kIncorrectVersionCaption[] = "Incorrect Version";
// A native file written by a newer program (path).
inline constexpr char kNewerVersion[] =
    "Cannot read document '%s'.  Document was created by a newer version of Jorvo.";
// No studio could be created.
inline constexpr char kCreateStudioFailed[] =
    "Jorvo failed to create the Studio.  No music is possible.  Jorvo will now exit.";
// A document could not be opened or imported (path).
inline constexpr char kOpenFailed[] = "Failed to open document %s.";
// A document could not be saved or exported (path).
inline constexpr char kSaveFailed[] = "Failed to save document %s.";
// The document-type strings, fields separated by line feeds: window title, default document
// title, new-file type name, filter name, extension, registry type, type description.
inline constexpr char kDocumentStrings[] =
    "Jorvo\nuntitled\nJorvo\nJorvo Files (*.jorvo)\n.jorvo\nJorvo.Document\nJorvo Document";

} // namespace DocumentMessages

// `format` with its first "%s" replaced by `text`; `format` unchanged when it has none.
inline std::string FormatMessageText(const std::string& format, const std::string& text)
{
    std::string message = format;
    const std::size_t at = message.find("%s");
    if (at != std::string::npos)
        message.replace(at, 2, text);
    return message;
}

} // namespace jorvo
