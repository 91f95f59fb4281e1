#include "ui/PopupMenu.h"

#include <QMenu>

namespace jorvo {
namespace {

MenuChooser& Chooser()
{
    static MenuChooser chooser;
    return chooser;
}

} // namespace

QAction* RunPopupMenu(QMenu& menu, const QPoint& globalPoint)
{
    if (Chooser())
        return Chooser()(menu);
    return menu.exec(globalPoint);
}

QAction* FindMenuAction(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (QMenu* sub = action->menu()) {
            if (QAction* found = FindMenuAction(*sub, text))
                return found;
        } else if (action->isEnabled() && action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

ScopedMenuChooser::ScopedMenuChooser(MenuChooser chooser) : previous_(std::move(Chooser()))
{
    Chooser() = std::move(chooser);
}

ScopedMenuChooser::~ScopedMenuChooser()
{
    Chooser() = std::move(previous_);
}

} // namespace jorvo
