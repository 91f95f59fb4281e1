#pragma once
// The song settings a skin shows and changes: `TempoSelector` (a fader over the tempo),
// `TimeSignatureSelector` (beats per bar, stepped by WM_INCREMENT_SIGNATURE and
// WM_DECREMENT_SIGNATURE) and `SongLengthSelector` (the song's length in bars, stepped by
// WM_INCREMENT_SONG_LENGTH and WM_DECREMENT_SONG_LENGTH). Each hands its change to the current
// sequencer and follows the sequencer on WM_SYNC. UI thread only.
#include <cstdint>

#include <QString>

#include "ui/MsgFader.h"
#include "ui/SkinImage.h"
#include "ui/UIMsgElement.h"

namespace jorvo {

class TempoSelector : public MsgFader {
    Q_OBJECT
public:
    explicit TempoSelector(QWidget* parent);

    std::string GetClassName() const override { return "TempoSelector"; }
    // As MsgFader; without a range in the skin the sequencer's tempo limits are used. The value
    // starts at the sequencer's tempo.
    void SerializeXML(CXMLArchive& archive) override;
    void Draw(QPainter& painter) override;

protected:
    // Hands the tempo to the sequencer (posts nothing).
    void Deliver(std::int32_t value) override;
    int PlainCaratLength() const override { return 30; }
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    void ReadSequencer();
};

// A number over a background image: the shared face of the stepped selectors.
class SelectorLabel : public UIMsgElement {
    Q_OBJECT
public:
    // After the message attributes: "BackgroundImage".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    void Draw(QPainter& painter) override;

protected:
    explicit SelectorLabel(QWidget* parent);
    // Reads the value from the sequencer and repaints when it changed.
    virtual void ReadSequencer() = 0;
    // WM_SYNC reads the sequencer again.
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    SkinImage background_{"BackgroundImage"};
};

class TimeSignatureSelector : public SelectorLabel {
    Q_OBJECT
public:
    explicit TimeSignatureSelector(QWidget* parent);

    std::string GetClassName() const override { return "TimeSignatureSelector"; }
    // As SelectorLabel plus "MinValue" and "MaxValue" (the sequencer's beats-per-bar limits when
    // the skin gives no range).
    void SerializeXML(CXMLArchive& archive) override;

protected:
    void ReadSequencer() override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    void Step(int direction);
};

class SongLengthSelector : public SelectorLabel {
    Q_OBJECT
public:
    explicit SongLengthSelector(QWidget* parent);

    std::string GetClassName() const override { return "SongLengthSelector"; }
    void SerializeXML(CXMLArchive& archive) override;

    // The song's length in whole bars, a started bar counting as one (0 without a song).
    static std::int32_t SongBars();

protected:
    void ReadSequencer() override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    void Step(int direction);
};

} // namespace jorvo
