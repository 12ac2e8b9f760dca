#pragma once
// The runner's menu bar: its menus and items, each with the object name the
// language file captions it by. The window connects the items to its handlers
// and shows the states the runner's rules give.

#include "app/Settings.h"
#include "runner/RunnerRules.h"

class QAction;
class QMainWindow;
class QMenu;

namespace quilmo {

class TRunnerMenus {
public:
    // Fills the menu bar of window; the items belong to the window, so that
    // their shortcuts work while the menus are closed.
    explicit TRunnerMenus(QMainWindow* window);

    // Enables the items of each menu; the Settings menu also checks the
    // items that show the settings in use.
    void ShowFile(const RunnerMenuStates& states) const;
    void ShowTest(const RunnerMenuStates& states) const;
    void ShowConfig(const RunnerMenuStates& states, const TModeConfig& mode) const;
    // The Modules menu is hidden until F7 shows it.
    void ToggleModules() const;

    QMenu* MFile = nullptr;
    QAction* MFOpen = nullptr;
    QAction* MFSaveAs = nullptr;
    QAction* MFClose = nullptr;
    QAction* MFExit = nullptr;
    QMenu* MTest = nullptr;
    QAction* MTInfo = nullptr;
    QAction* MTBegin = nullptr;
    QAction* MTEnd = nullptr;
    QMenu* MConfig = nullptr;
    QAction* MCFont = nullptr;
    QMenu* MCOrderTask = nullptr;
    QAction* MCOTNormal = nullptr;
    QAction* MCOTRandom = nullptr;
    QMenu* MCOrderVariant = nullptr;
    QAction* MCOVNormal = nullptr;
    QAction* MCOVRandom = nullptr;
    QAction* MCModeEducation = nullptr;
    QMenu* MCModeTimeLimit = nullptr;
    QAction* MCMTLimit[3] = {};  // MCMTLimitNot, MCMTLimitTest, MCMTLimitTask by ModeTimeLimit
    QMenu* MCMTLimitSetup = nullptr;
    QAction* MCMTLSetupTest = nullptr;
    QAction* MCMTLSetupTask = nullptr;
    QAction* MCSaveResult = nullptr;
    QAction* MCSaveConfig = nullptr;
    QAction* MCAdditionConfig = nullptr;
    QAction* MCSaveConfigNow = nullptr;
    QAction* MCLoadConfigNow = nullptr;
    QMenu* MModuls = nullptr;
    QAction* MMServer = nullptr;
    QAction* MMEncrypt = nullptr;
    QAction* MMEditor = nullptr;
    QMenu* MHelp = nullptr;
    QAction* MHShowHelp = nullptr;
    QAction* MHShowAboutBox = nullptr;
};

}  // namespace quilmo
