// Entry point of the window tests: one offscreen QApplication for all of them.

#include <QApplication>
#include <gtest/gtest.h>

#include "app/QtStartup.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quilmo");
    // The windows meet the texts and the font the program gives them.
    quilmo::PrepareApplication(app);
    return RUN_ALL_TESTS();
}
