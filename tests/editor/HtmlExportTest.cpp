#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "editor/EditorDocument.h"
#include "editor/HtmlExport.h"
#include "model/Cp1251.h"
#include "model/TextUtil.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::TempFolder;

TTask Task(uint8_t type, const char* question, std::array<std::string, 5> variants,
           std::array<int32_t, 5> key)
{
    TTask task;
    task.TaskType = type;
    task.Question = question;
    task.Variants = variants;
    task.Answers = key;
    task.VariantCount = LastNonEmptyVariant(variants);
    return task;
}

// Answers every question with the same answer and counts them.
struct Answer {
    bool Yes;
    int Asked = 0;
    AskYesNo Ask()
    {
        return [this](const std::string&) {
            ++Asked;
            return Yes;
        };
    }
};

TEST(HtmlExportTest, EscapingOrderAndLineBreaks)
{
    EXPECT_EQ(HtmlEscape("a < b & \"c\" 'd' > e"), "a &lt; b &amp; &quot;c&quot; &#039;d&#039; &gt; e");
    EXPECT_EQ(HtmlEscape("&lt;"), "&amp;lt;");  // an ampersand already there is escaped too
    EXPECT_EQ(HtmlText("одна\r\nдве<"), "одна<br>\r\nдве&lt;");
}

// A small test exported with answers, compared with a page written by hand:
// escaping in the title and a question, a question of two lines, a blank
// description, a variant left empty, a picture in a subfolder, a blank
// prompt, a task without a key.
TEST(HtmlExportTest, SmallTestPage)
{
    TempFolder dir;
    dir.Write("img/a.png", "png");
    std::vector<TTask> tasks = {
        Task(SingleChoice, "Что больше: 2 < 3 & 3 > 2?\r\nВыберите ответ.", {"да", "нет", "", "может быть", ""},
             {0, 0, 0, 1, 0}),
        Task(SingleChoice, "Столица?", {"Москва", "Тверь", "Казань", "", ""}, {0, 0, 1, 0, 0}),
        Task(MultipleChoice, "Без ключа", {"x", "y", "", "", ""}, {}),
        Task(Ordering, "Порядок", {"в", "а", "б", "", ""}, {3, 1, 2, 0, 0}),
    };
    tasks[0].Prompt = "Подумайте";
    tasks[1].ImageFile = dir / "img/a.png";
    tasks[2].Prompt = "   ";
    HtmlPageInput input;
    input.Title = "Знаки <и> & \"кавычки\" 'апострофы'";
    input.Description = "  \t ";
    for (const TTask& task : tasks)
        input.Tasks.push_back(&task);
    input.WithAnswers = true;

    Answer none{false};
    ASSERT_TRUE(ExportHtmlPage(dir / "page.html", input, none.Ask()));
    EXPECT_EQ(none.Asked, 0);
    const std::string expected = testing::ReadFixture("editor/small-expected.html");
    EXPECT_EQ(dir.Read("page.html"), expected);

    // Without answers: the same page less its answer lines.
    input.WithAnswers = false;
    auto page = BuildHtmlPage(input, dir.Path(), none.Ask());
    ASSERT_TRUE(page);
    std::vector<std::string> withoutAnswers;
    for (const std::string& line : SplitLines(Cp1251ToUtf8(expected)))
        if (line.rfind("<i>Ответ: ", 0) != 0)
            withoutAnswers.push_back(line);
    EXPECT_EQ(SplitLines(JoinLinesCrLf(*page)), withoutAnswers);
}

TEST(HtmlExportTest, DescriptionParagraphAndTheMetaLine)
{
    HtmlPageInput input;
    input.Title = "Т";
    input.Description = "Первая\r\nвторая";
    auto page = BuildHtmlPage(input, "/tmp/", Answer{false}.Ask());
    ASSERT_TRUE(page);
    ASSERT_EQ(page->size(), 17u);
    EXPECT_EQ((*page)[4], "<meta name=\"description\" content=\"Export from Quilmo2.4 (https://quilmo.example.org/)\">");
    EXPECT_EQ((*page)[14], "<p class=\"description\">Описание:<br>Первая<br>\r\nвторая</p>");
}

// Pictures: inside the page's folder they are addressed relative to it;
// elsewhere they are offered for copying and addressed by their bare name
// whatever the answer; a missing one is skipped on Yes and kept as it is on
// No. The tasks themselves never change.
TEST(HtmlExportTest, PictureRules)
{
    TempFolder root;
    const std::string pageDir = root / "page/";
    root.Write("page/.keep", "");
    const std::string outside = root.Write("pics/b.png", "b");
    const struct {
        const char* Name;
        std::string ImageFile;
        bool Answer;
        std::string Img;  // empty: no picture line
        int Questions;
    } cases[] = {
        {"declined copy", outside, false, "<img border=\"0\" src=\"b.png\" alt=\"рисунок к вопросу\">", 1},
        {"copied", outside, true, "<img border=\"0\" src=\"b.png\" alt=\"рисунок к вопросу\">", 1},
        {"missing skipped", root / "gone.png", true, "", 1},
        {"missing kept", root / "gone.png", false,
         "<img border=\"0\" src=\"" + root / "gone.png" + "\" alt=\"рисунок к вопросу\">", 1},
    };
    for (const auto& c : cases) {
        TTask task = Task(SingleChoice, "В", {"а", "", "", "", ""}, {1, 0, 0, 0, 0});
        task.ImageFile = c.ImageFile;
        HtmlPageInput input;
        input.Tasks = {&task};
        Answer answer{c.Answer};
        auto page = BuildHtmlPage(input, pageDir, answer.Ask());
        ASSERT_TRUE(page) << c.Name;
        EXPECT_EQ(answer.Asked, c.Questions) << c.Name;
        const std::string expected =
            c.Img.empty() ? "<p class=\"typecaption\">Выберите один из вариантов ответа:</p>" : c.Img;
        EXPECT_EQ((*page)[15], expected) << c.Name;
        EXPECT_EQ(task.ImageFile, c.ImageFile) << c.Name;
    }
    EXPECT_EQ(root.Read("page/b.png"), "b");

    // A copy that fails stops the export before the page is written.
    std::filesystem::remove(pageDir + "b.png");
    std::filesystem::create_directories(pageDir + "b.png");
    TTask task = Task(SingleChoice, "В", {"а", "", "", "", ""}, {1, 0, 0, 0, 0});
    task.ImageFile = outside;
    HtmlPageInput input;
    input.Tasks = {&task};
    const Status status = ExportHtmlPage(pageDir + "page.html", input, Answer{true}.Ask());
    ASSERT_FALSE(status);
    EXPECT_FALSE(std::filesystem::exists(pageDir + "page.html"));
}

TEST(HtmlExportTest, PictureAddressCannotBreakOutOfItsAttribute)
{
    TempFolder root;
    const std::string odd = root.Write("page/a\"b<c>.png", "x");
    TTask task = Task(SingleChoice, "В", {"а", "", "", "", ""}, {1, 0, 0, 0, 0});
    task.ImageFile = odd;
    HtmlPageInput input;
    input.Tasks = {&task};
    auto page = BuildHtmlPage(input, root / "page/", Answer{false}.Ask());
    ASSERT_TRUE(page);
    EXPECT_EQ((*page)[15], "<img border=\"0\" src=\"a&quot;b&lt;c&gt;.png\" alt=\"рисунок к вопросу\">");
}

// The exported demo test and the hand-written page both parse as HTML
// (Python's own parser, with tag balance checked).
TEST(HtmlExportTest, PagesParseAsHtml)
{
    if (std::system("python3 -c 'import html.parser' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    TempFolder dir;
    auto demo = ReadEditorTest(std::string(QUILMO_EXAMPLES) + "/demo/Demo.tst");
    ASSERT_TRUE(demo);
    HtmlPageInput input;
    input.Title = demo->Title;
    input.Description = demo->Description;
    for (const TTask& task : demo->Tasks)
        input.Tasks.push_back(&task);
    input.WithAnswers = true;
    ASSERT_TRUE(ExportHtmlPage(dir / "demo.html", input, Answer{true}.Ask()));
    EXPECT_EQ(dir.Read("triangle.jpg").empty(), false);  // copied beside the page

    const std::string checker = std::string(QUILMO_FIXTURES) + "/../editor/check_html.py";
    for (const std::string& page : {dir / "demo.html", std::string(QUILMO_FIXTURES) + "/editor/small-expected.html"}) {
        const std::string command = "python3 '" + checker + "' '" + page + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << page;
    }
}

}  // namespace
}  // namespace quilmo
