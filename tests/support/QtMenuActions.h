#pragma once
// Every menu item of a window, triggered as a user does, each checked by what
// its handler leaves behind: a table of cases, each naming the item, its
// shortcut, the state it needs and the effect it must have.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QSet>
#include <QTest>
#include <QWidget>
#include <functional>
#include <vector>

#include "support/QtScriptedPrompts.h"

namespace quilmo::testing {

struct MenuCase {
    QAction* Item = nullptr;
    QKeySequence Shortcut;          // the item's own; empty when it has none
    std::function<void()> Arrange;  // the state the item needs and the prompts it will show
    std::function<void()> Check;    // what its handler must have done
};

// A key pressed in the window that is no menu item's own (F7 in the runner),
// or a menu item's key pressed in one of its controls.
struct KeyCase {
    const char* Name;
    QKeySequence Key;
    std::function<void()> Arrange;
    std::function<void()> Check;
    std::function<QWidget*()> Target = {};  // the control with the focus; none: as it is
};

// Shows the window and makes it the active one, as the shortcut map wants.
inline void ActivateWindow(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window)) << window->objectName().toStdString();
}

// Presses `key` in the window, through the path a real key press takes: to
// the control with the focus (`target` first takes it), else the window.
inline void PressOn(QWidget* window, const QKeySequence& key, QWidget* target = nullptr)
{
    ActivateWindow(window);
    if (target)
        target->setFocus();
    QWidget* receiver = QApplication::focusWidget();
    if (!receiver || receiver->window() != window)
        receiver = window;
    const QKeyCombination combination = key[0];
    QTest::keyClick(receiver, combination.key(), combination.keyboardModifiers());
    QApplication::processEvents();
}

// Runs each case through QAction::trigger and, when it has a shortcut, again
// through a key press on the window; then fails for any item of the window
// that no case names, so that a new item cannot go untested.
inline void RunMenuCases(QWidget* window, ScriptedPrompts& prompts,
                                 const std::vector<MenuCase>& cases,
                                 const std::vector<KeyCase>& keys = {})
{
    QSet<const QAction*> covered;
    for (const MenuCase& c : cases) {
        if (!c.Item) {
            ADD_FAILURE() << "a case without its item";
            continue;
        }
        const std::string name = c.Item->objectName().toStdString();
        SCOPED_TRACE(name);
        covered.insert(c.Item);
        EXPECT_EQ(c.Item->shortcut(), c.Shortcut);
        if (c.Arrange)
            c.Arrange();
        c.Item->trigger();
        QApplication::processEvents();
        c.Check();
        prompts.Verify();
        if (c.Shortcut.isEmpty())
            continue;
        SCOPED_TRACE("by its shortcut " + c.Shortcut.toString().toStdString());
        if (c.Arrange)
            c.Arrange();
        PressOn(window, c.Shortcut);
        c.Check();
        prompts.Verify();
    }
    for (const KeyCase& k : keys) {
        SCOPED_TRACE(k.Name);
        if (k.Arrange)
            k.Arrange();
        PressOn(window, k.Key, k.Target ? k.Target() : nullptr);
        k.Check();
        prompts.Verify();
    }
    for (const QAction* item : window->findChildren<QAction*>()) {
        if (item->isSeparator() || item->menu() || item->objectName().isEmpty())
            continue;  // separators and the entries of submenus
        if (item->parent() != window)
            continue;  // another window's, or a control's own
        EXPECT_TRUE(covered.contains(item)) << "no case for " << item->objectName().toStdString();
    }
}

}  // namespace quilmo::testing
