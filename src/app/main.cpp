// Quilmo: start-up. Creates the main window and runs the program until it closes.

#include <QApplication>

#include "app/AppServices.h"
#include "app/ProgramFolder.h"
#include "app/QtArt.h"
#include "app/QtDesktop.h"
#include "app/QtPrompts.h"
#include "app/QtStartup.h"
#include "runner/MainUnit.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quilmo"));
    QApplication::setWindowIcon(quilmo::ProgramIcon());
    quilmo::PrepareApplication(app);

    quilmo::QtPrompts prompts;
    quilmo::QtDesktop desktop;
    const std::string exeDir = quilmo::ExecutableFolder();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    quilmo::AppServices services{prompts, quilmo::SystemPlatform(), desktop,
                                 quilmo::ChooseProgramFolder(exeDir), exeDir, arguments};

    quilmo::TMainForm mainForm(services);
    mainForm.show();
    return app.exec();
}
