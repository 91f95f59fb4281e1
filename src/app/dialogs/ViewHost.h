#pragma once
// The view operations of the shell services, which only the main frame can carry out. The Qt
// shell forwards them to the host it was given; without one there are no views to work on.
#include <string>

#include "platform/ShellRequests.h"
#include "platform/WindowMessages.h"

namespace jorvo {

class ViewHost {
public:
    virtual ~ViewHost() = default;

    // Posts `message` to every view.
    virtual void BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam) = 0;
    // Sends `message` to the view showing `target` and every element inside it; false when none.
    virtual bool SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam) = 0;
    // Creates a hidden view and enters it in the view list; kNoView for an unknown keyword.
    virtual ViewId CreateView(const ViewRequest& request) = 0;
    // Retitles `view`; false when there is no such view.
    virtual bool SetViewTitle(ViewId view, const std::string& title) = 0;
    // Redraws `view` from its target.
    virtual void RefreshView(ViewId view) = 0;
    // Removes `view` from the view list and destroys it.
    virtual void RemoveView(ViewId view) = 0;
};

} // namespace jorvo
