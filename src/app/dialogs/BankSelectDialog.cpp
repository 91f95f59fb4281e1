#include "app/dialogs/BankSelectDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogSupport.h"

namespace jorvo {

BankSelectDialog::BankSelectDialog(const SelectPresetBankRequest& request, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    list_->setObjectName(QStringLiteral("list"));
    for (const auto& bank : request.banks)
        list_->addItem(ToQString(bank));
    layout->addWidget(list_, 1);
    QPushButton* ok = OkButton(*AddOkCancel(*this));
    connect(list_, &QListWidget::currentRowChanged, ok, [ok](int row) { ok->setEnabled(row >= 0); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    if (request.selected < request.banks.size())
        list_->setCurrentRow(static_cast<int>(request.selected));
    ok->setEnabled(list_->currentRow() >= 0);
    PrepareDialog(*this, request.title, 320);
    resize(width(), 360);
}

std::optional<std::size_t> BankSelectDialog::Choice() const
{
    if (list_->currentRow() < 0)
        return std::nullopt;
    return static_cast<std::size_t>(list_->currentRow());
}

} // namespace jorvo
