#pragma once
// The File menu's document commands: New, Open, Save, Save As, Import XML, Export As XML and
// Export As MIDI, with their file dialogs (through the shell), the question whether to save the
// changes before the document is replaced, and the dialogs shown again after a failed import or
// export. UI thread only.
#include <functional>
#include <string>

#include "platform/ShellRequests.h"

namespace jorvo {

class CJorvoDoc;

class DocumentCommands {
public:
    // `replaced` runs after the document's content was replaced (New, Open, Import); `changed`
    // after an import or export succeeded (the views are updated).
    DocumentCommands(CJorvoDoc& document, std::function<void()> replaced, std::function<void()> changed);

    // Asks "Save changes to <title>?": Yes saves (true when saved), No goes on (true), Cancel
    // stops (false).
    bool SaveModified();

    // A new, empty document after the question.
    bool New();
    // The open dialog, the question, then the document read from the file chosen.
    bool Open();
    // Opens `path` as the command line asks: an ".xml" file is imported, anything else read as a
    // native document. No question is asked.
    bool OpenPath(const std::string& path);
    // Saves to the document's path; a document without one is saved through the save dialog,
    // which starts at the proposed path.
    bool Save();
    // The save dialog at the document's path (or the proposed one), then the save.
    bool SaveAs();
    // The open dialog for XML files, the question, then the import; a failed import shows the
    // dialog again until one succeeds or the user cancels.
    bool ImportXml();
    // The save dialog for XML files ("Export as XML"), again after every failure.
    bool ExportXml();
    // The save dialog for MIDI files ("Export as Midi"), again after every failure.
    bool ExportMidi();

private:
    // The path proposed for a file of `extension`: the document's path, or the proposed one,
    // with that extension.
    std::string ProposedPath(const char* extension) const;
    // Shows `request` until `attempt` succeeds with the path chosen (true) or the user cancels.
    bool RepeatUntilDone(FileDialogRequest request, const std::function<bool(const std::string&)>& attempt);

    CJorvoDoc& document_;
    std::function<void()> replaced_;
    std::function<void()> changed_;
};

} // namespace jorvo
