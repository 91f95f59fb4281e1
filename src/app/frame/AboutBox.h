#pragma once
// The about box: the program's version and a list of credits that scrolls upwards. UI thread only.
#include <string>
#include <vector>

#include <QDialog>
#include <QTimer>

namespace jorvo {

// "Jorvo Version: %d.%d.%d.%d" of `version` ("1.2.3" or "1.2.3.4"; missing parts are 0).
std::string VersionText(const std::string& version);

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // One line of the credits; headings are drawn larger and bold.
    struct Credit {
        std::string text;
        bool heading = false;
    };
    // How often the credits move up by one pixel.
    static constexpr int kScrollMilliseconds = 70;

    explicit AboutBox(QWidget* parent = nullptr);

    static const std::vector<Credit>& Credits();
};

} // namespace jorvo
