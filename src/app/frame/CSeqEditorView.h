#pragma once
// An editor view (song, section, pattern, parameter editor), built from its description in the
// sequencer skin. UI thread only.
#include "app/frame/CSeqView.h"

namespace jorvo {

class CSeqEditorView : public CSeqView {
    Q_OBJECT
public:
    explicit CSeqEditorView(QWidget* parent = nullptr);

    std::string GetClassKeyword() const override { return "SeqEditorView"; }

    // Reads the view from the `skinSection` child ("SongEditor", …) of the sequencer skin. A skin
    // without a "Name" leaves the section's name in words ("Song Editor") as the title, so the
    // Views menu and help still know the editor. False when the skin or section is missing.
    bool Build(const std::string& skinSection);
};

// "SongEditor" → "Song Editor": a CamelCase name in words.
std::string NameInWords(const std::string& camelCase);

} // namespace jorvo
