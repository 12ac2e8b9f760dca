#include "app/QtDesktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace quilmo {

bool QtDesktop::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool QtDesktop::StartCalculator()
{
    static const char* const calculators[] = {"gnome-calculator", "kcalc",          "mate-calc",
                                              "galculator",       "qalculate-gtk", "xcalc"};
    for (const char* name : calculators) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty())
            return QProcess::startDetached(program, {});
    }
    return false;
}

}  // namespace quilmo
