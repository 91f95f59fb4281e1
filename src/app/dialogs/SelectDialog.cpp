#include "app/dialogs/SelectDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogSupport.h"

namespace jorvo {

SelectDialog::SelectDialog(const SelectRequest& request, QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(ToQString(request.name), this)), list_(new QListWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Name:"), this);
    label->setBuddy(name_);
    name_->setObjectName(QStringLiteral("nameEdit"));
    list_->setObjectName(QStringLiteral("list"));
    for (const auto& choice : request.choices)
        list_->addItem(ToQString(choice));
    layout->addWidget(label);
    layout->addWidget(name_);
    layout->addWidget(list_, 1);
    ok_ = OkButton(*AddOkCancel(*this));

    // A name given with the request is kept as if typed; otherwise the name follows the entry.
    nameTyped_ = !request.name.empty();
    connect(name_, &QLineEdit::textEdited, this, [this] { nameTyped_ = true; });
    connect(list_, &QListWidget::currentRowChanged, this, &SelectDialog::ChoiceChanged);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    if (request.selected < request.choices.size())
        list_->setCurrentRow(static_cast<int>(request.selected));
    ok_->setEnabled(list_->currentRow() >= 0);
    PrepareDialog(*this, request.title, 360);
    resize(width(), 420);
}

void SelectDialog::ChoiceChanged(int row)
{
    ok_->setEnabled(row >= 0);
    if (row >= 0 && (!nameTyped_ || name_->text().isEmpty())) {
        name_->setText(list_->item(row)->text());
        nameTyped_ = false;
    }
}

std::optional<SelectResult> SelectDialog::Result() const
{
    if (list_->currentRow() < 0)
        return std::nullopt;
    return SelectResult{static_cast<std::size_t>(list_->currentRow()), ToStdString(name_->text())};
}

} // namespace jorvo
