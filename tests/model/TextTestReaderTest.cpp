#include <gtest/gtest.h>

#include "model/Cp1251.h"
#include "model/TextTestReader.h"
#include "model/TextUtil.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using Lines = std::vector<std::string>;
using Key = std::array<int32_t, 5>;

struct BlockSpec {
    std::string Answer = "1";
    Lines Variants = {"A", "B", "C", "", ""};
    std::string Question = "Question";
    std::string Picture;
    std::string Prompt;
};

Lines Block(int k, const BlockSpec& spec)
{
    Lines l = {"----" + std::to_string(k) + "----", spec.Question, spec.Prompt, spec.Picture, spec.Answer};
    for (const auto& v : spec.Variants)
        l.push_back(v);
    return l;
}

// A whole test: header with the given count line and thresholds (highest first),
// then the blocks and the end line.
Lines TestLines(const std::string& countLine, const Lines& thresholds, const std::vector<BlockSpec>& blocks,
                const std::string& title = "Title", const std::string& description = "Description")
{
    Lines l = {title, description, countLine, "--------", std::to_string(thresholds.size()), "--------"};
    l.insert(l.end(), thresholds.begin(), thresholds.end());
    for (size_t k = 0; k < blocks.size(); ++k) {
        const Lines b = Block(static_cast<int>(k + 1), blocks[k]);
        l.insert(l.end(), b.begin(), b.end());
    }
    l.push_back("----------конец---------");
    return l;
}

std::vector<BlockSpec> Questions(int n)
{
    std::vector<BlockSpec> blocks(n);
    for (int k = 0; k < n; ++k)
        blocks[k].Question = std::string("Q").append(std::to_string(k + 1));
    return blocks;
}

Lines QuestionsOf(const ParsedTest& test)
{
    Lines q;
    for (const auto& t : test.Tasks)
        q.push_back(t.Question);
    return q;
}

Expected<ParsedTest> Parse(const Lines& lines, CountLineRule rule = CountLineRule::WithSubset)
{
    TextTestReadOptions options;
    options.CountRule = rule;
    return ParseTestText(lines, options);
}

void ExpectLoadError(const Expected<ParsedTest>& result)
{
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().Message, "Ошибка загрузки теста!");
}

TEST(TextTestReaderTest, AnswerLineTable)
{
    struct Case {
        const char* line;
        uint8_t type;
        Key key;
    };
    const Case cases[] = {
        {"2,4", MultipleChoice, {0, 1, 0, 1, 0}},
        {"2,4,", MultipleChoice, {0, 1, 0, 1, 0}},   // the trailing item is 0, ignored
        {"1, 3 ,5", MultipleChoice, {1, 0, 1, 0, 1}},
        {"3-1-2", Ordering, {2, 3, 1, 0, 0}},
        {"7", SingleChoice, {0, 0, 0, 0, 0}},
        {"", SingleChoice, {0, 0, 0, 0, 0}},
        {" 5 ", SingleChoice, {0, 0, 0, 0, 1}},      // the line is trimmed
        {"x", SingleChoice, {0, 0, 0, 0, 0}},
        {"1,3-2", MultipleChoice, {1, 0, 0, 0, 0}},  // the comma wins; "3-2" is no number
        {"6-2-0-1", Ordering, {2, 1, 0, 0, 0}},      // outside 1..5: skipped, uses no place
        {"1-2-1", Ordering, {3, 2, 0, 0, 0}},        // a repeat keeps the later place
        {"-1", Ordering, {1, 0, 0, 0, 0}},           // a hyphen makes it a list, not a sign
        {",", MultipleChoice, {0, 0, 0, 0, 0}},
    };
    std::vector<BlockSpec> blocks;
    for (const auto& c : cases) {
        BlockSpec b;
        b.Answer = c.line;
        blocks.push_back(b);
    }
    const auto test = Parse(TestLines(std::to_string(blocks.size()), {}, blocks));
    ASSERT_TRUE(test);
    ASSERT_EQ(test->Tasks.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(test->Tasks[i].TaskType, cases[i].type) << '"' << cases[i].line << '"';
        EXPECT_EQ(test->Tasks[i].Answers, cases[i].key) << '"' << cases[i].line << '"';
    }
}

TEST(TextTestReaderTest, CountLineTable)
{
    struct Case {
        const char* line;
        int32_t count, subset;
        size_t tasks;
    };
    const Case cases[] = {
        {"5", 5, 0, 5},
        {" 5 ", 5, 0, 5},
        {"3", 3, 0, 3},        // fewer than the file holds: the rest is ignored
        {"5 (3)", 5, 3, 5},    // all five are read; the subset is drawn afterwards
        {" 5 ( 3 ) ", 5, 3, 5},
        {"5 (3) (1)", 5, 3, 5},
        {"3 (5)", 0, 0, 0},
        {"5 (5)", 0, 0, 0},
        {"5 (0)", 0, 0, 0},
        {"5 (x)", 0, 0, 0},
        {"x (3)", 0, 0, 0},
        {"5 (-3)", 0, 0, 0},
        {"5 (3", -1, 0, 0},    // no closing bracket: not a number
        {"5 )3(", -1, 0, 0},   // closing before opening: not a number
        {"x", -1, 0, 0},
        {"0", 0, 0, 0},
        {"-2", -2, 0, 0},
    };
    for (const auto& c : cases) {
        const auto test = Parse(TestLines(c.line, {}, Questions(5)));
        ASSERT_TRUE(test) << c.line;
        EXPECT_EQ(test->TaskCount, c.count) << c.line;
        EXPECT_EQ(test->SubsetCount, c.subset) << c.line;
        EXPECT_EQ(test->Tasks.size(), c.tasks) << c.line;
    }
}

TEST(TextTestReaderTest, PlainIntegerCountRule)
{
    const auto bracketed = Parse(TestLines("5 (3)", {}, Questions(5)), CountLineRule::PlainInteger);
    ASSERT_TRUE(bracketed);
    EXPECT_EQ(bracketed->TaskCount, -1);
    EXPECT_EQ(bracketed->SubsetCount, 0);
    EXPECT_TRUE(bracketed->Tasks.empty());

    const auto plain = Parse(TestLines(" 4 ", {}, Questions(5)), CountLineRule::PlainInteger);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->TaskCount, 4);
    EXPECT_EQ(plain->Tasks.size(), 4u);
}

TEST(TextTestReaderTest, MarksAreListedHighestFirst)
{
    const auto passFail = Parse(TestLines("1", {"3", "0"}, Questions(1)));
    ASSERT_TRUE(passFail);
    EXPECT_EQ(passFail->Marks, (TIntDynArray{0, 3}));
    EXPECT_EQ(passFail->Tasks[0].Question, "Q1");  // the block starts after the thresholds

    const auto five = Parse(TestLines("1", {"9", " 7 ", "5", "x", "0"}, Questions(1)));
    ASSERT_TRUE(five);
    EXPECT_EQ(five->Marks, (TIntDynArray{0, -1, 5, 7, 9}));

    const auto none = Parse(TestLines("1", {}, Questions(1)));
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->Marks.empty());

    Lines negative = TestLines("1", {}, Questions(1));
    negative[4] = "-1";
    ExpectLoadError(Parse(negative));
    negative[4] = "two";  // not a number reads as -1
    ExpectLoadError(Parse(negative));
}

TEST(TextTestReaderTest, FieldsOfATask)
{
    BlockSpec b;
    b.Question = "  Сколько_CRLF_будет?  ";
    b.Prompt = "  подсказка_CRLF_ ";
    b.Answer = "2";
    b.Variants = {"один_CRLF_1", "", "три", "", ""};
    BlockSpec empty;
    empty.Variants = {"", "", "", "", ""};
    BlockSpec full;
    full.Variants = {"_CRLF__CRLF_a", "b_CRLF_c_CRLF_d", "c", "d", "e_CRLF_"};
    const auto test = Parse(TestLines("3", {}, {b, empty, full}, "  Заголовок  ", "  Описание_CRLF_теста \t"));
    ASSERT_TRUE(test);
    EXPECT_EQ(test->Title, "  Заголовок  ");
    EXPECT_EQ(test->Description, "Описание\r\nтеста");

    const TTask& t = test->Tasks[0];
    EXPECT_EQ(t.Question, "  Сколько\r\nбудет?  ");
    EXPECT_EQ(t.Prompt, "  подсказка_CRLF_ ");
    EXPECT_EQ(t.ImageFile, "");
    EXPECT_EQ(t.Variants, (std::array<std::string, 5>{"один\r\n1", "", "три", "", ""}));
    EXPECT_EQ(t.VariantCount, 3);
    EXPECT_EQ(test->Tasks[1].VariantCount, 0);
    EXPECT_EQ(test->Tasks[2].VariantCount, 5);
    EXPECT_EQ(test->Tasks[2].Variants[0], "\r\n\r\na");
    EXPECT_EQ(test->Tasks[2].Variants[1], "b\r\nc\r\nd");
    EXPECT_EQ(test->Tasks[2].Variants[4], "e\r\n");
}

TEST(TextTestReaderTest, LineEndingsDoNotMatter)
{
    BlockSpec b;
    b.Question = "Вопрос_CRLF_два";
    b.Answer = "3-1-2";
    const Lines lines = TestLines("2", {"4", "2"}, {b, b}, " T ", " D ");

    std::string crlf, cr, lf, mixed;
    for (size_t i = 0; i < lines.size(); ++i) {
        crlf += lines[i] + "\r\n";
        cr += lines[i] + "\r";
        lf += lines[i] + "\n";
        // Never a lone CR before an empty line ended by LF: together they read as one CR LF.
        mixed += lines[i] + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    const auto reference = Parse(lines);
    ASSERT_TRUE(reference);
    for (const std::string& text : {crlf, cr, lf, mixed, crlf.substr(0, crlf.size() - 2)}) {
        // Handing the lines over must read the same as lending them.
        const auto test = ParseTestText(SplitLines(Cp1251ToUtf8(Utf8ToCp1251(text))), {});
        ASSERT_TRUE(test);
        EXPECT_EQ(test->Title, reference->Title);
        EXPECT_EQ(test->Description, reference->Description);
        EXPECT_EQ(test->Marks, reference->Marks);
        EXPECT_EQ(test->Tasks, reference->Tasks);
    }
}

TEST(TextTestReaderTest, NulEndsTheText)
{
    const std::string text = JoinLinesCrLf(TestLines("1", {}, Questions(1)));
    const auto complete = Parse(SplitLines(text + std::string("\0garbage\r\nmore\r\n", 17)));
    ASSERT_TRUE(complete);
    EXPECT_EQ(complete->Tasks.size(), 1u);

    std::string cut = text;
    cut[cut.find("Q1")] = '\0';  // the question line and all after it are gone
    ExpectLoadError(Parse(SplitLines(cut)));
}

TEST(TextTestReaderTest, EveryMissingLineFails)
{
    // Count line, thresholds, blocks in the file, lines the reader needs (the
    // end line is never read, nor line 5 when no threshold follows it).
    const std::tuple<std::string, Lines, int, size_t> cases[] = {
        {"2", {"5", "3"}, 2, 28},
        {"1", {}, 1, 16},
        {"0", {}, 0, 5},
        {"1 (0)", {"1"}, 1, 7},
    };
    for (const auto& [count, marks, blocks, needed] : cases) {
        const Lines full = TestLines(count, marks, Questions(blocks));
        for (size_t n = 0; n < needed; ++n)
            ExpectLoadError(Parse(Lines(full.begin(), full.begin() + n)));
        EXPECT_TRUE(Parse(Lines(full.begin(), full.begin() + needed))) << count;
    }
}

TEST(TextTestReaderTest, HugeCountsInATinyFileFailAtOnce)
{
    for (const char* count : {"2147483647", "2000000000 (3)", "1000000"}) {
        ExpectLoadError(Parse(TestLines(count, {}, Questions(2))));
    }
    for (const char* marks : {"2147483647", "1000000"}) {
        Lines lines = TestLines("2", {}, Questions(2));
        lines[4] = marks;
        ExpectLoadError(Parse(lines));
    }
}

TEST(TextTestReaderTest, PicturesArePutInTheTestFolderAndResolved)
{
    testing::TempFolder dir;
    dir.Write("Рисунки/Схема.PNG", "x");
    dir.Write("photo.jpg", "x");
    std::vector<BlockSpec> blocks(5);
    blocks[0].Picture = "  photo.jpg  ";
    blocks[1].Picture = "рисунки\\схема.png";
    blocks[2].Picture = "missing.gif";
    blocks[3].Picture = " \t ";
    blocks[4].Picture = "";
    TextTestReadOptions options;
    options.PictureDir = dir.Path();
    const auto test = ParseTestText(TestLines("5", {}, blocks), options);
    ASSERT_TRUE(test);
    EXPECT_EQ(test->Tasks[0].ImageFile, dir / "photo.jpg");
    EXPECT_EQ(test->Tasks[1].ImageFile, dir / "Рисунки/Схема.PNG");
    EXPECT_EQ(test->Tasks[2].ImageFile, dir / "missing.gif");
    EXPECT_EQ(test->Tasks[3].ImageFile, "");
    EXPECT_EQ(test->Tasks[4].ImageFile, "");
}

TEST(TextTestReaderTest, TaskBlockFromTheClipboard)
{
    const Lines paste = {"-------------------", "Q_CRLF_2", "hint", " C:\\pics\\a.jpg ", " 2,4 ",
                         "a", "b_CRLF_", "", "d", ""};
    const auto task = ReadTaskBlock(paste, 1, "");
    ASSERT_TRUE(task);
    EXPECT_EQ(task->Question, "Q\r\n2");
    EXPECT_EQ(task->ImageFile, "C:\\pics\\a.jpg");  // no folder added, kept as written
    EXPECT_EQ(task->TaskType, MultipleChoice);
    EXPECT_EQ(task->Answers, (Key{0, 1, 0, 1, 0}));
    EXPECT_EQ(task->Variants[1], "b\r\n");
    EXPECT_EQ(task->VariantCount, 4);

    EXPECT_FALSE(ReadTaskBlock(Lines(paste.begin(), paste.end() - 1), 1, ""));
    EXPECT_FALSE(ReadTaskBlock(paste, 11, ""));
}

TEST(TextTestReaderTest, SubsetKeepsFileOrder)
{
    auto test = Parse(TestLines("5 (3)", {}, Questions(5)));
    ASSERT_TRUE(test);
    // Seed 0x80000000: 0x80000001 draws 5 -> 2 (Q3 goes), then 0x88088406 draws 4 -> 2 (Q4 goes).
    TRandom random(0x80000000u);
    ApplyRandomSubset(*test, random);
    EXPECT_EQ(QuestionsOf(*test), (Lines{"Q1", "Q2", "Q5"}));
    EXPECT_EQ(test->TaskCount, 3);

    auto plain = Parse(TestLines("5", {}, Questions(5)));
    ASSERT_TRUE(plain);
    ApplyRandomSubset(*plain, random);
    EXPECT_EQ(plain->Tasks.size(), 5u);
    EXPECT_EQ(plain->TaskCount, 5);
}

TEST(TextTestReaderTest, SubsetMatchesRemovingOneAtATime)
{
    for (const auto& [total, keep, seed] :
         {std::tuple{1000, 10, 1u}, {1000, 999, 2u}, {777, 1, 3u}, {64, 32, 4u}, {2, 1, 5u}}) {
        auto test = Parse(TestLines(std::to_string(total) + " (" + std::to_string(keep) + ")", {},
                                    Questions(total)));
        ASSERT_TRUE(test);
        TRandom random(seed);
        ApplyRandomSubset(*test, random);

        Lines expected = QuestionsOf(*Parse(TestLines(std::to_string(total), {}, Questions(total))));
        TRandom reference(seed);
        while (static_cast<int>(expected.size()) > keep)
            expected.erase(expected.begin() + reference.Next(static_cast<int32_t>(expected.size())));
        EXPECT_EQ(QuestionsOf(*test), expected) << total << " " << keep;
        EXPECT_EQ(random.Seed(), reference.Seed());
    }
}

}  // namespace
}  // namespace quilmo
