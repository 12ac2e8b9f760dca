// The about box's version text.

#include <gtest/gtest.h>

#include "tools/About.h"

namespace quilmo::testing {
namespace {

TEST(AboutTest, VersionIsTrimmedAndZerosWhenAbsent)
{
    const struct {
        const char* Compiled;
        const char* Shown;
    } cases[] = {
        {"2.4.0.0", "2.4.0.0"},
        {" \t2.4.1.7\r\n", "2.4.1.7"},
        {"", "0.0.0.0"},
        {" \r\n\t", "0.0.0.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramVersion(c.Compiled), c.Shown) << '"' << c.Compiled << '"';
}

}  // namespace
}  // namespace quilmo::testing
