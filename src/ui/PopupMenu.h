#pragma once
// Runs the context menus of skin elements. Tests replace the user with a chooser that picks an
// entry by its text, since a real popup would wait for a person. UI thread only.
#include <functional>

#include <QPoint>

class QAction;
class QMenu;

namespace jorvo {

// Picks one action of an open menu, or null for a menu dismissed without a choice.
using MenuChooser = std::function<QAction*(QMenu& menu)>;

// Shows `menu` at `globalPoint` and returns the action chosen, or null. With a chooser installed
// the chooser answers instead of a person.
QAction* RunPopupMenu(QMenu& menu, const QPoint& globalPoint);

// The enabled action of `menu` (or of its submenus) whose text is `text`, or null.
QAction* FindMenuAction(QMenu& menu, const QString& text);

// Installs a chooser for its lifetime, then restores the previous one.
class ScopedMenuChooser {
public:
    explicit ScopedMenuChooser(MenuChooser chooser);
    ~ScopedMenuChooser();
    ScopedMenuChooser(const ScopedMenuChooser&) = delete;
    ScopedMenuChooser& operator=(const ScopedMenuChooser&) = delete;

private:
    MenuChooser previous_;
};

} // namespace jorvo
