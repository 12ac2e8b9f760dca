#include "runner/RunnerMenusUnit.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenuBar>

#include "app/QtMenus.h"

namespace quilmo {

TRunnerMenus::TRunnerMenus(QMainWindow* window)
{
    QMenuBar* bar = window->menuBar();
    auto item = [window](QMenu* menu, const char* name, const char* caption, QKeySequence shortcut = {}) {
        return NewMenuItem(window, menu, name, caption, shortcut);
    };
    // Items of one group: checking one unchecks the others.
    auto checkable = [window](std::initializer_list<QAction*> items) {
        auto* group = new QActionGroup(window);
        for (QAction* a : items) {
            a->setCheckable(true);
            group->addAction(a);
        }
    };

    MFile = AddMenu(bar, "MFile", "&Файл");
    MFOpen = item(MFile, "MFOpen", "&Открыть...", QKeySequence(Qt::CTRL | Qt::Key_O));
    MFSaveAs = item(MFile, "MFSaveAs", "Сохранить как...");
    MFClose = item(MFile, "MFClose", "Закрыть");
    MFile->addSeparator();
    MFExit = item(MFile, "MFExit", "Вы&ход");

    MTest = AddMenu(bar, "MTest", "Тест");
    MTInfo = item(MTest, "MTInfo", "Информация");
    MTest->addSeparator();
    MTBegin = item(MTest, "MTBegin", "Начать", QKeySequence(Qt::Key_F5));
    MTEnd = item(MTest, "MTEnd", "Закончить");

    MConfig = AddMenu(bar, "MConfig", "Настройка");
    MCFont = item(MConfig, "MCFont", "Шрифт...");
    MConfig->addSeparator();
    MCOrderTask = AddMenu(MConfig, "MCOrderTask", "Порядок вопросов");
    MCOTNormal = item(MCOrderTask, "MCOTNormal", "Последовательно");
    MCOTRandom = item(MCOrderTask, "MCOTRandom", "Случайный");
    checkable({MCOTNormal, MCOTRandom});
    MCOrderVariant = AddMenu(MConfig, "MCOrderVariant", "Порядок вариантов");
    MCOVNormal = item(MCOrderVariant, "MCOVNormal", "Последовательно");
    MCOVRandom = item(MCOrderVariant, "MCOVRandom", "Случайный");
    checkable({MCOVNormal, MCOVRandom});
    MConfig->addSeparator();
    MCModeEducation = item(MConfig, "MCModeEducation", "Обучающий режим");
    MCModeEducation->setCheckable(true);
    MCModeTimeLimit = AddMenu(MConfig, "MCModeTimeLimit", "Ограничение по времени");
    MCMTLimit[0] = item(MCModeTimeLimit, "MCMTLimitNot", "Отключено");
    MCMTLimit[1] = item(MCModeTimeLimit, "MCMTLimitTest", "Для всего теста");
    MCMTLimit[2] = item(MCModeTimeLimit, "MCMTLimitTask", "Для каждого вопроса");
    checkable({MCMTLimit[0], MCMTLimit[1], MCMTLimit[2]});
    MCModeTimeLimit->addSeparator();
    MCMTLimitSetup = AddMenu(MCModeTimeLimit, "MCMTLimitSetup", "Настройка");
    MCMTLSetupTest = item(MCMTLimitSetup, "MCMTLSetupTest", "Время всего теста...");
    MCMTLSetupTask = item(MCMTLimitSetup, "MCMTLSetupTask", "Время одного вопроса...");
    MCSaveResult = item(MConfig, "MCSaveResult", "Сохранять результаты");
    MCSaveResult->setCheckable(true);
    MCSaveConfig = item(MConfig, "MCSaveConfig", "Сохранять настройки при выходе");
    MCSaveConfig->setCheckable(true);
    MConfig->addSeparator();
    MCAdditionConfig = item(MConfig, "MCAdditionConfig", "Дополнительно...");
    MConfig->addSeparator();
    MCSaveConfigNow = item(MConfig, "MCSaveConfigNow", "Сохранить настройки сейчас");
    MCLoadConfigNow = item(MConfig, "MCLoadConfigNow", "Загрузить настройки сейчас");

    MModuls = AddMenu(bar, "MModuls", "Модули");
    MModuls->menuAction()->setVisible(false);
    MMServer = item(MModuls, "MMServer", "Журнал...", QKeySequence(Qt::Key_F2));
    MMEncrypt = item(MModuls, "MMEncrypt", "Шифратор...", QKeySequence(Qt::Key_F3));
    MMEditor = item(MModuls, "MMEditor", "Редактор...", QKeySequence(Qt::Key_F4));
    // Each module's item comes alive with its window.
    MMServer->setEnabled(false);

    MHelp = AddMenu(bar, "MHelp", "Справка");
    MHShowHelp = item(MHelp, "MHShowHelp", "Просмотр справки", QKeySequence(Qt::Key_F1));
    MHelp->addSeparator();
    MHShowAboutBox = item(MHelp, "MHShowAboutBox", "О программе");
}

void TRunnerMenus::ShowFile(const RunnerMenuStates& states) const
{
    MFOpen->setEnabled(states.Open);
    MFSaveAs->setEnabled(states.SaveAs);
    MFClose->setEnabled(states.Close);
    MFExit->setEnabled(states.Exit);
}

void TRunnerMenus::ShowTest(const RunnerMenuStates& states) const
{
    MTInfo->setEnabled(states.Info);
    MTBegin->setEnabled(states.Begin);
    MTEnd->setEnabled(states.End);
}

void TRunnerMenus::ShowConfig(const RunnerMenuStates& states, const TModeConfig& mode) const
{
    MCFont->setEnabled(true);
    for (QMenu* menu : {MCOrderTask, MCOrderVariant, MCModeTimeLimit})
        menu->setEnabled(states.Settings);
    for (QAction* a : {MCModeEducation, MCSaveResult, MCAdditionConfig, MCSaveConfigNow, MCLoadConfigNow})
        a->setEnabled(states.Settings);
    MCSaveConfig->setEnabled(states.SaveConfig);

    (mode.OrderTaskNormal == 1 ? MCOTNormal : MCOTRandom)->setChecked(true);
    (mode.OrderVariantNormal == 1 ? MCOVNormal : MCOVRandom)->setChecked(true);
    MCModeEducation->setChecked(mode.ModeEducation == 1);
    MCSaveResult->setChecked(mode.SaveResult == 1);
    MCSaveConfig->setChecked(mode.SaveConfig == 1);
    for (int tag = 0; tag < 3; ++tag)
        MCMTLimit[tag]->setChecked(mode.ModeTimeLimit == tag);
}

void TRunnerMenus::ToggleModules() const
{
    QAction* modules = MModuls->menuAction();
    modules->setVisible(!modules->isVisible());
}

}  // namespace quilmo
