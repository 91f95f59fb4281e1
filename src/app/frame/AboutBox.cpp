#include "app/frame/AboutBox.h"

#include <sstream>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "app/frame/FrameTexts.h"

namespace jorvo {

namespace {

// The credits, drawn from the bottom of their area upwards and starting again when gone.
class CreditRoll : public QWidget {
public:
    explicit CreditRoll(QWidget* parent) : QWidget(parent)
    {
        setFixedHeight(180);
        setAutoFillBackground(false);
        connect(&timer_, &QTimer::timeout, this, [this] {
            offset_ = offset_ > -TotalHeight() ? offset_ - 1 : height();
            update();
        });
        timer_.start(AboutBox::kScrollMilliseconds);
    }

protected:
    void showEvent(QShowEvent*) override { offset_ = height(); }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(40, 42, 46));
        painter.setPen(QColor(240, 240, 240));
        int y = offset_;
        for (const AboutBox::Credit& credit : AboutBox::Credits()) {
            painter.setFont(FontOf(credit));
            const int lineHeight = LineHeight(credit);
            painter.drawText(QRect(0, y, width(), lineHeight), Qt::AlignCenter, QString::fromStdString(credit.text));
            y += lineHeight;
        }
    }

private:
    static QFont FontOf(const AboutBox::Credit& credit)
    {
        return credit.heading ? QFont("Tahoma", 12, QFont::Bold) : QFont("Tahoma", 9);
    }
    static int LineHeight(const AboutBox::Credit& credit) { return QFontMetrics(FontOf(credit)).height() + 4; }
    static int TotalHeight()
    {
        int total = 0;
        for (const AboutBox::Credit& credit : AboutBox::Credits())
            total += LineHeight(credit);
        return total;
    }

    QTimer timer_;
    int offset_ = 0;
};

} // namespace

std::string VersionText(const std::string& version)
{
    int parts[4] = {0, 0, 0, 0};
    std::istringstream stream(version);
    std::string part;
    for (int index = 0; index < 4 && std::getline(stream, part, '.'); ++index) {
        try {
            parts[index] = std::stoi(part);
        } catch (const std::exception&) {
            parts[index] = 0;
        }
    }
    return FrameTexts::FormatNumbers(FrameTexts::kVersion, parts[0], parts[1], parts[2], parts[3]);
}

const std::vector<AboutBox::Credit>& AboutBox::Credits()
{
    static const std::vector<Credit> credits{
        {"Jorvo", true},
        {"A pattern music studio"},
        {""},
        {"Sequencer and song editing", true},
        {"Patterns, sections and songs"},
        {"Controller automation"},
        {""},
        {"Sound", true},
        {"mSyn mono synthesiser"},
        {"Sampler with zones and presets"},
        {"Chorus, Delay, Distortion, Flanger"},
        {"Reverb and Reverb Lite"},
        {""},
        {"Thanks", true},
        {"to every musician who tried it"},
    };
    return credits;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(FrameTexts::kAboutTitle);
    auto* layout = new QVBoxLayout(this);
    auto* version = new QLabel(QString::fromStdString(VersionText(JORVO_VERSION)), this);
    version->setFont(QFont("Tahoma", 10, QFont::Bold));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    layout->addWidget(new CreditRoll(this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedWidth(300);
}

} // namespace jorvo
