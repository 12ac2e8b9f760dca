#include "app/QtMenus.h"

#include <QMenuBar>

namespace quilmo {

namespace {

QMenu* NewMenu(QWidget* parent, const char* name, const char* caption)
{
    auto* menu = new QMenu(QString::fromUtf8(caption), parent);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption)
{
    QMenu* menu = NewMenu(bar, name, caption);
    bar->addMenu(menu);
    return menu;
}

QMenu* AddMenu(QMenu* parent, const char* name, const char* caption)
{
    QMenu* menu = NewMenu(parent, name, caption);
    parent->addMenu(menu);
    return menu;
}

QAction* NewMenuItem(QWidget* window, QMenu* menu, const char* name, const char* caption,
                     const QKeySequence& shortcut)
{
    auto* item = new QAction(QString::fromUtf8(caption), window);
    item->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        item->setShortcutContext(Qt::WindowShortcut);
    }
    if (menu)
        menu->addAction(item);
    window->addAction(item);
    return item;
}

}  // namespace quilmo
