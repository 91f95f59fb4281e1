#pragma once
// `AudioFileNameLabel`: a message label showing the sample in one slot of its target. A double
// tap opens the sample browser on that sample; the file chosen there (WM_TREE_DLG_SEL_PATH,
// wParam a pointer to the path as NUL-terminated UTF-8 text) is loaded and put into the slot.
// With `VariableIndex` the target picks the slot with WM_SET_ACTIVE_AUDIOFILE_INDEX.
// UI thread only.
#include <string>

#include "ui/MsgLabel.h"

namespace jorvo {

class SeqEventTarget;

class AudioFileNameLabel : public MsgLabel {
    Q_OBJECT
public:
    explicit AudioFileNameLabel(QWidget* parent);

    std::string GetClassName() const override { return "AudioFileNameLabel"; }
    // After the label's attributes: "Index" and "VariableIndex" (true as well when there is no
    // "Index").
    void SerializeXML(CXMLArchive& archive) override;
    void SetTarget(SeqEventTarget* target) override;
    void Draw(QPainter& painter) override;

    SeqEventTarget* Target() const { return target_; }
    int SlotIndex() const { return slot_; }
    bool HasVariableIndex() const { return variableIndex_; }
    void SetSlot(int slot, bool variable);
    // The file name of the sample in the slot, empty when the slot holds none.
    std::string SampleName() const;
    // Loads `path` into the sample store and puts it into the slot; false when it cannot be used.
    bool TakeSample(const std::string& path);

protected:
    void PenDoubleTap(const QPoint& point) override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    SeqEventTarget* target_ = nullptr;
    int slot_ = 0;
    bool variableIndex_ = true;
    bool hasBackground_ = false;
};

} // namespace jorvo
