#include "app/frame/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/frame/FrameTexts.h"
#include "platform/Paths.h"
#include "platform/TextFormat.h"

namespace jorvo {

std::string HelpTopicFor(const std::string& viewTitle)
{
    static const std::pair<const char*, const char*> kTopics[] = {
        {"Song", "Song"},
        {"Section", "Sections"},
        {"Pattern", "Patterns"},
        {"Parameter", "Controllers"},
        {"Mixer", "Mixer"},
    };
    for (const auto& [word, topic] : kTopics)
        if (viewTitle.find(word) != std::string::npos)
            return topic;
    return "Main_Contents";
}

std::string HelpFilePath()
{
    return JoinPath(JoinPath(ProgramFolder(), "Docs"), FrameTexts::kHelpFile);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setWindowTitle(FrameTexts::kHelpCaption);
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(520, 640);
}

bool HelpWindow::ShowTopic(const std::string& file, const std::string& topic)
{
    topic_ = topic;
    const bool found = FileExists(file);
    if (found) {
        QUrl url = QUrl::fromLocalFile(QString::fromStdString(file));
        url.setFragment(QString::fromStdString(topic));
        browser_->setSource(url);
        browser_->scrollToAnchor(QString::fromStdString(topic));
    } else {
        browser_->setHtml(QStringLiteral("<h2>%1</h2><p>%2</p>")
                              .arg(FrameTexts::kHelpCaption,
                                   QString::fromStdString(FormatText(FrameTexts::kHelpMissing, {file})).toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
    return found;
}

std::string HelpWindow::PageText() const
{
    return browser_->toPlainText().toStdString();
}

} // namespace jorvo
