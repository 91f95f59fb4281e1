#pragma once
// Shared pieces of the control tests: a view that records the registered messages it receives, a
// target with one parameter of any range, and a stand-in for the editors that factories feed.
#include <cstdint>
#include <string>
#include <vector>

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>

#include "engine/SeqEventTarget.h"
#include "ui/SkinView.h"
#include "ui/UIElement.h"
#include "ui/UIParamElement.h"

namespace jorvo::test {

struct ReceivedMessage {
    WindowMessage message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// A view that keeps every registered message posted to it.
class RecordingView : public SkinView {
public:
    std::vector<ReceivedMessage> received;

    // The messages named `name` received so far (after delivering the posted ones).
    std::vector<ReceivedMessage> Named(const char* name)
    {
        QCoreApplication::sendPostedEvents();
        std::vector<ReceivedMessage> found;
        for (const ReceivedMessage& entry : received)
            if (entry.message == RegisterWindowMessage(name))
                found.push_back(entry);
        return found;
    }

protected:
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override
    {
        received.push_back({message, wParam, lParam});
        return true;
    }
};

// A target with one parameter "Amount" (controller 74) of `minimum` … `maximum`.
class RangeTarget : public SeqEventTarget {
public:
    static constexpr std::uint16_t kCode = 74;

    RangeTarget(std::int32_t minimum, std::int32_t maximum, std::int32_t value)
        : amount("Amount", "Amount", kCode, minimum, maximum, value)
    {
        AddParameter(&amount);
    }
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t, std::int32_t, std::int32_t) override
    {
        ++events;
        if (code == kCode)
            amount.SetLive(a);
    }
    SeqParameter amount;
    int events = 0;
};

// Right-clicks `element` at `point`; true when it showed a context menu.
inline bool OpenContextMenu(QWidget& element, QPoint point = {20, 20})
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, element.mapToGlobal(point));
    QCoreApplication::sendEvent(&element, &event);
    return event.isAccepted();
}

// Binds `element` to the target's parameter.
inline void Bind(UIParamElement& element, RangeTarget& target)
{
    element.SetEventCode(RangeTarget::kCode);
    element.SetTarget(&target);
}

// Plays the part of an editor (by its class keyword) for the factories: counts the cuts meant for
// it and, once a drag is announced, takes the pen and remembers where it is released.
class EditorStandIn : public UIElement {
public:
    EditorStandIn(QWidget* parent, std::string keyword) : UIElement(parent), keyword_(std::move(keyword)) {}
    std::string GetClassName() const override { return keyword_; }

    int cuts = 0;
    int dragsAnnounced = 0;
    LParam announcedAt = 0;
    bool released = false;
    QPoint releasedAt;

protected:
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override
    {
        if (message == RegisterWindowMessage("WM_CUT") && wParam == reinterpret_cast<WParam>(this))
            ++cuts;
        if (message == RegisterWindowMessage("WM_EVENT_BEGIN_DRAG")) {
            ++dragsAnnounced;
            announcedAt = lParam;
            grabMouse(); // the editor takes the drag over from the factory
        }
        return true;
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (dragsAnnounced == 0)
            return;
        releaseMouse();
        released = true;
        releasedAt = event->position().toPoint();
    }

private:
    std::string keyword_;
};

} // namespace jorvo::test
