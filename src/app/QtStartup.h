#pragma once
// What every window of the program needs before the first one opens: Qt's own
// dialogs speaking Russian, and the font the layouts are measured in.

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace quilmo {

// Loads Qt's Russian texts (qtbase_ru.qm from Qt's translations folder) for the
// standard dialogs and buttons; false when the file is not there. Once per
// application: later calls only report whether it was loaded.
bool InstallQtTranslation(QCoreApplication& app);

// The folders searched for Tahoma when the system has none: Debian's fonts-wine
// ships a metric-compatible Tahoma with Cyrillic outside fontconfig's folders.
QStringList TahomaFolders();

// Registers tahoma.ttf and tahomabd.ttf from the first of folders that holds
// them when the system has no Tahoma; true when Tahoma is then available.
bool RegisterTahoma(const QStringList& folders = TahomaFolders());

// Both of the above and the program's font, Tahoma 8 pt.
void PrepareApplication(QCoreApplication& app);

}  // namespace quilmo
