#pragma once
// `MsgSeqTree`: a tree of the sequencer's material (the song, its sections and their patterns),
// each item with an icon for its kind. It serves in selection dialogs: a double tap makes the
// item the selection (a pattern selects its section) and closes the dialog around it with OK.
// UI thread only.
#include "ui/MsgLabel.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace jorvo {

class SeqEvent;

class MsgSeqTree : public MsgLabel {
    Q_OBJECT
public:
    explicit MsgSeqTree(QWidget* parent);

    std::string GetClassName() const override { return "MsgSeqTree"; }
    bool Create(int left, int top, int width, int height) override;
    void Draw(QPainter& painter) override;

    // Fills the tree again from the current sequencer.
    void Rebuild();
    // The item chosen by the last double tap, or null.
    SeqEvent* Selection() const { return selection_; }
    // Chooses `item` as a double tap does.
    void Choose(QTreeWidgetItem* item);
    QTreeWidget& Tree() { return *tree_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTreeWidget* tree_;
    SeqEvent* selection_ = nullptr;
};

} // namespace jorvo
