#pragma once
// The pattern selection dialog: one tab per pattern bank, the bank's patterns, the "Bank >" and
// "Pattern >" menus with the bank operations, OK and Cancel. OK or a double tap picks the
// chosen pattern; "Pattern >" can also pick it as an alias. UI thread.
#include <cstddef>
#include <optional>

#include <QDialog>

#include "platform/ShellRequests.h"

class QListWidget;
class QMenu;
class QTabBar;

namespace jorvo {

class PatternBankList;
class SeqEventPattern;

class PatternPickDialog : public QDialog {
    Q_OBJECT
public:
    PatternPickDialog(const PickPatternRequest& request, QWidget* parent);

    // The pattern picked; nothing before a pick.
    std::optional<PatternPick> Pick() const { return pick_; }

    // The menus behind "Bank >" and "Pattern >", for driving them without a pointer.
    QMenu* BankMenu() const { return bankMenu_; }
    QMenu* PatternMenu() const { return patternMenu_; }

private:
    std::size_t Bank() const;
    SeqEventPattern* SelectedPattern() const;
    void Refresh(std::size_t bank);
    void ShowBank(int tab);
    void BuildMenus();
    // Runs a pattern command on the selected pattern (the bank list says when there is none).
    void OnSelectedPattern(bool (PatternBankList::*command)(SeqEventPattern*, std::size_t));
    void PickSelected(bool asAlias);

    PatternBankList& banks_;
    QTabBar* tabs_;
    QListWidget* list_;
    QMenu* bankMenu_;
    QMenu* patternMenu_;
    std::optional<PatternPick> pick_;
    bool refreshing_ = false;
};

} // namespace jorvo
