#include "app/dialogs/OptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogSupport.h"
#include "document/ConfigurationMessages.h"

namespace jorvo {

namespace {

QLineEdit* NumberEdit(std::uint32_t value, const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
    edit->setMaximumWidth(80);
    return edit;
}

std::uint32_t NumberOf(const QLineEdit& edit)
{
    return edit.text().toUInt();
}

} // namespace

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent), pages_(new QTabWidget(this))
{
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->addTab(BuildGeneralPage(), QStringLiteral("General"));
    pages_->addTab(BuildFoldersPage(), QStringLiteral("Folders"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    auto* box = AddOkCancel(*this, false);
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        if (Apply())
            accept();
    });
    PrepareDialog(*this, "Options", kScreenWidth);
}

QWidget* OptionsDialog::BuildGeneralPage()
{
    const GeneralPageValues values = LoadGeneralPage();
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);

    auto* bpm = new QGroupBox(QStringLiteral("Beats Per Minute (Bpm)"), page);
    auto* bpmRow = new QHBoxLayout(bpm);
    minBpm_ = NumberEdit(values.minBpm, "minBpm", bpm);
    maxBpm_ = NumberEdit(values.maxBpm, "maxBpm", bpm);
    defaultBpm_ = NumberEdit(values.defaultBpm, "defaultBpm", bpm);
    for (auto [label, edit] : {std::pair{"Min", minBpm_}, {"Max", maxBpm_}, {"Default", defaultBpm_}}) {
        bpmRow->addWidget(new QLabel(QString::fromLatin1(label), bpm));
        bpmRow->addWidget(edit);
    }
    bpmRow->addStretch();
    layout->addWidget(bpm);

    auto* form = new QFormLayout;
    beatsPerBar_ = NumberEdit(values.beatsPerBar, "beatsPerBar", page);
    timing_ = new QComboBox(page);
    timing_->setObjectName(QStringLiteral("timing"));
    for (std::string_view entry : kTimingEntries)
        timing_->addItem(ToQString(std::string(entry)));
    timing_->setCurrentIndex(values.timingEntry);
    popUpDelay_ = NumberEdit(values.popUpMenuDelay, "popUpDelay", page);
    flashLED_ = new QCheckBox(page);
    flashLED_->setObjectName(QStringLiteral("flashLED"));
    flashLED_->setChecked(values.flashLED);
    form->addRow(QStringLiteral("Default Beats Per Bar:"), beatsPerBar_);
    form->addRow(QStringLiteral("Sequencer Timing:"), timing_);
    form->addRow(QStringLiteral("Pop-Up Menu Delay (Ms):"), popUpDelay_);
    form->addRow(QStringLiteral("Flash LED:"), flashLED_);
    layout->addLayout(form);
    layout->addStretch();
    return page;
}

QWidget* OptionsDialog::BuildFoldersPage()
{
    const FoldersPageValues values = LoadFoldersPage();
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    for (std::size_t field = 0; field < kFolderFieldCount; ++field) {
        layout->addWidget(new QLabel(ToQString(std::string(kFolderFieldLabels[field])), page));
        auto* row = new QHBoxLayout;
        QLineEdit* edit = new QLineEdit(ToQString(values.folders[field]), page);
        edit->setObjectName(QStringLiteral("folder%1").arg(field));
        auto* browse = new QToolButton(page);
        browse->setText(QStringLiteral("..."));
        browse->setObjectName(QStringLiteral("browse%1").arg(field));
        connect(browse, &QToolButton::clicked, this, [edit] {
            if (const auto folder = BrowseFolderField(ToStdString(edit->text())))
                edit->setText(ToQString(*folder));
        });
        row->addWidget(edit, 1);
        row->addWidget(browse);
        layout->addLayout(row);
        folders_[field] = edit;
    }
    layout->addStretch();
    return page;
}

GeneralPageValues OptionsDialog::GeneralValues() const
{
    GeneralPageValues values;
    values.minBpm = NumberOf(*minBpm_);
    values.maxBpm = NumberOf(*maxBpm_);
    values.defaultBpm = NumberOf(*defaultBpm_);
    values.beatsPerBar = NumberOf(*beatsPerBar_);
    values.timingEntry = timing_->currentIndex();
    values.popUpMenuDelay = NumberOf(*popUpDelay_);
    values.flashLED = flashLED_->isChecked();
    return values;
}

FoldersPageValues OptionsDialog::FolderValues() const
{
    FoldersPageValues values;
    for (std::size_t field = 0; field < kFolderFieldCount; ++field)
        values.folders[field] = ToStdString(folders_[field]->text());
    return values;
}

bool OptionsDialog::Apply()
{
    if (!ApplyGeneralPage(GeneralValues())) {
        pages_->setCurrentIndex(0);
        return false;
    }
    FoldersPageValues folders = FolderValues();
    const std::optional<FolderField> refused = ApplyFoldersPage(folders);
    for (std::size_t field = 0; field < kFolderFieldCount; ++field)
        folders_[field]->setText(ToQString(folders.folders[field]));
    if (refused) {
        pages_->setCurrentIndex(1);
        folders_[static_cast<std::size_t>(*refused)]->setFocus();
        return false;
    }
    return true;
}

void RunOptionsDialog(QWidget* parent)
{
    OptionsDialog dialog(parent);
    dialog.exec();
}

} // namespace jorvo
