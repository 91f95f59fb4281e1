#pragma once
// The document: the whole studio plus the layout of the main window (its view list). It creates
// and destroys the studio, reads and writes the native ".jorvo" file, imports and exports the
// same content as XML, exports the song as a MIDI file and registers the document type.
//
// Native file: "JorvoDoc" (8 ASCII bytes), the format version (signed byte, written as 4), the
// studio's binary form without a class tag, then the view list. A file without the header is
// read as version 1 from its first byte. XML: root "JorvoDocument" with "Version", holding the
// studio's "Studio" element and then "ViewList".
//
// The view list belongs to the user interface. Without a main frame (batch commands, tests) the
// document keeps the view list it read as it was and writes it back unchanged; a new document
// writes an empty one. A missing frame is never an error. UI thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/RuntimeClass.h"
#include "engine/SoundStudio.h"
#include "platform/SettingsStore.h"

namespace jorvo {

class ArchiveStream;
class BinaryArchive;
class CXMLArchive;

// What the document asks of the main frame: storing and restoring its view list.
class DocumentFrame {
public:
    virtual ~DocumentFrame() = default;
    // Writes or reads the view list in binary form; raises ArchiveException on damaged input.
    virtual void Serialize(BinaryArchive& archive) = 0;
    // Writes the "ViewList" element below the archive's node, or reads it; raises
    // ArchiveException on damaged input.
    virtual void SerializeXML(CXMLArchive& archive) = 0;
};

// The application's main frame, or null when there is none (batch commands). UI thread.
DocumentFrame* MainFrame();
// Installs the application's main frame (null: none). UI thread.
void SetMainFrame(DocumentFrame* frame);
// The frame of the open document, published when its studio is created; null when closed.
DocumentFrame* CurrentFrame();

// The view list as read, kept without a user interface: per view its keyword and its XML
// element as text. Binary form: per view the keyword and the element as wide strings, then
// "EndOfViewList".
class StoredViewList : public DocumentFrame {
public:
    struct View {
        std::string keyword;
        std::string element;
        bool operator==(const View&) const = default;
    };

    // The text that ends the binary form.
    static constexpr char kEndMark[] = "EndOfViewList";

    void Serialize(BinaryArchive& archive) override;
    // Storing writes "ViewList" below the archive's node with every kept element that is
    // well-formed (one that is not is skipped, as an unknown view would be). Loading reads the
    // root's "ViewList" of the archive's file, each child element kept as text; a file without
    // one gives an empty list.
    void SerializeXML(CXMLArchive& archive) override;

    // The views kept, in stored order.
    const std::vector<View>& Views() const { return views_; }
    // Replaces the views kept (the main frame describes its live views this way).
    void SetViews(std::vector<View> views) { views_ = std::move(views); }
    // Forgets every view.
    void Clear() { views_.clear(); }

private:
    std::vector<View> views_;
};

class CJorvoDoc : public PersistentObject {
    JORVO_DECLARE_PERSISTENT(CJorvoDoc)
public:
    // The format version written, and the highest one read.
    static constexpr std::int8_t kFileVersion = 4;
    // The first bytes of a native file.
    static constexpr char kFileHeader[] = "JorvoDoc";
    // The extension of native files.
    static constexpr char kExtension[] = ".jorvo";
    // The root element of XML documents.
    static constexpr char kXmlRoot[] = "JorvoDocument";

    // A document without a studio. Its studios play through `output` (None: never opens a device).
    explicit CJorvoDoc(StudioOutput output = StudioOutput::None);
    ~CJorvoDoc() override;
    CJorvoDoc(const CJorvoDoc&) = delete;
    CJorvoDoc& operator=(const CJorvoDoc&) = delete;

    // A fresh document: no path, default title, empty view list, a new studio. False when the
    // studio cannot be created.
    bool NewDocument();
    // Reads the native file `path`. On failure (reported) the file is untouched and the document
    // is a fresh one; false.
    bool OpenDocument(const std::string& path);
    // Writes the native file `path`; the previous file survives any failure (reported; false).
    bool SaveDocument(const std::string& path);
    // Destroys the studio and forgets the frame.
    void CloseDocument();
    // Destroys the studio.
    void DeleteContents();
    // Replaces the studio by a new one and publishes the frame. False (reported) when the studio
    // cannot be created.
    bool CreateStudio();

    // The native file's body after the version check: studio and view list. Raises
    // ArchiveException (BadSchema for a refused version, Generic without a studio) on failure.
    void Serialize(BinaryArchive& archive) override;
    // Inside the root: the studio's element, then the view list; loading positions each on its
    // element ("Studio", "ViewList") first. Raises ArchiveException.
    void SerializeXML(CXMLArchive& archive) override;

    // Replaces the document by the XML file `path`. The file is read and checked (well-formed,
    // root "JorvoDocument") before the studio is replaced, so a bad file changes nothing. False
    // when reported as failed.
    bool ImportXML(const std::string& path);
    // Writes the document as XML to `path`; false (reported) when it cannot.
    bool ExportXML(const std::string& path);
    // Writes the song as a standard MIDI file to `path`; false (reported) when it cannot, with
    // the previous file left as it was.
    bool ExportMIDI(const std::string& path);

    // The proposed path of a document without one: the title up to the first of "#%;/\", the
    // extension, in the default documents folder.
    std::string GetDefaultPathName() const;

    // Reads the header of a native file from `archive` (flushed first): the version 1…4, or 0
    // when the file is refused (reported). A file without the header is put back to where it was.
    static int CheckVersion(BinaryArchive& archive, const std::string& path);

    // Writes the document-type registration under the classes root of `store` for the program
    // at `programPath`. False when a value cannot be written.
    static bool RegisterDocumentType(SettingsStore& store, const std::string& programPath);

    // Field `index` (0…6) of the document-type strings; empty beyond them.
    static std::string GetDocString(int index);

    // The studio, or null.
    SoundStudio* GetStudio() const { return studio_.get(); }
    // The view list kept without a main frame.
    const StoredViewList& GetStoredViewList() const { return storedViews_; }
    // The file path, empty for a new document.
    const std::string& GetPathName() const { return pathName_; }
    // Sets the path and takes the title from its file name.
    void SetPathName(const std::string& path);
    // The title ("untitled" for a new document).
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // True after New, Open, Save, Import and Export.
    bool IsModified() const { return modified_; }

private:
    DocumentFrame& Frame();
    SoundStudio& RequireStudio();
    void StartFresh();

    StudioOutput output_;
    std::unique_ptr<SoundStudio> studio_;
    DocumentFrame* frame_ = nullptr;
    StoredViewList storedViews_;
    std::string pathName_;
    std::string title_;
    bool modified_ = false;
};

} // namespace jorvo
