#pragma once
// Studios for the editor tests: the demo song loaded from the repository, or a small studio with
// one instrument, one effect and a section of four bars; and helpers to find its parts.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>
#include <QElapsedTimer>

#include "document/XMLArchive.h"
#include "engine/SoundStudio.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "engine/SeqEventTarget.h"
#include "ui/UIElement.h"
#include "ui/SkinView.h"
#include "ui/UIWindowMessages.h"
#include "ui/WindowMessageEvent.h"

#include "support/DemoSong.h"

namespace jorvo::test {

// The repository the tests were built from.
inline std::filesystem::path RepositoryRoot()
{
    return JORVO_SOURCE_DIR;
}

// Lets the event loop run until `done` holds (at most `limitMs`): posted messages and timers arrive.
inline void WaitUntil(const std::function<bool()>& done, int limitMs = 1000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The song placement of section `name`, or null.
inline SectionPlacement* FindSectionPlacement(Sequencer& sequencer, const std::string& name)
{
    for (const auto& placement : sequencer.GetSong()->Placements())
        if (placement->section->GetName() == name)
            return placement.get();
    return nullptr;
}

// The placement of pattern `name` in `section`, or null.
inline PatternPlacement* FindPatternPlacement(SeqEventSection& section, const std::string& name)
{
    for (const auto& placement : section.Placements())
        if (placement->pattern->GetName() == name)
            return placement.get();
    return nullptr;
}

// Pulses in `bars` bars at the current timing values.
inline std::uint32_t Bars(std::uint32_t bars)
{
    return bars * SequencerSettings::GetPulsesPerBar();
}

// Where test screens go.
inline std::string ScreenPath(const std::string& name)
{
    return std::string(JORVO_TEST_OUTPUT_DIR) + "/" + name;
}

// A target that records every event handed to it.
class RecordingTarget : public SeqEventTarget {
public:
    struct Event {
        std::int32_t code, a, b;
    };
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t, std::int32_t) override
    {
        events.push_back({code, a, b});
    }
    std::string GetTypeName() const override { return "Instrument"; }
    std::vector<Event> events;
};

// Plays a factory's part of a drop: a factory answers WM_EVENT_DROP with WM_CUT to its view,
// naming the editor the event came from.
class DropCatcher : public UIElement {
public:
    using UIElement::UIElement;
    int drops = 0;

protected:
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam) override
    {
        if (message != RegisterWindowMessage(UIWindowMessages::kEventDrop))
            return false;
        ++drops;
        OwningView()->Broadcast(RegisterWindowMessage("WM_CUT"), wParam, 0);
        return true;
    }
};

inline LParam PackScreenPoint(const QWidget& widget, QPoint point)
{
    const QPoint global = widget.mapToGlobal(point);
    return static_cast<LParam>(global.x()) * 65536 + global.y();
}

inline void Deliver(QWidget& receiver, const char* message, WParam wParam = 0, LParam lParam = 0)
{
    SendWindowMessage(&receiver, RegisterWindowMessage(message), wParam, lParam);
}

// The entries of the context menu that a right click at `point` opens on `widget`, in order:
// each entry's text, "*" appended when it is checked; a submenu's entries follow its title as
// "title/entry". The menu is closed without a choice.
inline std::vector<std::string> ContextMenuEntries(QWidget& widget, QPoint point)
{
    std::vector<std::string> entries;
    std::function<void(const QMenu&, const std::string&)> collect = [&](const QMenu& menu, const std::string& prefix) {
        for (const QAction* action : menu.actions()) {
            if (action->isSeparator())
                continue;
            entries.push_back(prefix + action->text().toStdString() + (action->isChecked() ? "*" : ""));
            if (const QMenu* sub = action->menu())
                collect(*sub, prefix + action->text().toStdString() + "/");
        }
    };
    // A timer that dies with this call: when no menu opens, it must not fire later.
    QTimer closer;
    closer.setSingleShot(true);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            collect(*menu, "");
            menu->close();
        }
    });
    closer.start(50);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, widget.mapToGlobal(point));
    QCoreApplication::sendEvent(&widget, &event);
    return entries;
}

} // namespace jorvo::test
