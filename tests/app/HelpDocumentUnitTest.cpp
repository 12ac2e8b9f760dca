// Help from every window that has it, beside the program and in an installed tree.

#include <gtest/gtest.h>

#include <QUrl>
#include <functional>
#include <memory>

#include "editor/EditorUnit.h"
#include "runner/MainUnit.h"
#include "support/FakePlatform.h"
#include "support/QtScriptedPrompts.h"
#include "support/TempFolder.h"

namespace quilmo::testing {
namespace {

struct HelpWindow {
    const char* name;
    std::function<void(AppServices&)> showHelp;  // creates the window and asks for help
};

const HelpWindow kWindows[] = {
    {"runner", [](AppServices& s) { TMainForm(s).MHShowHelpClick(); }},
    {"editor", [](AppServices& s) { TEditorForm(s).MHShowHelpClick(); }},
};

class HelpDocumentUnitTest : public ::testing::TestWithParam<HelpWindow> {
protected:
    // Asks the window for help with the program in <folder>/usr/bin/.
    QStringList ShowHelp()
    {
        AppServices services{prompts, platform, desktop, folder / "program/", folder / "usr/bin/", {}};
        GetParam().showHelp(services);
        prompts.Verify();
        QStringList opened;
        for (const QUrl& url : desktop.Opened)
            opened << url.toLocalFile();
        return opened;
    }

    TempFolder folder;
    ScriptedPrompts prompts;
    FakePlatform platform;
    RecordingDesktop desktop;
};

TEST_P(HelpDocumentUnitTest, InAnInstalledTreeOpensTheInstalledCopy)
{
    folder.Write("program/.keep", "");
    folder.Write("usr/bin/quilmo", "");
    const std::string installed = folder.Write("usr/share/quilmo/Help.html", "<html>");
    EXPECT_EQ(ShowHelp(), QStringList{QString::fromStdString(installed)});
}

TEST_P(HelpDocumentUnitTest, BesideTheProgramOpensThatCopyFirst)
{
    folder.Write("program/.keep", "");
    folder.Write("usr/share/quilmo/Help.html", "<html>");
    const std::string beside = folder.Write("usr/bin/Help.html", "<html>");
    EXPECT_EQ(ShowHelp(), QStringList{QString::fromStdString(beside)});
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, HelpDocumentUnitTest, ::testing::ValuesIn(kWindows),
                         [](const auto& window) { return std::string(window.param.name); });

}  // namespace
}  // namespace quilmo::testing
