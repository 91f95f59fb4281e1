#include "app/frame/StatusStrip.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>

#include "app/frame/FrameTexts.h"
#include "engine/ProcessorMeter.h"
#include "sequencer/SequencerSettings.h"
#include "ui/UIWindowMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {

namespace {

QLabel* MakeLabel(const char* text, Qt::Alignment alignment, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setFont(QFont("Tahoma", 9));
    return label;
}

// Sets `text` only when it differs, so an unchanged status never repaints.
bool SetIfChanged(QLabel& label, const std::string& text)
{
    const QString value = QString::fromStdString(text);
    if (label.text() == value)
        return false;
    label.setText(value);
    return true;
}

} // namespace

StatusStrip::StatusStrip(QWidget* parent)
    : QWidget(parent), memory_(MakeLabel("", Qt::AlignLeft, this)),
      position_(MakeLabel(FrameTexts::kNoSongPosition, Qt::AlignHCenter, this)),
      underruns_(MakeLabel("", Qt::AlignRight, this)), processor_(MakeLabel("", Qt::AlignRight, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 1, 6, 1);
    layout->addWidget(memory_, 1);
    layout->addWidget(position_, 1);
    layout->addWidget(underruns_);
    layout->addWidget(processor_, 1);
    underruns_->hide();
}

void StatusStrip::ShowMemory(std::uint32_t loadPercent)
{
    SetIfChanged(*memory_, FrameTexts::FormatNumbers(FrameTexts::kMemory, loadPercent));
}

void StatusStrip::ShowProcessorLoad(ProcessorMeter& meter)
{
    if (SetIfChanged(*processor_, meter.CpuText()))
        meter.ResetStatistics();
}

void StatusStrip::ShowSongTime(std::uint32_t beat, std::uint32_t pulse)
{
    if (static_cast<std::int64_t>(beat) == shownBeat_)
        return;
    shownBeat_ = beat;
    const auto pulsesPerBar = std::max<std::uint32_t>(1, SequencerSettings::GetPulsesPerBar());
    const auto pulsesPerBeat = static_cast<std::uint32_t>(std::max(1, SequencerSettings::GetPulsesPerQuarterNote()));
    const std::uint32_t bar = pulse / pulsesPerBar;
    const std::uint32_t beatInBar = (pulse % pulsesPerBar) / pulsesPerBeat;
    SetIfChanged(*position_, FrameTexts::FormatNumbers(FrameTexts::kSongPosition, bar + 1, beatInBar + 1));
}

void StatusStrip::ShowUnderruns(std::uint32_t count)
{
    if (count == 0) {
        underruns_->clear();
        underruns_->hide();
        return;
    }
    SetIfChanged(*underruns_, FrameTexts::FormatNumbers(FrameTexts::kUnderruns, count));
    underruns_->show();
}

std::string StatusStrip::UnderrunText() const
{
    return underruns_->text().toStdString();
}

std::string StatusStrip::MemoryText() const
{
    return memory_->text().toStdString();
}

std::string StatusStrip::PositionText() const
{
    return position_->text().toStdString();
}

std::string StatusStrip::ProcessorText() const
{
    return processor_->text().toStdString();
}

bool StatusStrip::event(QEvent* event)
{
    if (event->type() == WindowMessageEvent::EventType()) {
        const auto* message = static_cast<const WindowMessageEvent*>(event);
        if (message->Message() != RegisterWindowMessage(UIWindowMessages::kUpdateSeqTime))
            return false;
        ShowSongTime(static_cast<std::uint32_t>(message->WParamValue() & 0xFFFF),
                     static_cast<std::uint32_t>(message->LParamValue()));
        return true;
    }
    return QWidget::event(event);
}

} // namespace jorvo
