#include "app/dialogs/PresetDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/dialogs/DialogSupport.h"
#include "engine/PresetModel.h"

namespace jorvo {

PresetDialog::PresetDialog(const PresetDialogRequest& request, QWidget* parent)
    : QDialog(parent), model_(*request.model), mode_(request.mode), name_(new QLineEdit(this)),
      tabs_(new QTabBar(this)), list_(new QListWidget(this)), bankMenu_(new QMenu(this)), presetMenu_(new QMenu(this))
{
    name_->setObjectName(QStringLiteral("nameEdit"));
    tabs_->setObjectName(QStringLiteral("tabs"));
    list_->setObjectName(QStringLiteral("list"));
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);

    auto* layout = new QVBoxLayout(this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Name:"), this));
    nameRow->addWidget(name_, 1);
    layout->addLayout(nameRow);
    layout->addWidget(tabs_);
    layout->addWidget(list_, 1);

    BuildMenus();
    auto* box = new QDialogButtonBox(this);
    auto* bankButton = box->addButton(QStringLiteral("Bank >"), QDialogButtonBox::ActionRole);
    auto* presetButton = box->addButton(QStringLiteral("Preset >"), QDialogButtonBox::ActionRole);
    bankButton->setMenu(bankMenu_);
    presetButton->setMenu(presetMenu_);
    box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &PresetDialog::TryAccept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);

    connect(tabs_, &QTabBar::currentChanged, this, &PresetDialog::ShowBank);
    connect(list_, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (!refreshing_ && !text.isEmpty())
            name_->setText(text);
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (mode_ == PresetDialogMode::Load)
            TryAccept();
    });
    Refresh(0);
    PrepareDialog(*this, request.title, kScreenWidth);
    resize(width(), 480);
}

void PresetDialog::BuildMenus()
{
    bankMenu_->addAction(QStringLiteral("Insert Bank..."), this, [this] {
        if (model_.InsertBank())
            Refresh(model_.Banks().size() - 1);
    });
    bankMenu_->addAction(QStringLiteral("Rename Bank..."), this, [this] {
        if (model_.RenameBank(Bank()))
            Refresh(Bank());
    });
    bankMenu_->addAction(QStringLiteral("Remove Bank"), this, [this] {
        if (model_.RemoveBank(Bank()))
            Refresh(Bank() > 0 ? Bank() - 1 : 0);
    });
    presetMenu_->addAction(QStringLiteral("Rename Preset..."), this,
                           [this] { OnSelectedPreset(&PresetModel::RenamePreset); });
    presetMenu_->addAction(QStringLiteral("Remove Preset"), this,
                           [this] { OnSelectedPreset(&PresetModel::RemovePreset); });
    presetMenu_->addAction(QStringLiteral("Move to Bank..."), this,
                           [this] { OnSelectedPreset(&PresetModel::MovePreset); });
}

std::size_t PresetDialog::Bank() const
{
    return tabs_->currentIndex() < 0 ? 0 : static_cast<std::size_t>(tabs_->currentIndex());
}

std::optional<std::string> PresetDialog::SelectedPreset() const
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item)
        return std::nullopt;
    return ToStdString(item->text());
}

void PresetDialog::OnSelectedPreset(bool (PresetModel::*command)(std::size_t, const std::string&))
{
    const std::optional<std::string> preset = SelectedPreset();
    if (preset && (model_.*command)(Bank(), *preset))
        Refresh(Bank());
}

void PresetDialog::Refresh(std::size_t bank, const std::string& preset)
{
    refreshing_ = true;
    while (tabs_->count() > 0)
        tabs_->removeTab(0);
    for (const PresetBank& entry : model_.Banks())
        tabs_->addTab(ToQString(entry.name));
    refreshing_ = false;
    const int tab = bank < model_.Banks().size() ? static_cast<int>(bank) : 0;
    tabs_->setCurrentIndex(tab);
    ShowBank(tab);
    const auto found = list_->findItems(ToQString(preset), Qt::MatchExactly);
    if (!preset.empty() && !found.isEmpty())
        list_->setCurrentItem(found.front());
}

void PresetDialog::ShowBank(int tab)
{
    if (refreshing_)
        return;
    refreshing_ = true;
    list_->clear();
    if (tab >= 0 && static_cast<std::size_t>(tab) < model_.Banks().size())
        for (const std::string& preset : model_.Banks()[static_cast<std::size_t>(tab)].presets)
            list_->addItem(ToQString(preset));
    list_->setCurrentRow(-1);
    refreshing_ = false;
}

void PresetDialog::TryAccept()
{
    const std::string name = ToStdString(name_->text());
    if (mode_ == PresetDialogMode::Save) {
        if (model_.SavePreset(Bank(), name))
            accept();
        return;
    }
    const std::optional<std::string> preset = SelectedPreset();
    if (preset && model_.LoadPreset(Bank(), *preset, name))
        accept();
}

} // namespace jorvo
