#pragma once
// The preset dialog: "Name:", one tab per bank, the chosen bank's presets, the "Bank >" and
// "Preset >" menus, OK and Cancel. The name follows the preset chosen. In load mode OK (or a
// double tap on a preset) loads the chosen preset under the name; in save mode OK saves the
// target as a new preset of that name in the bank shown. Everything goes through the model,
// which says what went wrong; a refused OK keeps the dialog open. UI thread.
#include <cstddef>
#include <optional>
#include <string>

#include <QDialog>

#include "platform/ShellRequests.h"

class QLineEdit;
class QListWidget;
class QMenu;
class QTabBar;

namespace jorvo {

class PresetModel;

class PresetDialog : public QDialog {
    Q_OBJECT
public:
    PresetDialog(const PresetDialogRequest& request, QWidget* parent);

    // The menus behind "Bank >" and "Preset >", for driving them without a pointer.
    QMenu* BankMenu() const { return bankMenu_; }
    QMenu* PresetMenu() const { return presetMenu_; }

private:
    std::size_t Bank() const;
    std::optional<std::string> SelectedPreset() const;
    // Fills the tabs and the list again from the model, showing bank `bank` and preset `preset`.
    void Refresh(std::size_t bank, const std::string& preset = {});
    void ShowBank(int tab);
    void BuildMenus();
    // Runs a preset command on the selected preset; nothing without one.
    void OnSelectedPreset(bool (PresetModel::*command)(std::size_t, const std::string&));
    void TryAccept();

    PresetModel& model_;
    PresetDialogMode mode_;
    QLineEdit* name_;
    QTabBar* tabs_;
    QListWidget* list_;
    QMenu* bankMenu_;
    QMenu* presetMenu_;
    bool refreshing_ = false;
};

} // namespace jorvo
