#pragma once
// The rename dialog: one edit under "New Name:", pre-filled and selected, with OK and Cancel.
// Used for renaming and for asking for a new name ("Insert Bank"). UI thread.
#include <string>

#include <QDialog>

class QLineEdit;

namespace jorvo {

class NameDialog : public QDialog {
    Q_OBJECT
public:
    NameDialog(const std::string& title, const std::string& initialText, QWidget* parent);

    // The text in the edit.
    std::string Name() const;

private:
    QLineEdit* edit_;
};

} // namespace jorvo
