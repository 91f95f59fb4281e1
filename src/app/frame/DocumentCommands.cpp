#include "app/frame/DocumentCommands.h"

#include <cctype>
#include <filesystem>

#include "app/JorvoDoc.h"
#include "app/frame/FrameTexts.h"
#include "document/Configuration.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {

namespace {

bool HasExtension(const std::string& path, const char* extension)
{
    std::string actual = std::filesystem::path(path).extension().string();
    for (char& c : actual)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return actual == extension;
}

} // namespace

DocumentCommands::DocumentCommands(CJorvoDoc& document, std::function<void()> replaced, std::function<void()> changed)
    : document_(document), replaced_(std::move(replaced)), changed_(std::move(changed))
{
}

bool DocumentCommands::SaveModified()
{
    if (!document_.IsModified() || !document_.GetStudio())
        return true;
    const MessageAnswer answer =
        Shell().MessageBox(FormatText(FrameTexts::kSaveChanges, {document_.GetTitle()}), "Jorvo",
                           MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::Yes)
        return Save();
    return answer == MessageAnswer::No;
}

bool DocumentCommands::New()
{
    if (!SaveModified())
        return false;
    const bool created = document_.NewDocument();
    replaced_();
    return created;
}

bool DocumentCommands::Open()
{
    FileDialogRequest request{FileDialogMode::Open, FrameTexts::kOpenTitle, FrameTexts::kDocumentFilters,
                              Configuration().GetDocumentFolder()};
    const std::optional<std::string> path = Shell().ChooseFile(request);
    if (!path || !SaveModified())
        return false;
    const bool opened = document_.OpenDocument(*path);
    replaced_();
    return opened;
}

bool DocumentCommands::OpenPath(const std::string& path)
{
    const bool opened = HasExtension(path, FrameTexts::kXmlExtension) ? document_.ImportXML(path)
                                                                     : document_.OpenDocument(path);
    replaced_();
    return opened;
}

bool DocumentCommands::Save()
{
    if (document_.GetPathName().empty())
        return SaveAs();
    return document_.SaveDocument(document_.GetPathName());
}

bool DocumentCommands::SaveAs()
{
    const std::string initial =
        document_.GetPathName().empty() ? document_.GetDefaultPathName() : document_.GetPathName();
    FileDialogRequest request{FileDialogMode::Save, FrameTexts::kSaveAsTitle, FrameTexts::kDocumentFilters, initial};
    const std::optional<std::string> path = Shell().ChooseFile(request);
    return path && document_.SaveDocument(*path);
}

bool DocumentCommands::ImportXml()
{
    FileDialogRequest request{FileDialogMode::Open, FrameTexts::kImportXmlTitle, FrameTexts::kXmlFilters,
                              Configuration().GetDocumentFolder()};
    bool asked = false;
    bool imported = false;
    RepeatUntilDone(request, [this, &asked, &imported](const std::string& path) {
        // The question comes once, after the first file was chosen; a refusal ends the command.
        if (!asked) {
            asked = true;
            if (!SaveModified())
                return true;
        }
        if (!document_.ImportXML(path))
            return false;
        imported = true;
        replaced_();
        changed_();
        return true;
    });
    return imported;
}

bool DocumentCommands::ExportXml()
{
    FileDialogRequest request{FileDialogMode::Save, FrameTexts::kExportXmlTitle, FrameTexts::kXmlFilters,
                              ProposedPath(FrameTexts::kXmlExtension)};
    return RepeatUntilDone(request, [this](const std::string& path) {
        if (!document_.ExportXML(path))
            return false;
        changed_();
        return true;
    });
}

bool DocumentCommands::ExportMidi()
{
    FileDialogRequest request{FileDialogMode::Save, FrameTexts::kExportMidiTitle, FrameTexts::kMidiFilters,
                              ProposedPath(FrameTexts::kMidiExtension)};
    return RepeatUntilDone(request, [this](const std::string& path) {
        if (!document_.ExportMIDI(path))
            return false;
        changed_();
        return true;
    });
}

std::string DocumentCommands::ProposedPath(const char* extension) const
{
    std::filesystem::path path =
        document_.GetPathName().empty() ? document_.GetDefaultPathName() : document_.GetPathName();
    path.replace_extension(extension);
    return path.string();
}

bool DocumentCommands::RepeatUntilDone(FileDialogRequest request,
                                       const std::function<bool(const std::string&)>& attempt)
{
    for (;;) {
        const std::optional<std::string> path = Shell().ChooseFile(request);
        if (!path)
            return false;
        if (attempt(*path))
            return true;
        request.initialPath = *path;
    }
}

} // namespace jorvo
