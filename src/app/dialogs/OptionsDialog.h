#pragma once
// The "Options" property sheet: the "General" page (tempo limits and default, beats per bar,
// sequencer timing, pop-up menu delay, LED flashing) and the "Folders" page (five folders, each
// with a "..." browse button). OK applies both pages through the configuration-page logic and
// stays open on the page and field that were refused. UI thread.
#include <array>

#include <QDialog>

#include "document/ConfigurationPages.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace jorvo {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget* parent);

    // The sheet's tabs, "General" first.
    QTabWidget* Pages() const { return pages_; }

    // Applies both pages; false when one refused (the dialog then shows it).
    bool Apply();

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildFoldersPage();
    GeneralPageValues GeneralValues() const;
    FoldersPageValues FolderValues() const;

    QTabWidget* pages_;
    QLineEdit* minBpm_;
    QLineEdit* maxBpm_;
    QLineEdit* defaultBpm_;
    QLineEdit* beatsPerBar_;
    QComboBox* timing_;
    QLineEdit* popUpDelay_;
    QCheckBox* flashLED_;
    std::array<QLineEdit*, kFolderFieldCount> folders_{};
};

// Runs the "Options" dialog over `parent`.
void RunOptionsDialog(QWidget* parent);

} // namespace jorvo
