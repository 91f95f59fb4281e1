#include "app/dialogs/NameDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialogs/DialogSupport.h"

namespace jorvo {

NameDialog::NameDialog(const std::string& title, const std::string& initialText, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(ToQString(initialText), this))
{
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("New Name:"), this);
    label->setBuddy(edit_);
    edit_->setObjectName(QStringLiteral("nameEdit"));
    edit_->selectAll();
    layout->addWidget(label);
    layout->addWidget(edit_);
    AddOkCancel(*this);
    PrepareDialog(*this, title, 300);
}

std::string NameDialog::Name() const
{
    return ToStdString(edit_->text());
}

} // namespace jorvo
