#pragma once
// Menus and their items, made the same way in every window: each keeps the
// object name scenarios and language files know it by, and the window holds
// every item, so that its shortcut works while the menus are closed.

#include <QAction>
#include <QKeySequence>
#include <QMenu>

class QMenuBar;

namespace quilmo {

// A menu titled `caption` at the end of a menu bar or of another menu.
QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption);
QMenu* AddMenu(QMenu* parent, const char* name, const char* caption);

// An item at the end of `menu` (none: the window alone holds it), owned by
// `window`; a shortcut is the window's, whichever of its controls has focus.
QAction* NewMenuItem(QWidget* window, QMenu* menu, const char* name, const char* caption,
                     const QKeySequence& shortcut = {});

// The same, its triggered signal connected to `handler` of `window`.
template <class Window, class Handler>
QAction* AddMenuItem(Window* window, QMenu* menu, const char* name, const char* caption,
                     Handler handler, const QKeySequence& shortcut = {})
{
    QAction* item = NewMenuItem(window, menu, name, caption, shortcut);
    QObject::connect(item, &QAction::triggered, window, handler);
    return item;
}

}  // namespace quilmo
