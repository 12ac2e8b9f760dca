// Judging tasks as shown, the education feedback, marks and the filled result.

#include <gtest/gtest.h>

#include "runner/Scoring.h"

namespace quilmo {
namespace {

TTask MakeTask(uint8_t type, int32_t variantCount, std::array<int32_t, 5> answers)
{
    TTask task;
    task.TaskType = type;
    for (int32_t i = 0; i < variantCount; ++i)
        task.Variants[static_cast<size_t>(i)].assign(1, static_cast<char>('1' + i));
    task.VariantCount = variantCount;
    task.Answers = answers;
    return task;
}

const TIntDynArray kInOrder3{0, 1, 2};
const TIntDynArray kInOrder4{0, 1, 2, 3};

TEST(ScoringTest, JudgesEachTypeOverTheRowsAsShown)
{
    const TTask single = MakeTask(SingleChoice, 3, {0, 1, 0, 0, 0});
    const TTask singleKeyBeyond = MakeTask(SingleChoice, 3, {0, 1, 0, 0, 1});
    const TTask singleOnlyBeyond = MakeTask(SingleChoice, 3, {0, 0, 0, 0, 1});
    const TTask multiple = MakeTask(MultipleChoice, 4, {1, 0, 1, 0, 0});
    const TTask ordering = MakeTask(Ordering, 3, {2, 1, 3, 0, 0});
    const TTask orderingNoPlace = MakeTask(Ordering, 4, {2, 1, 0, 3, 0});
    const TTask noVariants = MakeTask(SingleChoice, 0, {1, 0, 0, 0, 0});
    struct Case {
        const char* Name;
        const TTask& Task;
        TIntDynArray Order;
        TIntDynArray States;
        bool Right;
    } cases[] = {
        {"single, nothing chosen", single, kInOrder3, {0, 0, 0}, false},
        {"single, the keyed row", single, kInOrder3, {0, 1, 0}, true},
        {"single, another row", single, kInOrder3, {1, 0, 0}, false},
        {"single, key beyond VariantCount plays no part", singleKeyBeyond, kInOrder3, {0, 1, 0}, true},
        {"single, no shown variant keyed, nothing chosen", singleOnlyBeyond, kInOrder3, {0, 0, 0}, true},
        {"single, shuffled: variant 2 on row 3", single, {2, 0, 1}, {0, 0, 1}, true},
        {"single, shuffled: row 2 holds variant 1", single, {2, 0, 1}, {0, 1, 0}, false},
        {"multiple, only 1", multiple, kInOrder4, {1, 0, 0, 0}, false},
        {"multiple, 1, 3 and 4", multiple, kInOrder4, {1, 0, 1, 1}, false},
        {"multiple, exactly 1 and 3", multiple, kInOrder4, {1, 0, 1, 0}, true},
        {"multiple, shuffled", multiple, {3, 2, 1, 0}, {0, 1, 0, 1}, true},
        {"ordering, 2 1 3", ordering, kInOrder3, {2, 1, 3}, true},
        {"ordering, a box left empty", ordering, kInOrder3, {2, 1, 0}, false},
        {"ordering, shuffled rows carry their places", ordering, {2, 0, 1}, {3, 2, 1}, true},
        {"ordering, unplaced variant left empty", orderingNoPlace, kInOrder4, {2, 1, 0, 3}, true},
        {"ordering, unplaced variant given a number", orderingNoPlace, kInOrder4, {2, 1, 4, 3}, false},
        // Nothing to disagree with: the rule judges such a task right.
        {"no variants", noVariants, {}, {}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JudgeTask(c.Task, c.Order, c.States), c.Right) << c.Name;
}

TEST(ScoringTest, EducationFeedbackNamesRowsAsShownAndColoursThem)
{
    using enum RowColour;
    struct Case {
        const char* Name;
        TTask Task;
        TIntDynArray Order;
        TIntDynArray States;
        std::string Detail;
        std::vector<RowColour> Rows;
    } cases[] = {
        {"single: right on row 2, row 1 chosen", MakeTask(SingleChoice, 3, {0, 1, 0, 0, 0}), kInOrder3,
         {1, 0, 0}, "Верный ответ: 2;", {Error, Correct, Normal}},
        {"single: variant 1 shown on row 3", MakeTask(SingleChoice, 3, {1, 0, 0, 0, 0}), {1, 2, 0},
         {0, 0, 0}, "Верный ответ: 3;", {Normal, Normal, Correct}},
        {"multiple: right rows 1 and 3, rows 1 and 2 checked", MakeTask(MultipleChoice, 3, {1, 0, 1, 0, 0}),
         kInOrder3, {1, 1, 0}, "Верные ответы: 1; 3; ", {Correct, Error, Correct}},
        {"ordering: places 2 1 3, chosen 2 3 and none", MakeTask(Ordering, 3, {2, 1, 3, 0, 0}), kInOrder3,
         {2, 3, 0}, "Верные значения: \r\n2; \r\n1; \r\n3; ", {Correct, Error, Error}},
    };
    for (const Case& c : cases) {
        const TEducationFeedback feedback = EducationFeedback(c.Task, c.Order, c.States);
        EXPECT_EQ(feedback.Text, "Не правильно...   \r\n" + c.Detail) << c.Name;
        EXPECT_EQ(feedback.Rows, c.Rows) << c.Name;
    }
}

TEST(ScoringTest, JoinNumbersPutsSeparatorsOnlyBetween)
{
    EXPECT_EQ(JoinNumbers({}, ";"), "");
    EXPECT_EQ(JoinNumbers({3725}, ";"), "3725");
    EXPECT_EQ(JoinNumbers({12, 0, 7}, ";"), "12;0;7");
    EXPECT_EQ(JoinNumbers({-1, 2}, ", "), "-1, 2");
}

TEST(ScoringTest, MarksAndTheirWords)
{
    struct Case {
        TIntDynArray Marks;
        int32_t Right;
        int32_t Mark;
        std::string Text;
    } cases[] = {
        {{0, 3}, 2, 1, "незачет"},
        {{0, 3}, 3, 2, "зачет"},
        {{2, 3}, 1, 0, ""},           // pass/fail below every threshold: the number 0 is printed
        {{0, 0, 5, 7, 9}, 6, 3, ""},
        {{0, 5, 3}, 4, 3, ""},        // thresholds need not rise
        {{}, 10, 0, ""},
        {{-1, 4, 8}, 0, 1, ""},       // an unreadable threshold (-1) is always reached
        {{3, 6, 9, 12, 15}, 15, 5, ""},
    };
    for (const Case& c : cases) {
        const int32_t mark = ComputeMark(c.Marks, c.Right);
        EXPECT_EQ(mark, c.Mark) << c.Right;
        EXPECT_EQ(MarkTextFor(c.Marks, mark), c.Text) << c.Right;
    }
}

TSessionFacts TenTaskSession()
{
    TSessionFacts f;
    f.UserName = "Петров";
    f.TestTitle = "Десять";
    f.Marks = {0, 2, 5};
    f.TaskOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    f.AnswerResults = TIntDynArray(10, 0);
    f.TaskSeconds = TIntDynArray(10, 0);
    return f;
}

TEST(ScoringTest, StoppingOnTheFourthOfTenCountsTheShownTask)
{
    TSessionFacts f = TenTaskSession();
    f.AnswerResults[0] = 1;
    f.AnswerResults[2] = 1;
    f.TaskSeconds = {4, 9, 3, 11, 0, 0, 0, 0, 0, 0};
    f.CurrentTask = 3;
    f.TestSeconds = 40;
    f.SessionStart = {2024, 3, 5, 9, 0, 0, 0};
    f.SessionEnd = {2024, 3, 5, 9, 5, 0, 0};
    TTestResult r;
    r.EndMode = EndStopped;
    FillTestResult(r, f);
    EXPECT_EQ(r.TotalCount, 10);
    EXPECT_EQ(r.AskedCount, 4);
    EXPECT_EQ(r.RightCount, 2);
    EXPECT_EQ(r.WrongCount, 2);
    EXPECT_EQ(r.NotAskedCount, 6);
    EXPECT_EQ(r.Mark, 2);
    EXPECT_EQ(r.MarkText, "");
    EXPECT_EQ(r.ResultMask, "+-+-******");
    EXPECT_EQ(r.MaskValues, (TIntDynArray{1, 0, 1, 0, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(r.TimeMask, "4;9;3;11;0;0;0;0;0;0");
    EXPECT_EQ(r.Duration, 40);  // the ticks, not the five minutes between the times
    EXPECT_EQ(r.EndMode, EndStopped);
    EXPECT_EQ(r.UserName, "Петров");
}

TEST(ScoringTest, MasksAreInFileOrderWhateverTheOrderAsked)
{
    TSessionFacts f;
    f.Marks = {0, 3};
    f.TaskOrder = {2, 0, 1};  // asked: task 3, task 1, task 2
    f.AnswerResults = {1, 0, 0};
    f.TaskSeconds = {5, 7, 0};
    f.CurrentTask = 1;  // task 2 never shown
    TTestResult r;
    FillTestResult(r, f);
    EXPECT_EQ(r.TimeValues, (TIntDynArray{7, 0, 5}));
    EXPECT_EQ(r.TimeMask, "7;0;5");
    EXPECT_EQ(r.MaskValues, (TIntDynArray{0, -1, 1}));
    EXPECT_EQ(r.ResultMask, "-*+");
    EXPECT_EQ(r.AskedCount, 2);
    EXPECT_EQ(r.Mark, 1);
    EXPECT_EQ(r.MarkText, "незачет");
}

}  // namespace
}  // namespace quilmo
