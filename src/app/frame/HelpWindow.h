#pragma once
// The help window: the program's help file (Docs/Jorvo.htm in the program folder) shown at one
// of its topics, in a window of its own beside the studio. UI thread only.
#include <string>

#include <QWidget>

class QTextBrowser;

namespace jorvo {

// The help topic for a screen titled `viewTitle`: "Song", "Sections", "Patterns", "Controllers"
// or "Mixer" when the title names that kind of screen (tested in that order), else
// "Main_Contents".
std::string HelpTopicFor(const std::string& viewTitle);

// The help file: the program folder + "/Docs/Jorvo.htm".
std::string HelpFilePath();

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows `file` at `topic` (an anchor of the file) and raises the window. A missing file shows
    // a page saying so instead; false then.
    bool ShowTopic(const std::string& file, const std::string& topic);

    // What the window shows (for tests): its page as plain text, and the topic it was opened at.
    std::string PageText() const;
    const std::string& Topic() const { return topic_; }

private:
    QTextBrowser* browser_;
    std::string topic_;
};

} // namespace jorvo
