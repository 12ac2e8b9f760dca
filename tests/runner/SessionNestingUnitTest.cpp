// A session is judged and ended once, also when the session timer runs out (or
// the session is discarded) while one of its boxes is open.

#include <QTimer>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/QtSessionFixture.h"

namespace quilmo::testing {
namespace {

const std::vector<TaskLines> kTwoTasks = {
    {"Первый", "1", {"да", "нет"}},
    {"Второй", "2", {"нет", "да"}},
};

class SessionNestingUnitTest : public SessionTest {
protected:
    // A session with a one-second limit for the whole test.
    void BeginWithTestLimit(const std::vector<TaskLines>& tasks = kTwoTasks)
    {
        OpenTestFile(TestFileLines("Вложенность", {1, 0}, tasks));
        form->Mode().ModeTimeLimit = 1;
        form->Mode().TimeLimitTest = 1;
        Begin();
        ASSERT_EQ(form->State(), TRunnerState::TestRunning);
    }
    // The time-out's own boxes, queued behind the box that is open.
    void ExpectTimeOut()
    {
        prompts.ExpectMessage("Время теста вышло!");
        ExpectResultWindow();
    }
    int Blocks() const
    {
        const std::string log = Log();
        int n = 0;
        for (size_t at = log.find("\r\n---------- "); at != std::string::npos;
             at = log.find("\r\n---------- ", at + 1))
            ++n;
        return n;
    }
    bool TimersStopped() const
    {
        return !form->findChild<QTimer*>("TimerTimeTest")->isActive() &&
               !form->findChild<QTimer*>("TimerTask")->isActive();
    }
};

TEST_F(SessionNestingUnitTest, TimeOutBehindTheStopQuestion)
{
    BeginWithTestLimit();
    Press("1");
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes).During([&] {
        form->TimerTimeTestTimer();
    });
    ExpectTimeOut();
    form->MTEndClick();  // the Yes comes after the session has ended

    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->Result().EndMode, EndTimeout);
    EXPECT_EQ(form->Result().ResultMask, "+*");
    EXPECT_EQ(Blocks(), 1);
    EXPECT_TRUE(TimersStopped());
}

TEST_F(SessionNestingUnitTest, TimeOutBehindTheEducationFeedback)
{
    // On the first task "Дальше" would show the next one, on the last it would end.
    for (const bool onLastTask : {false, true}) {
        SCOPED_TRACE(onLastTask ? "last task" : "first task");
        const auto feedbacksBefore = prompts.Messages().filter("Не правильно").size();
        BeginWithTestLimit();
        form->Mode().ModeEducation = 1;
        if (onLastTask) {
            Press("1");  // right: no feedback
            Next();
        }
        Press(onLastTask ? "1" : "2");  // wrong
        prompts.ExpectMessage(QStringLiteral("Не правильно...   \r\nВерный ответ: %1;").arg(onLastTask ? 2 : 1))
            .During([&] { form->TimerTimeTestTimer(); });
        ExpectTimeOut();
        Next();

        // No second feedback, no further task, one end.
        EXPECT_EQ(prompts.Messages().filter("Не правильно").size(), feedbacksBefore + 1);
        EXPECT_EQ(form->State(), TRunnerState::TestOpen);
        EXPECT_EQ(form->findChild<QLabel*>("QuestionLabel")->text(), "Результаты тестирования:");
        EXPECT_EQ(form->Result().EndMode, EndTimeout);
        EXPECT_EQ(form->Result().ResultMask, onLastTask ? "+-" : "-*");
        EXPECT_EQ(Blocks(), 1);
        EXPECT_TRUE(TimersStopped());
        prompts.Verify();
        Stop();
        std::remove((folder / "result.txt").c_str());
    }
}

TEST_F(SessionNestingUnitTest, LateTaskTickBehindTheFeedbackNeitherCountsNorMovesOn)
{
    OpenTestFile(TestFileLines("Вложенность", {1, 0}, kTwoTasks));
    form->Mode().ModeTimeLimit = 2;
    form->Mode().TimeLimitTask = 1;
    form->Mode().ModeEducation = 1;
    Begin();
    Press("2");  // wrong
    prompts.ExpectMessage("Не правильно...   \r\nВерный ответ: 1;").During([&] {
        form->TimerTaskTimer();  // no time-out message, no second task
    });
    Next();
    EXPECT_EQ(form->findChild<QLabel*>("QuestionLabel")->text(), "Вопрос №2 из 2:");
    EXPECT_EQ(form->CurrentTaskPosition(), 1);
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    prompts.ExpectMessage("Не правильно...   \r\nВерный ответ: 2;");
    ExpectResultWindow();
    form->MTEndClick();
    EXPECT_EQ(form->Result().TimeMask, "0;0");
}

TEST_F(SessionNestingUnitTest, TimeOutBehindTheTaskTimeOutMessage)
{
    // The menus offer one kind of limit at a time; switching behind the box is
    // the only way to have both timers run out together.
    OpenTestFile(TestFileLines("Вложенность", {1, 0}, kTwoTasks));
    form->Mode().ModeTimeLimit = 2;
    form->Mode().TimeLimitTask = 1;
    Begin();
    prompts.ExpectMessage("Время обдумывания вопроса вышло!").During([&] {
        form->Mode().ModeTimeLimit = 1;
        form->Mode().TimeLimitTest = 1;
        form->TimerTimeTestTimer();
    });
    ExpectTimeOut();
    form->TimerTaskTimer();

    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->Result().EndMode, EndTimeout);
    EXPECT_EQ(form->Result().AskedCount, 1);
    EXPECT_EQ(Blocks(), 1);
    EXPECT_TRUE(TimersStopped());
}

TEST_F(SessionNestingUnitTest, TimeOutBehindThePictureWindow)
{
    std::ifstream in(std::string(QUILMO_EXAMPLES) + "/demo/triangle.jpg", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    folder.Write("triangle.jpg", bytes.str());
    BeginWithTestLimit({{"С картинкой", "1", {"да", "нет"}, "", "triangle.jpg"}});
    prompts.ExpectModal("TShowQuestionImageForm", [](QDialog&) { return int(QDialog::Rejected); })
        .During([&] { form->TimerTimeTestTimer(); });
    ExpectTimeOut();
    form->QuestionImageClick();

    EXPECT_EQ(form->Result().EndMode, EndTimeout);
    EXPECT_EQ(Blocks(), 1);
    EXPECT_TRUE(TimersStopped());
}

TEST_F(SessionNestingUnitTest, TimeOutBehindTheMissingPictureMessage)
{
    OpenTestFile(TestFileLines("Вложенность", {1, 0}, {{"Без файла", "1", {"да"}, "", "gone.jpg"}}));
    form->Mode().ModeTimeLimit = 1;
    form->Mode().TimeLimitTest = 1;
    ExpectNamePrompt("Петя");
    prompts.ExpectMessage("Файл с изображением отсутствует!").During([&] {
        form->TimerTimeTestTimer();
    });
    ExpectTimeOut();
    form->MTBeginClick();

    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->Result().EndMode, EndTimeout);
    EXPECT_EQ(form->Result().ResultMask, "-");
    EXPECT_TRUE(TimersStopped());  // the task timer was never started for the ended session
}

TEST_F(SessionNestingUnitTest, DiscardedBehindTheStopQuestionNothingIsJudgedOrWritten)
{
    OpenTestFile(TestFileLines("Отмена", {1, 0}, kTwoTasks));
    Begin();
    Press("1");
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes).During([&] {
        form->DiscardSession();
    });
    form->MTEndClick();

    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->Result().EndMode, 0);  // no result at all
    EXPECT_EQ(Log(), "05.03.2024 09:15:02 Начат тест: \"Отмена\"\r\n");
    EXPECT_TRUE(TimersStopped());
    // The box's timers have no session to act on either.
    form->TimerTimeTestTimer();
    form->TimerTaskTimer();
    Next();
}

TEST_F(SessionNestingUnitTest, ReopeningTheCommandLineTestDiscardsTheSession)
{
    const std::string path = folder.Write(
        "cmd.tst", Utf8ToCp1251(JoinLinesCrLf(TestFileLines("Командная строка", {1, 0}, kTwoTasks))));
    Start({QString::fromStdString(path)});
    form->FormShow();
    Begin();
    Press("1");
    Next();
    ASSERT_EQ(form->CurrentTaskPosition(), 1);

    form->FormShow();  // the main window shown again after the editor
    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_TRUE(TimersStopped());
    EXPECT_EQ(form->Tasks().size(), 2u);
    EXPECT_EQ(form->Result().EndMode, 0);
    EXPECT_EQ(form->findChild<QLabel*>("StatusPanel6")->text(), "");

    // A fresh session starts from the first task of the reopened test.
    Begin();
    EXPECT_EQ(form->CurrentTaskPosition(), 0);
    EXPECT_EQ(form->findChild<QLabel*>("QuestionLabel")->text(), "Вопрос №1 из 2:");
}

}  // namespace
}  // namespace quilmo::testing
