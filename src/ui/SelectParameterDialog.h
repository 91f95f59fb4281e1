#pragma once
// The "Select Parameter" dialog: a tree of a target's parameters by name (zones and other groups
// as branches). Choosing an item that stands for a parameter closes the dialog at once with that
// parameter; Cancel closes it with none. UI thread.
#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace jorvo {

class SeqEventTarget;
class SeqParameter;

class SelectParameterDialog : public QDialog {
    Q_OBJECT
public:
    SelectParameterDialog(SeqEventTarget& target, QWidget* parent);

    // The parameter chosen; null before a choice.
    SeqParameter* Chosen() const { return chosen_; }
    // The tree, for looking at it.
    QTreeWidget* Tree() const { return tree_; }

    // Runs the dialog for `target`; the parameter chosen, or null on Cancel.
    static SeqParameter* Run(SeqEventTarget& target, QWidget* parent);

private:
    void ItemChosen(QTreeWidgetItem* item);

    QTreeWidget* tree_;
    SeqParameter* chosen_ = nullptr;
};

} // namespace jorvo
