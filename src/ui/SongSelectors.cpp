#include "ui/SongSelectors.h"

#include <algorithm>
#include <limits>

#include <QPainter>

#include "document/XMLArchive.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "ui/ControlLook.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

constexpr int kNumberPixels = 14;

bool IsSync(WindowMessage message)
{
    static const WindowMessage sync = RegisterWindowMessage(UIWindowMessages::kSync);
    return message == sync;
}

} // namespace

// TempoSelector -----------------------------------------------------------------------------------

TempoSelector::TempoSelector(QWidget* parent) : MsgFader(parent)
{
    Skin().SetCaratMarked(false);
}

void TempoSelector::SerializeXML(CXMLArchive& archive)
{
    MsgFader::SerializeXML(archive);
    if (!archive.IsLoading())
        return;
    const Sequencer* sequencer = Sequencer::Current();
    if (MaxValue() <= MinValue() && sequencer)
        SetRange(sequencer->GetMinTempo(), sequencer->GetMaxTempo());
    ReadSequencer();
}

void TempoSelector::ReadSequencer()
{
    const std::int32_t tempo = SequencerSettings::GetTempo();
    if (tempo != Value())
        SetValue(tempo);
}

void TempoSelector::Deliver(std::int32_t value)
{
    if (Sequencer* sequencer = Sequencer::Current())
        sequencer->SetTempo(value);
    ReadSequencer();
}

bool TempoSelector::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (IsSync(message)) {
        ReadSequencer();
        return true;
    }
    return MsgFader::OnWindowMessage(message, wParam, lParam);
}

void TempoSelector::Draw(QPainter& painter)
{
    MsgFader::Draw(painter);
    painter.setFont(ControlLook::Font(kNumberPixels));
    const QString text = QString::number(Value());
    if (Skin().Background().File().empty() && Skin().Carat().File().empty()) {
        // the plain carat is wide enough to carry the number
        const QRect carat = CaratRect();
        ControlLook::DrawCentredText(painter, carat.adjusted(-4, 0, 4, 0), text, QColor(0x1A, 0x1C, 0x20));
    } else {
        ControlLook::DrawCentredText(painter, rect(), text, ControlLook::Text());
    }
}

// SelectorLabel -----------------------------------------------------------------------------------

SelectorLabel::SelectorLabel(QWidget* parent) : UIMsgElement(parent) {}

void SelectorLabel::SerializeXML(CXMLArchive& archive)
{
    UIMsgElement::SerializeXML(archive);
    // BackgroundImage="number_bg.png"
    background_.SerializeXML(archive);
}

bool SelectorLabel::Create(int left, int top, int width, int height)
{
    background_.SetRect(QRect(0, 0, width, height));
    return UIMsgElement::Create(left, top, width, height);
}

void SelectorLabel::Draw(QPainter& painter)
{
    if (!background_.File().empty())
        background_.Draw(painter);
    else
        ControlLook::DrawFace(painter, rect());
    painter.setFont(ControlLook::Font(kNumberPixels));
    ControlLook::DrawCentredText(painter, rect(), QString::number(Value()), ControlLook::Text());
}

bool SelectorLabel::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (IsSync(message)) {
        ReadSequencer();
        return true;
    }
    return UIMsgElement::OnWindowMessage(message, wParam, lParam);
}

// TimeSignatureSelector ---------------------------------------------------------------------------

TimeSignatureSelector::TimeSignatureSelector(QWidget* parent) : SelectorLabel(parent)
{
    SetRange(1, SequencerSettings::kMaxDivision);
    ReadSequencer();
}

void TimeSignatureSelector::SerializeXML(CXMLArchive& archive)
{
    SelectorLabel::SerializeXML(archive);
    if (!archive.IsLoading())
        return;
    const Sequencer* sequencer = Sequencer::Current();
    if (MaxValue() <= MinValue())
        SetRange(sequencer ? sequencer->GetMinBeatsPerBar() : 1,
                 sequencer ? sequencer->GetMaxBeatsPerBar() : SequencerSettings::kMaxDivision);
    ReadSequencer();
}

void TimeSignatureSelector::ReadSequencer()
{
    if (SetValue(SequencerSettings::GetBeatsPerBar()))
        update();
}

void TimeSignatureSelector::Step(int direction)
{
    ReadSequencer();
    Sequencer* sequencer = Sequencer::Current();
    if (!sequencer || !SetValue(Value() + direction))
        return;
    sequencer->SetBeatsPerBar(Value());
    ReadSequencer(); // the sequencer may have refused it
    update();
}

bool TimeSignatureSelector::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    static const WindowMessage increment = RegisterWindowMessage("WM_INCREMENT_SIGNATURE");
    static const WindowMessage decrement = RegisterWindowMessage("WM_DECREMENT_SIGNATURE");
    if (message == increment || message == decrement) {
        Step(message == increment ? 1 : -1);
        return true;
    }
    return SelectorLabel::OnWindowMessage(message, wParam, lParam);
}

// SongLengthSelector ------------------------------------------------------------------------------

SongLengthSelector::SongLengthSelector(QWidget* parent) : SelectorLabel(parent)
{
    SetRange(0, std::numeric_limits<std::int32_t>::max());
    ReadSequencer();
}

void SongLengthSelector::SerializeXML(CXMLArchive& archive)
{
    SelectorLabel::SerializeXML(archive);
    SetRange(0, std::numeric_limits<std::int32_t>::max()); // a length, whatever the skin says
    ReadSequencer();
}

std::int32_t SongLengthSelector::SongBars()
{
    const Sequencer* sequencer = Sequencer::Current();
    const SeqEventSong* song = sequencer ? sequencer->GetSong() : nullptr;
    if (!song)
        return 0;
    const std::uint64_t bar = SequencerSettings::GetPulsesPerBar();
    return static_cast<std::int32_t>((song->GetLength() + bar - 1) / bar);
}

void SongLengthSelector::ReadSequencer()
{
    if (SetValue(SongBars()))
        update();
}

void SongLengthSelector::Step(int direction)
{
    Sequencer* sequencer = Sequencer::Current();
    SeqEventSong* song = sequencer ? sequencer->GetSong() : nullptr;
    if (!song)
        return;
    const std::uint32_t bar = SequencerSettings::GetPulsesPerBar();
    const std::uint32_t length = song->GetLength();
    if (direction < 0 && length <= bar)
        return; // never shorter than one bar
    // Shortening stops at one bar even when the song ends inside its second bar.
    const std::uint32_t wanted = direction > 0 ? AddPulses(length, bar) : std::max(length - bar, bar);
    {
        Sequencer::EditLock lock(*sequencer);
        song->SetLength(wanted);
    }
    ReadSequencer();
}

bool SongLengthSelector::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    static const WindowMessage increment = RegisterWindowMessage("WM_INCREMENT_SONG_LENGTH");
    static const WindowMessage decrement = RegisterWindowMessage("WM_DECREMENT_SONG_LENGTH");
    if (message == increment || message == decrement) {
        Step(message == increment ? 1 : -1);
        return true;
    }
    return SelectorLabel::OnWindowMessage(message, wParam, lParam);
}

} // namespace jorvo
