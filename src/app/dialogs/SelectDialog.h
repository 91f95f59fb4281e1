#pragma once
// The selection dialog: a "Name:" edit above a list. Choosing an entry puts its text into the
// name until the user types a name of their own; a double tap on an entry is OK. OK needs a
// chosen entry. UI thread.
#include <optional>

#include <QDialog>

#include "platform/ShellRequests.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace jorvo {

class SelectDialog : public QDialog {
    Q_OBJECT
public:
    SelectDialog(const SelectRequest& request, QWidget* parent);

    // The entry and name the dialog shows now; nothing without a chosen entry.
    std::optional<SelectResult> Result() const;

private:
    void ChoiceChanged(int row);

    QLineEdit* name_;
    QListWidget* list_;
    QPushButton* ok_;
    bool nameTyped_ = false;
};

} // namespace jorvo
