#include "app/dialogs/PatternPickDialog.h"

#include <vector>

#include <QDialogButtonBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/dialogs/DialogSupport.h"
#include "platform/ShellServices.h"
#include "sequencer/PatternBankList.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SequencerMessages.h"

namespace jorvo {

namespace {

SeqEventPattern* PatternOf(const QListWidgetItem* item)
{
    return item ? static_cast<SeqEventPattern*>(item->data(Qt::UserRole).value<void*>()) : nullptr;
}

} // namespace

PatternPickDialog::PatternPickDialog(const PickPatternRequest& request, QWidget* parent)
    : QDialog(parent), banks_(*request.banks), tabs_(new QTabBar(this)), list_(new QListWidget(this)),
      bankMenu_(new QMenu(this)), patternMenu_(new QMenu(this))
{
    tabs_->setObjectName(QStringLiteral("tabs"));
    list_->setObjectName(QStringLiteral("list"));
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(list_, 1);

    BuildMenus();
    auto* box = new QDialogButtonBox(this);
    box->addButton(QStringLiteral("Bank >"), QDialogButtonBox::ActionRole)->setMenu(bankMenu_);
    box->addButton(QStringLiteral("Pattern >"), QDialogButtonBox::ActionRole)->setMenu(patternMenu_);
    box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, [this] { PickSelected(false); });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);

    connect(tabs_, &QTabBar::currentChanged, this, &PatternPickDialog::ShowBank);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { PickSelected(false); });
    Refresh(0);
    PrepareDialog(*this, request.title, kScreenWidth);
    resize(width(), 480);
}

void PatternPickDialog::BuildMenus()
{
    bankMenu_->addAction(QStringLiteral("Insert Bank..."), this, [this] {
        if (banks_.InsertBank())
            Refresh(banks_.GetBankCount() - 1);
    });
    bankMenu_->addAction(QStringLiteral("Rename Bank..."), this, [this] {
        if (banks_.RenameBank(Bank()))
            Refresh(Bank());
    });
    bankMenu_->addAction(QStringLiteral("Remove Bank"), this, [this] {
        if (banks_.RemoveBank(Bank()))
            Refresh(Bank() > 0 ? Bank() - 1 : 0);
    });
    patternMenu_->addAction(QStringLiteral("Select"), this, [this] { PickSelected(false); });
    patternMenu_->addAction(QStringLiteral("Select as Alias"), this, [this] { PickSelected(true); });
    patternMenu_->addSeparator();
    patternMenu_->addAction(QStringLiteral("Copy to Bank..."), this,
                            [this] { OnSelectedPattern(&PatternBankList::CopyToBank); });
    patternMenu_->addAction(QStringLiteral("Move to Bank..."), this,
                            [this] { OnSelectedPattern(&PatternBankList::MoveToBank); });
    patternMenu_->addAction(QStringLiteral("Rename Pattern..."), this,
                            [this] { OnSelectedPattern(&PatternBankList::RenamePatternAt); });
    patternMenu_->addAction(QStringLiteral("Remove Pattern"), this,
                            [this] { OnSelectedPattern(&PatternBankList::RemovePatternAt); });
}

std::size_t PatternPickDialog::Bank() const
{
    return tabs_->currentIndex() < 0 ? 0 : static_cast<std::size_t>(tabs_->currentIndex());
}

SeqEventPattern* PatternPickDialog::SelectedPattern() const
{
    return PatternOf(list_->currentItem());
}

void PatternPickDialog::OnSelectedPattern(bool (PatternBankList::*command)(SeqEventPattern*, std::size_t))
{
    if ((banks_.*command)(SelectedPattern(), Bank()))
        Refresh(Bank());
}

void PatternPickDialog::PickSelected(bool asAlias)
{
    SeqEventPattern* pattern = SelectedPattern();
    if (!pattern) {
        Shell().MessageBox(std::string(SequencerMessages::kNoPatternSelected));
        return;
    }
    pick_ = PatternPick{pattern, asAlias};
    accept();
}

void PatternPickDialog::Refresh(std::size_t bank)
{
    std::vector<std::string> labels;
    banks_.FillTabs(labels);
    refreshing_ = true;
    while (tabs_->count() > 0)
        tabs_->removeTab(0);
    for (const std::string& label : labels)
        tabs_->addTab(ToQString(label));
    refreshing_ = false;
    const int tab = bank < labels.size() ? static_cast<int>(bank) : 0;
    tabs_->setCurrentIndex(tab);
    ShowBank(tab);
}

void PatternPickDialog::ShowBank(int tab)
{
    if (refreshing_)
        return;
    list_->clear();
    if (tab < 0)
        return;
    std::vector<SeqEventPattern*> patterns;
    banks_.FillPatterns(static_cast<std::size_t>(tab), patterns);
    for (SeqEventPattern* pattern : patterns) {
        auto* item = new QListWidgetItem(ToQString(pattern->GetName()), list_);
        item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(pattern)));
    }
}

} // namespace jorvo
