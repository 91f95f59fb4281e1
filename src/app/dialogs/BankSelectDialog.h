#pragma once
// The bank selection dialog ("Select Preset Bank"): a list of banks with OK and Cancel; a double
// tap on a bank is OK. Used for presets and pattern banks alike. UI thread.
#include <cstddef>
#include <optional>

#include <QDialog>

#include "platform/ShellRequests.h"

class QListWidget;

namespace jorvo {

class BankSelectDialog : public QDialog {
    Q_OBJECT
public:
    BankSelectDialog(const SelectPresetBankRequest& request, QWidget* parent);

    // The bank chosen; nothing when none is.
    std::optional<std::size_t> Choice() const;

private:
    QListWidget* list_;
};

} // namespace jorvo
