// Bank texts to a task's plain text and back.

#include <gtest/gtest.h>

#include "banks/BankText.h"

namespace quilmo {
namespace {

struct PlainCase {
    const char* Name;
    BankTextFormat Format;
    const char* Input;
    const char* Expected;
};

class BankTextToPlainTest : public ::testing::TestWithParam<PlainCase> {};

TEST_P(BankTextToPlainTest, GivesTheTextABrowserShows)
{
    EXPECT_EQ(BankTextToPlain(GetParam().Input, GetParam().Format).Text, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, BankTextToPlainTest,
    ::testing::Values(
        PlainCase{"ParagraphsAreLines", BankTextFormat::Html, "<p>One</p><p>Two</p>", "One\r\nTwo"},
        PlainCase{"BreakIsALine", BankTextFormat::Html, "a<br>b<br/><br>c", "a\r\nb\r\n\r\nc"},
        PlainCase{"EntitiesDecoded", BankTextFormat::Html, "a &lt;b&gt; &amp; &quot;c&quot; &mdash; &#1046;",
                  "a <b> & \"c\" — Ж"},
        PlainCase{"NoBreakSpaceIsASpace", BankTextFormat::Html, "a&nbsp;&nbsp;b", "a  b"},
        PlainCase{"OtherTagsDropped", BankTextFormat::Html, "<b>bold</b> <span class=\"x\">and</span> <i>it</i>",
                  "bold and it"},
        PlainCase{"WhiteSpaceFolded", BankTextFormat::Html, "  a \n\t b  ", "a b"},
        PlainCase{"ScriptAndStyleLeftOut", BankTextFormat::Html,
                  "<style>p{color:red}</style>a<script>alert(1)</script>b", "ab"},
        PlainCase{"ListItemsOnLines", BankTextFormat::Html, "<ul><li>x</li><li>y</li></ul>", "x\r\ny"},
        PlainCase{"TableCellsApart", BankTextFormat::Html, "<table><tr><td>a</td><td>b</td></tr></table>", "a b"},
        PlainCase{"UnclosedTagsStillText", BankTextFormat::Html, "<p>a <b>b", "a b"},
        PlainCase{"PlainTextWithoutMarkup", BankTextFormat::Html, "Plain words", "Plain words"},
        PlainCase{"AutoFormatKeepsLineBreaks", BankTextFormat::MoodleAuto, "a\nb <b>c</b>\r\nd", "a\r\nb c\r\nd"},
        PlainCase{"PlainStaysAsItIs", BankTextFormat::Plain, "<b>a</b>  &amp;\nb", "<b>a</b>  &amp;\r\nb"},
        PlainCase{"MarkdownParagraphs", BankTextFormat::Markdown, "one\ntwo\n\nthree", "one two\r\nthree"},
        PlainCase{"MarkdownMarkers", BankTextFormat::Markdown, "**bold** \\*not\\* # no", "bold *not* # no"},
        PlainCase{"MarkdownHeadingAndList", BankTextFormat::Markdown, "# Title\n- a\n- b", "Title\r\n- a\r\n- b"},
        PlainCase{"MarkdownLink", BankTextFormat::Markdown, "see [the site](http://x.org)", "see the site"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(BankTextTest, CollectsThePicturesTheTextShows)
{
    const BankPlainText html =
        BankTextToPlain("<p>a<img src=\"@@PLUGINFILE@@/x.png\"> b <img alt=\"none\"><img src='y.gif'></p>",
                        BankTextFormat::Html);
    EXPECT_EQ(html.Text, "a b");
    EXPECT_EQ(html.Pictures, (std::vector<std::string>{"@@PLUGINFILE@@/x.png", "y.gif"}));
    const BankPlainText md = BankTextToPlain("look ![map](@@PLUGINFILE@@/m.png \"t\")", BankTextFormat::Markdown);
    EXPECT_EQ(md.Text, "look");
    EXPECT_EQ(md.Pictures, (std::vector<std::string>{"@@PLUGINFILE@@/m.png"}));
}

TEST(BankTextTest, DeepNestingAndHugeTextsDoNotHurt)
{
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<b>";
    deep += "x";
    EXPECT_EQ(BankTextToPlain(deep, BankTextFormat::Html).Text, "x");
    const std::string big(3 << 20, 'a');
    EXPECT_EQ(BankTextToPlain("<p>" + big + "</p>", BankTextFormat::Html).Text.size(), big.size());
}

TEST(BankTextTest, PlainToHtmlReadsBackAsTheSameText)
{
    const char* texts[] = {
        "simple",
        "a < b & c > \"d\"",
        "two\r\nlines",
        "  leading and  double  spaces ",
        "empty\r\n\r\nline",
        "Кириллица — тоже",
    };
    for (const char* text : texts)
        EXPECT_EQ(BankTextToPlain(PlainToHtml(text), BankTextFormat::Html).Text, text) << text;
    EXPECT_EQ(PlainToHtml("a  b\r\nc <d>"), "a&nbsp;&nbsp;b<br>c &lt;d&gt;");
}

}  // namespace
}  // namespace quilmo
