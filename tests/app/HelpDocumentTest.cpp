// The help document beside the program or in the installed tree.

#include <gtest/gtest.h>

#include "app/HelpDocument.h"
#include "support/TempFolder.h"

namespace quilmo::testing {
namespace {

TEST(HelpDocumentTest, BesideTheProgramFirstThenTheInstalledCopy)
{
    TempFolder folder;
    const std::string bin = folder / "bin/";
    const std::string installed = folder / "share/quilmo/Help.html";

    folder.Write("bin/quilmo", "");
    EXPECT_EQ(HelpDocumentPath(bin), bin + "Help.html") << "neither: the one beside";

    folder.Write("share/quilmo/Help.html", "<html>");
    EXPECT_EQ(HelpDocumentPath(bin), installed);

    folder.Write("bin/Help.html", "<html>");
    EXPECT_EQ(HelpDocumentPath(bin), bin + "Help.html");
}

}  // namespace
}  // namespace quilmo::testing
