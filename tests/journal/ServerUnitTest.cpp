// The journal window: opening and closing, the table and the log, the runner's
// two messages arriving over a loopback connection, and leaving the program.

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>

#include <cerrno>
#include <set>
#include <thread>

#include "journal/QtClassPage.h"
#include "journal/ServerUnit.h"
#include "model/FileIO.h"
#include "support/Loopback.h"
#include "support/QtRunnerFixture.h"

namespace quilmo::testing {
namespace {

const QString kCloseJournal = QStringLiteral(
    "При закрытии окна \"журнала\" сообщения о результатах тестирования получатся не будут.\r\n"
    "Закрыть окно?");
const QString kLeaveUnsaved = QStringLiteral(
    "Вы желаете выйти из программы не сохранив результаты в модуле \"Журнала\"?");

journal::TTestResult Sample(const std::string& user = "Иванов Пётр")
{
    journal::TTestResult r;
    r.UserName = user;
    r.CompName = "PC-3";
    r.CompUserName = "pupil";
    r.TestTitle = "Дроби";
    r.TestFile = "/srv/Дроби.tst";
    r.TotalCount = 10;
    r.AskedCount = 3;
    r.RightCount = 2;
    r.WrongCount = 1;
    r.NotAskedCount = 7;
    r.Mark = 4;
    r.StartTime = {2024, 3, 5, 9, 15, 2, 0};
    r.EndTime = {2024, 3, 5, 10, 17, 7, 0};
    r.Duration = 3725;
    r.EndMode = 5;
    r.ResultMask = "++-*******";
    r.MaskValues = journal::MaskValuesFromResultMask(r.ResultMask);
    r.TimeMask = "1;2;3;0;0;0;0;0;0;0";
    r.RemoteIP = "10.0.0.3";
    r.ReceivedTime = {2024, 3, 5, 10, 17, 9, 0};
    r.FileCrc = 255;
    return r;
}

journal::ReceivedEvent ResultEvent(const std::string& user = "Иванов Пётр")
{
    journal::ReceivedEvent e;
    e.kind = journal::ReceivedEvent::Kind::Result;
    e.Result = Sample(user);
    return e;
}

// A runner's finished session, as it travels.
TTestResult RunnerResultSample()
{
    TTestResult r;
    r.UserName = "Ann";
    r.CompName = "PC-1";
    r.CompUserName = "pupil";
    r.TestTitle = "T";
    r.TestFile = "/t.tst";
    r.TotalCount = 1;
    r.AskedCount = 1;
    r.RightCount = 1;
    r.Mark = 1;
    r.StartTime = {2024, 3, 5, 9, 0, 0, 0};
    r.EndTime = {2024, 3, 5, 9, 0, 5, 0};
    r.Duration = 5;
    r.EndMode = EndTimeout;
    r.ResultMask = "+";
    r.TimeMask = "5";
    r.FileCrc = 7;
    return r;
}

template <class Condition>
bool WaitUntil(Condition done, int limitMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// What the runner on CLASS-PC-07 sends at the end of a test.
TTestResult RunnerResult()
{
    TTestResult result;
    result.UserName = "Иванов";
    result.CompName = "CLASS-PC-07";
    result.TestTitle = "Дроби";
    result.TotalCount = 4;
    result.AskedCount = 4;
    result.RightCount = 3;
    result.WrongCount = 1;
    result.Mark = 5;
    result.StartTime = {2024, 3, 5, 9, 0, 0, 0};
    result.EndTime = {2024, 3, 5, 9, 4, 10, 0};
    result.Duration = 250;
    result.EndMode = EndFinished;
    result.ResultMask = "+-++";
    result.TimeMask = "60;60;60;70";
    result.FileCrc = 0xCAFE;
    return result;
}

class ServerUnitTest : public RunnerTest {
protected:
    TServerForm& Journal()
    {
        if (!form)
            Start();
        return form->ServerForm();
    }
    QStringList Log() { return Journal().findChild<QPlainTextEdit*>("Messages")->toPlainText().split('\n'); }
    // Opens the journal from the runner's menu on a free port.
    TServerForm& OpenJournal()
    {
        Journal();
        form->Config().LocalPort = std::to_string(0);  // any free port
        form->MMServerClick();
        return form->ServerForm();
    }
    void CloseJournal(PromptAnswer answer = PromptAnswer::Yes)
    {
        prompts.ExpectMessage(kCloseJournal, answer);
        Journal().close();
    }
    QStringList Row(int row)
    {
        QStringList cells;
        for (int c = 0; c < 21; ++c)
            cells << Journal().Cell(c, row);
        return cells;
    }
};

TEST_F(ServerUnitTest, StartsHiddenWithTheResultsPageAndTheHeaderRow)
{
    TServerForm& journal = Journal();
    EXPECT_FALSE(journal.isVisible());
    EXPECT_FALSE(journal.Listening());
    EXPECT_EQ(journal.windowTitle(), "Журнал (Сервер)");
    EXPECT_EQ(journal.findChild<QTabWidget*>("PageControl")->currentWidget()->objectName(), "TabSheetResults");
    EXPECT_EQ(journal.GridRowCount(), 2);
    EXPECT_EQ(journal.Cell(0, 0), "");
    EXPECT_EQ(journal.Cell(4, 0), "Результат");
    EXPECT_EQ(journal.Cell(20, 0), "Реж. ок.");
    EXPECT_EQ(Row(1), QStringList(QVector<QString>(21)));
    EXPECT_EQ(journal.ColumnWidth(15), 373);
    EXPECT_FALSE(journal.HasUnsaved());
    EXPECT_TRUE(form->Menus().MMServer->isEnabled());
}

TEST_F(ServerUnitTest, FirstResultFillsRowOneAndTheSecondAddsARow)
{
    TServerForm& journal = Journal();
    journal.ReceiveEvent(ResultEvent("Первый"));
    EXPECT_EQ(journal.GridRowCount(), 2);
    EXPECT_EQ(Row(1), (QStringList{"10:17:09", "PC-3", "Первый", "4", "66,7%", "10", "3", "2", "1",
                                   "7", "++-*******", "1;2;3;0;0;0;0;0;0;0", "09:15:02", "10:17:07",
                                   "01:02:05", "Дроби", "/srv/Дроби.tst", "000000FF", "pupil",
                                   "10.0.0.3", ""}));
    EXPECT_TRUE(journal.HasUnsaved());
    EXPECT_EQ(Log().last(), "05.03.2024 10:17:09  PC-3(10.0.0.3) [Первый] Получены результаты тестирования.");

    journal.ReceiveEvent(ResultEvent("Второй"));
    EXPECT_EQ(journal.GridRowCount(), 3);
    EXPECT_EQ(journal.Cell(2, 2), "Второй");
    EXPECT_EQ(journal.Results().size(), 2u);
}

TEST_F(ServerUnitTest, DeletingRows)
{
    TServerForm& journal = Journal();
    for (const char* name : {"A", "B", "C"})
        journal.ReceiveEvent(ResultEvent(name));

    journal.SelectRow(0);  // the header: nothing happens
    journal.MDeleteClick();
    EXPECT_EQ(journal.Results().size(), 3u);

    journal.SelectRow(2);  // "B": later rows move up, the last goes
    journal.MDeleteClick();
    ASSERT_EQ(journal.Results().size(), 2u);
    EXPECT_EQ(journal.Results()[1].UserName, "C");
    EXPECT_EQ(journal.GridRowCount(), 3);
    EXPECT_EQ(journal.Cell(2, 1), "A");
    EXPECT_EQ(journal.Cell(2, 2), "C");
    EXPECT_TRUE(journal.HasUnsaved());

    journal.SelectRow(1);
    journal.MDeleteClick();
    journal.SelectRow(1);
    journal.MDeleteClick();  // the only result: the empty data row stays
    EXPECT_TRUE(journal.Results().empty());
    EXPECT_EQ(journal.GridRowCount(), 2);
    EXPECT_EQ(Row(1), QStringList(QVector<QString>(21)));
    EXPECT_FALSE(journal.HasUnsaved());

    journal.SelectRow(1);  // the empty row is no entry
    journal.MDeleteClick();
    EXPECT_EQ(journal.GridRowCount(), 2);

    journal.ReceiveEvent(ResultEvent("D"));  // fills row 1 again
    EXPECT_EQ(journal.GridRowCount(), 2);
    EXPECT_EQ(journal.Cell(2, 1), "D");
}

TEST_F(ServerUnitTest, SaveAsIsOfferedOnlyOnTheResultsPage)
{
    TServerForm& journal = Journal();
    auto* pages = journal.findChild<QTabWidget*>("PageControl");
    pages->setCurrentIndex(0);
    ASSERT_EQ(pages->tabText(0), "Сообщения");
    journal.MFileClick();
    EXPECT_FALSE(journal.Menus().MFaleSaveAs->isEnabled());
    pages->setCurrentIndex(1);
    journal.MFileClick();
    EXPECT_TRUE(journal.Menus().MFaleSaveAs->isEnabled());
}

TEST_F(ServerUnitTest, FitColumnWidthsMeasuresEveryCellHeaderIncluded)
{
    TServerForm& journal = Journal();
    journal.ReceiveEvent(ResultEvent("Очень длинное имя ученика"));
    journal.MOptimizeWidthColGridClick();
    const QFontMetrics metrics(journal.findChild<QTableWidget*>("ResultGrid")->font());
    EXPECT_EQ(journal.ColumnWidth(2), metrics.horizontalAdvance("Очень длинное имя ученика") + 10);
    EXPECT_EQ(journal.ColumnWidth(4), metrics.horizontalAdvance("Результат") + 10);
    EXPECT_EQ(journal.ColumnWidth(20), metrics.horizontalAdvance("Реж. ок.") + 10);
    journal.SelectRow(1);
    journal.MDeleteClick();
    journal.MOptimizeWidthColGridClick();
    EXPECT_EQ(journal.ColumnWidth(0), 10);  // no header, no text
}

TEST_F(ServerUnitTest, MalformedResultShowsTheErrorLogsItsReasonAndChangesNothing)
{
    TServerForm& journal = Journal();
    journal::ReceivedEvent bad;
    bad.kind = journal::ReceivedEvent::Kind::Malformed;
    bad.Time = {2024, 3, 5, 10, 20, 1, 0};
    bad.CompName = "PC-9";
    bad.PeerAddress = "10.0.0.9";
    bad.Reason = "строка 5 (оценка) не целое число";
    prompts.ExpectMessage("Ошибка 7777!");
    journal.ReceiveEvent(bad);
    EXPECT_EQ(prompts.Last().Caption, "Quilmo");
    EXPECT_TRUE(journal.Results().empty());
    EXPECT_FALSE(journal.HasUnsaved());
    EXPECT_EQ(Log(), QStringList{"05.03.2024 10:20:01  PC-9(10.0.0.9) Отклонено сообщение: "
                                 "строка 5 (оценка) не целое число."});
}

TEST_F(ServerUnitTest, MalformedResultsWhileTheBoxIsOpenAreCountedInTheNextBox)
{
    TServerForm& journal = Journal();
    journal::ReceivedEvent bad;
    bad.kind = journal::ReceivedEvent::Kind::Malformed;
    bad.PeerAddress = "10.0.0.9";
    bad.Reason = "сообщение оборвано после строки 3 из 19";
    // Three arrive behind the first box: one more box, which says so; one
    // behind that box: a third box. Every one of them is logged.
    prompts.ExpectMessage("Ошибка 7777!").During([&] {
        for (int i = 0; i < 3; ++i)
            journal.ReceiveEvent(bad);
    });
    prompts.ExpectMessage("Ошибка 7777!\r\nПока это окно было открыто, пришло ещё ошибочных результатов: 3.")
        .During([&] { journal.ReceiveEvent(bad); });
    prompts.ExpectMessage("Ошибка 7777!\r\nПока это окно было открыто, пришло ещё ошибочных результатов: 1.");
    journal.ReceiveEvent(bad);
    prompts.Verify();
    EXPECT_EQ(Log().size(), 5);
    EXPECT_TRUE(Log().last().endsWith("  (10.0.0.9) Отклонено сообщение: сообщение оборвано после строки 3 из 19."));

    // Once the boxes are closed, the next one is plain again.
    prompts.ExpectMessage("Ошибка 7777!");
    journal.ReceiveEvent(bad);
}

TEST_F(ServerUnitTest, ABatchIsShownInOrderOfArrivalBeforeItsErrorBox)
{
    TServerForm& journal = Journal();
    journal::ReceivedEvent bad;
    bad.kind = journal::ReceivedEvent::Kind::Malformed;
    bad.PeerAddress = "10.0.0.9";
    bad.Reason = "сообщение оборвано после строки 3 из 19";
    journal::ReceivedEvent started;
    started.kind = journal::ReceivedEvent::Kind::Message;
    started.CompName = "PC-4";
    started.PeerAddress = "10.0.0.4";
    started.UserName = "Второй";
    started.Text = "Начат тест";
    std::vector<journal::ReceivedEvent> batch;
    batch.push_back(ResultEvent("Первый"));
    batch.push_back(bad);
    batch.push_back(started);
    batch.push_back(ResultEvent("Второй"));
    batch.push_back(bad);
    // The box comes once the whole batch is in the table and the log; what
    // arrives behind it goes after the batch.
    prompts.ExpectMessage("Ошибка 7777!").During([&] {
        EXPECT_EQ(journal.Results().size(), 2u);
        EXPECT_EQ(journal.GridRowCount(), 3);
        EXPECT_EQ(Log().size(), 5);
        journal.ReceiveEvent(ResultEvent("Третий"));
    });
    prompts.ExpectMessage("Ошибка 7777!\r\nПока это окно было открыто, пришло ещё ошибочных результатов: 1.");
    journal.ReceiveEvents(std::move(batch));
    prompts.Verify();
    ASSERT_EQ(journal.Results().size(), 3u);
    EXPECT_EQ(journal.Cell(2, 1), "Первый");
    EXPECT_EQ(journal.Cell(2, 2), "Второй");
    EXPECT_EQ(journal.Cell(2, 3), "Третий");
    EXPECT_EQ(journal.GridRowCount(), 4);
    EXPECT_TRUE(journal.HasUnsaved());
    const QStringList log = Log();
    ASSERT_EQ(log.size(), 6);
    EXPECT_TRUE(log[0].endsWith("[Первый] Получены результаты тестирования."));
    EXPECT_TRUE(log[1].contains("Отклонено сообщение"));
    EXPECT_TRUE(log[2].endsWith("PC-4(10.0.0.4) [Второй] Начат тест."));
    EXPECT_TRUE(log[3].endsWith("[Второй] Получены результаты тестирования."));
    EXPECT_TRUE(log[4].contains("Отклонено сообщение"));
    EXPECT_TRUE(log[5].endsWith("[Третий] Получены результаты тестирования."));
    EXPECT_TRUE(journal.updatesEnabled());
}

TEST_F(ServerUnitTest, ClosingAndReopeningLogsStopAndStartAndKeepsTheTable)
{
    TServerForm& journal = OpenJournal();
    ASSERT_TRUE(journal.isVisible());
    EXPECT_TRUE(journal.Listening());
    EXPECT_NE(journal.BoundPort(), 0);
    journal.ReceiveEvent(ResultEvent());

    CloseJournal(PromptAnswer::No);  // stays open and listening
    EXPECT_TRUE(journal.isVisible());
    EXPECT_NE(journal.BoundPort(), 0);

    CloseJournal(PromptAnswer::Yes);
    EXPECT_FALSE(journal.isVisible());
    EXPECT_FALSE(journal.Listening());
    EXPECT_EQ(journal.BoundPort(), 0);

    platform.Clock = {2024, 3, 5, 11, 0, 0, 0};
    form->MMServerClick();
    EXPECT_TRUE(journal.Listening());
    const QStringList log = Log();
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log[0], "05.03.2024 09:15:02  CLASS-PC-07(192.168.1.17): Сервер запущен...");
    EXPECT_TRUE(log[1].endsWith("Получены результаты тестирования."));
    EXPECT_EQ(log[2], "05.03.2024 09:15:02  Сервер остановлен...");
    EXPECT_EQ(log[3], "05.03.2024 11:00:00  CLASS-PC-07(192.168.1.17): Сервер запущен...");
    EXPECT_EQ(journal.Results().size(), 1u);
    EXPECT_EQ(journal.Cell(2, 1), "Иванов Пётр");

    // Opened again while open: only brought forward, no second start line.
    form->MMServerClick();
    EXPECT_EQ(Log().size(), 4);
}

TEST_F(ServerUnitTest, JournalOnAPortInUseSaysSoAndStaysOpen)
{
    auto other = std::make_unique<LoopbackServer>();
    const std::string port = std::to_string(other->Port());
    Start();
    platform.Clock = {2024, 3, 5, 9, 15, 2, 0};
    form->Config().LocalPort = port;
    const QString text = QString::fromUtf8("Сервер не запущен: порт " + port + " недоступен (" +
                                           SystemErrorText(EADDRINUSE) + ").");
    prompts.ExpectMessage(text);
    form->MMServerClick();
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    TServerForm& journal = form->ServerForm();
    EXPECT_TRUE(journal.isVisible());
    EXPECT_FALSE(journal.Listening());
    EXPECT_EQ(journal.BoundPort(), 0);
    EXPECT_EQ(Log(), QStringList{"05.03.2024 09:15:02  " + text});

    // Nothing to stop: no question, no stop line. Once the port is free, the
    // journal listens on it.
    journal.close();
    EXPECT_FALSE(journal.isVisible());
    other.reset();
    form->MMServerClick();
    EXPECT_TRUE(journal.Listening());
    EXPECT_EQ(journal.BoundPort(), std::stoi(port));
    EXPECT_EQ(Log().size(), 2);
    EXPECT_TRUE(Log().last().endsWith("Сервер запущен..."));

    // A port text that names no port.
    CloseJournal();
    form->Config().LocalPort = "no-such-service";
    prompts.ExpectMessage("Сервер не запущен: порт no-such-service недоступен (нет такого порта).");
    form->MMServerClick();
    EXPECT_FALSE(journal.Listening());
}

TEST_F(ServerUnitTest, ClosingStopsAcceptingButKeepsTheResultsBeingRead)
{
    TServerForm& journal = OpenJournal();
    const uint16_t port = journal.BoundPort();
    const std::vector<std::string> lines = journal::EncodeLines(journal::ResultLines(RunnerResultSample()));
    std::string head, tail;
    for (size_t i = 0; i < lines.size(); ++i)
        (i < 7 ? head : tail) += lines[i];
    LoopbackClient reading(port);
    ASSERT_TRUE(reading.Send(head));
    QThread::msleep(50);  // taken by a worker

    CloseJournal();
    EXPECT_FALSE(journal.Listening());
    EXPECT_TRUE(Log().last().endsWith("Сервер остановлен..."));
    // New runners are refused at once and keep their results...
    EXPECT_FALSE(LoopbackClient(port).Connected());
    // ...while the one being read finishes, and its result is kept.
    ASSERT_TRUE(reading.Send(tail));
    reading.Close();
    ASSERT_TRUE(WaitUntil([&] { return journal.Results().size() == 1; }));
    EXPECT_EQ(journal.Results()[0].UserName, "Ann");
    EXPECT_TRUE(journal.HasUnsaved());
    EXPECT_TRUE(Log().last().endsWith("[Ann] Получены результаты тестирования."));
}

TEST_F(ServerUnitTest, ABacklogOfManySlicesIsShownWholeOnceEach)
{
    // More than the window shows in one turn, from several runners at once:
    // every result reaches the list, the table, the class page and the log once.
    TServerForm& journal = OpenJournal();
    const uint16_t port = journal.BoundPort();
    constexpr int kRunners = 4, kEach = 400;
    std::vector<std::thread> runners;
    for (int t = 0; t < kRunners; ++t)
        runners.emplace_back([port, t] {
            for (int i = 0; i < kEach; ++i) {
                TTestResult r = RunnerResultSample();
                r.UserName = "Ученик " + std::to_string(t * kEach + i);
                journal::SendLines("127.0.0.1", std::to_string(port), journal::EncodeLines(journal::ResultLines(r)));
            }
        });
    for (std::thread& t : runners)
        t.join();
    ASSERT_TRUE(WaitUntil([&] { return journal.Results().size() == size_t(kRunners * kEach); }, 30000));
    QCoreApplication::processEvents();
    EXPECT_EQ(journal.Results().size(), size_t(kRunners * kEach));
    EXPECT_EQ(journal.GridRowCount(), kRunners * kEach + 1);
    std::set<std::string> names;
    for (const auto& r : journal.Results())
        names.insert(r.UserName);
    EXPECT_EQ(names.size(), size_t(kRunners * kEach));
    EXPECT_EQ(journal.ClassPage()->RowCount(), kRunners * kEach + 1);
    EXPECT_EQ(Log().size(), kRunners * kEach + 1);  // and the start line
}

TEST_F(ServerUnitTest, ClosingCutsAReadThatDoesNotFinishInFiveSeconds)
{
    TServerForm& journal = OpenJournal();
    const uint16_t port = journal.BoundPort();
    LoopbackClient stalled(port);
    ASSERT_TRUE(stalled.Send("RESULT\r\nAnn\r\n"));
    QThread::msleep(50);
    CloseJournal();
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(stalled.PeerClosed(8000));
    EXPECT_GE(timer.elapsed(), 4500);
    EXPECT_LT(timer.elapsed(), 7000);
    WaitUntil([] { return false; }, 100);
    EXPECT_TRUE(journal.Results().empty());
}

TEST_F(ServerUnitTest, RunnerMessagesArriveInTheJournal)
{
    TServerForm& journal = OpenJournal();
    form->Mode().SendResult = 1;
    form->Config().RemoteHost = "localhost";
    form->Config().RemotePort = std::to_string(journal.BoundPort());

    form->SetJournalSessionForTest("Иванов", RunnerResult());

    form->SendTestMessage("Начат тест");
    ASSERT_TRUE(WaitUntil([&] { return Log().size() == 2; }));
    EXPECT_EQ(Log()[1], "05.03.2024 09:15:02  CLASS-PC-07(127.0.0.1) [Иванов] Начат тест.");
    EXPECT_FALSE(journal.HasUnsaved());

    form->SendTestResult();
    ASSERT_TRUE(WaitUntil([&] { return journal.Results().size() == 1; }));
    EXPECT_EQ(Row(1), (QStringList{"09:15:02", "CLASS-PC-07", "Иванов", "5", "75,0%", "4", "4", "3",
                                   "1", "0", "+-++", "60;60;60;70", "09:00:00", "09:04:10",
                                   "00:04:10", "Дроби", "", "0000CAFE", "", "127.0.0.1", "END"}));
    EXPECT_TRUE(journal.HasUnsaved());
    EXPECT_EQ(journal.Results()[0].MaskValues, (TIntDynArray{1, 0, 1, 1}));
}

QStringList ClassRow(const TClassPage& page, int row)
{
    QStringList cells;
    for (int c = 0; c < 8; ++c)
        cells << page.Cell(c, row);
    return cells;
}

TEST_F(ServerUnitTest, ClassPageFollowsEachLearnerThroughTheListener)
{
    TServerForm& journal = OpenJournal();
    auto* pages = journal.findChild<QTabWidget*>("PageControl");
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->tabText(2), "Класс");
    const TClassPage& page = *journal.ClassPage();
    EXPECT_EQ(ClassRow(page, 0),
              (QStringList{"Компьютер", "IP", "Имя", "Тест", "Начат", "Состояние", "Оценка", "Результат"}));
    EXPECT_EQ(page.RowCount(), 1);

    form->Mode().SendResult = 1;
    form->Config().RemoteHost = "127.0.0.1";
    form->Config().RemotePort = std::to_string(journal.BoundPort());
    TTestResult result = RunnerResult();
    result.EndMode = EndStopped;
    form->SetJournalSessionForTest("Иванов", result);

    form->SendTestMessage("Начат тест");
    ASSERT_TRUE(WaitUntil([&] { return page.RowCount() == 2; }));
    EXPECT_EQ(ClassRow(page, 1), (QStringList{"CLASS-PC-07", "127.0.0.1", "Иванов", "", "09:15:02",
                                              "тестируется 00:00:00", "", ""}));
    platform.Clock = {2024, 3, 5, 9, 27, 36, 0};
    journal.ClassPage()->TimerClassTimer();
    EXPECT_EQ(page.Cell(5, 1), "тестируется 00:12:34");

    form->SendTestResult();
    ASSERT_TRUE(WaitUntil([&] { return journal.Results().size() == 1; }));
    EXPECT_EQ(ClassRow(page, 1), (QStringList{"CLASS-PC-07", "127.0.0.1", "Иванов", "Дроби", "09:15:02",
                                              "остановил", "5", "75,0%"}));
    EXPECT_EQ(page.RowCount(), 2);

    // Starting again on the same workstation: a row of its own; the finished
    // row no longer ticks.
    platform.Clock = {2024, 3, 5, 9, 30, 0, 0};
    form->SendTestMessage("Начат тест");
    ASSERT_TRUE(WaitUntil([&] { return page.RowCount() == 3; }));
    platform.Clock = {2024, 3, 5, 9, 30, 5, 0};
    journal.ClassPage()->TimerClassTimer();
    EXPECT_EQ(page.Cell(5, 1), "остановил");
    EXPECT_EQ(page.Cell(4, 2), "09:30:00");
    EXPECT_EQ(page.Cell(5, 2), "тестируется 00:00:05");

    // Closing and reopening keeps the page.
    CloseJournal(PromptAnswer::Yes);
    form->MMServerClick();
    EXPECT_EQ(page.RowCount(), 3);
    EXPECT_EQ(page.Cell(2, 2), "Иванов");
}

TEST_F(ServerUnitTest, RunnerSendsTheExactBytesToItsPeer)
{
    Start();
    LoopbackServer peer;
    form->Mode().SendResult = 1;
    form->Config().RemoteHost = "127.0.0.1";
    form->Config().RemotePort = std::to_string(peer.Port());
    form->SetJournalSessionForTest("Ann", RunnerResultSample());

    form->SendTestMessage("Начат тест");
    bool connected = false;
    EXPECT_EQ(peer.ReceiveOne(connected),
              "MESSAGE\r\nAnn\r\nCLASS-PC-07\r\npupil\r\n\xCD\xE0\xF7\xE0\xF2 \xF2\xE5\xF1\xF2\r\n");
    form->SendTestResult();
    EXPECT_EQ(peer.ReceiveOne(connected),
              "RESULT\r\nAnn\r\nPC-1\r\npupil\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\n"
              "05.03.2024 09:00:00\r\n05.03.2024 09:00:05\r\n5\r\nT\r\n/t.tst\r\n+\r\n5\r\n3\r\n7\r\n");
}

TEST_F(ServerUnitTest, RunnerWithoutAJournal)
{
    Start();
    LoopbackServer peer;
    form->Config().RemotePort = std::to_string(peer.Port());
    form->Mode().SendResult = 0;  // off: no connection, no box
    form->SendTestMessage("Начат тест");
    form->SendTestResult();
    bool connected = true;
    peer.ReceiveOne(connected, 100);
    EXPECT_FALSE(connected);
    EXPECT_TRUE(prompts.Shown().empty());

    form->Mode().SendResult = 1;
    for (const std::string& port : {std::to_string(UnusedPort()), std::string("no-such-service")}) {
        form->Config().RemotePort = port;
        prompts.ExpectMessage("Сервер не найден!");
        form->SendTestMessage("Начат тест");
        EXPECT_EQ(prompts.Last().Caption, "Error");
        EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
        prompts.ExpectMessage("Сервер не найден!");
        form->SendTestResult();
    }
}

TEST_F(ServerUnitTest, AResultThatFoundNoJournalIsDeliveredOnceWhenTheJournalComesUp)
{
    Start();
    const std::string port = std::to_string(UnusedPort());
    form->Mode().SendResult = 1;
    form->Config().RemoteHost = "127.0.0.1";
    form->Config().RemotePort = port;
    form->SetJournalSessionForTest("Ann", RunnerResultSample());
    QLabel* queue = form->findChild<QLabel*>("StatusPanel8");
    EXPECT_EQ(queue->text(), "");

    // The journal is down: the box as always, and the result waits; the
    // start of a test does not.
    prompts.ExpectMessage("Сервер не найден!");
    form->SendTestMessage("Начат тест");
    EXPECT_EQ(form->OutboxCount(), 0);
    prompts.ExpectMessage("Сервер не найден!");
    form->SendTestResult();
    EXPECT_EQ(form->OutboxCount(), 1);
    EXPECT_EQ(queue->text(), "В очереди: 1");
    EXPECT_TRUE(FileExists(folder / "outbox.sqlite"));
    form->TimerOutboxTimer();  // still down: it stays
    EXPECT_EQ(form->OutboxCount(), 1);

    // It survives the program's end.
    Stop();
    Start();
    EXPECT_EQ(form->OutboxCount(), 1);
    EXPECT_EQ(form->findChild<QLabel*>("StatusPanel8")->text(), "В очереди: 1");

    // The journal comes up on that port; the next message takes the result along, first.
    form->Mode().SendResult = 1;
    form->Config().RemoteHost = "127.0.0.1";
    form->Config().RemotePort = port;
    form->Config().LocalPort = port;
    form->MMServerClick();
    TServerForm& journal = form->ServerForm();
    ASSERT_TRUE(journal.Listening());
    form->SetJournalSessionForTest("Bob", RunnerResultSample());
    form->SendTestMessage("Начат тест");
    EXPECT_EQ(form->OutboxCount(), 0);
    EXPECT_EQ(form->findChild<QLabel*>("StatusPanel8")->text(), "");
    ASSERT_TRUE(WaitUntil([&] { return journal.Results().size() == 1 && Log().size() == 3; }));
    EXPECT_EQ(journal.Results()[0].UserName, "Ann");
    EXPECT_EQ(journal.Results()[0].FileCrc, 7u);

    // Delivered results are never sent again, by a message or by the timer.
    form->TimerOutboxTimer();
    form->SendTestMessage("Начат тест");
    ASSERT_TRUE(WaitUntil([&] { return Log().size() == 4; }));
    WaitUntil([] { return false; }, 200);
    EXPECT_EQ(journal.Results().size(), 1u);
}

TEST_F(ServerUnitTest, AnOutboxThatCannotBeWrittenIsSaid)
{
    // A folder where the file should be.
    folder.Write("outbox.sqlite/x", "");
    Start();
    form->Mode().SendResult = 1;
    form->Config().RemoteHost = "127.0.0.1";
    form->Config().RemotePort = std::to_string(UnusedPort());
    form->SetJournalSessionForTest("Ann", RunnerResultSample());
    prompts.ExpectMessage("Сервер не найден!");
    prompts.ExpectMessage("");
    form->SendTestResult();
    EXPECT_TRUE(prompts.Last().Text.startsWith("Результат не сохранен для повторной отправки:\r\n"));
    EXPECT_GT(prompts.Last().Text.size(), 50);  // and why
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    EXPECT_EQ(form->OutboxCount(), 0);
}

TEST_F(ServerUnitTest, TheMinuteTimerSendsWhatWaitsWhenNoTestIsRunning)
{
    Start();
    const std::string port = std::to_string(UnusedPort());
    form->Mode().SendResult = 1;
    form->Config().RemoteHost = "127.0.0.1";
    form->Config().RemotePort = port;
    form->SetJournalSessionForTest("Ann", RunnerResultSample());
    prompts.ExpectMessage("Сервер не найден!");
    form->SendTestResult();
    ASSERT_EQ(form->OutboxCount(), 1);
    EXPECT_TRUE(form->findChild<QTimer*>("TimerOutbox")->isActive());
    EXPECT_EQ(form->findChild<QTimer*>("TimerOutbox")->interval(), 60000);

    form->Config().LocalPort = port;
    form->MMServerClick();
    TServerForm& journal = form->ServerForm();
    ASSERT_TRUE(journal.Listening());
    form->TimerOutboxTimer();
    EXPECT_EQ(form->OutboxCount(), 0);
    EXPECT_FALSE(form->findChild<QTimer*>("TimerOutbox")->isActive());
    ASSERT_TRUE(WaitUntil([&] { return journal.Results().size() == 1; }));
    EXPECT_EQ(journal.Results()[0].UserName, "Ann");
}

TEST_F(ServerUnitTest, LeavingTheProgramAsksAboutUnsavedResults)
{
    TServerForm& journal = OpenJournal();
    EXPECT_TRUE(form->FormCloseQuery());  // nothing unsaved: no question
    journal.ReceiveEvent(ResultEvent());

    prompts.ExpectMessage(kLeaveUnsaved, PromptAnswer::No);
    EXPECT_FALSE(form->FormCloseQuery());
    EXPECT_EQ(prompts.Last().Caption, "Внимание!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Question);

    prompts.ExpectMessage(kLeaveUnsaved, PromptAnswer::Yes);
    EXPECT_TRUE(form->FormCloseQuery());
    // The journal then closes with the program without its own question.
    journal.close();
    EXPECT_FALSE(journal.isVisible());
}

TEST_F(ServerUnitTest, LeavingWhileRunnersAreStillSendingIsSafe)
{
    TServerForm& journal = OpenJournal();
    const uint16_t port = journal.BoundPort();
    // One peer in the middle of a message, one whose result is read and
    // queued but not yet taken by the window.
    LoopbackClient slow(port);
    slow.Send("RESULT\r\nhalf");
    form->Mode().SendResult = 1;
    form->Config().RemotePort = std::to_string(port);
    form->SendTestResult();
    QThread::msleep(100);
    Stop();  // destroys both windows with the workers still reading
    EXPECT_TRUE(slow.PeerClosed(2000));
    QCoreApplication::processEvents();  // a queued call to the dead window must not run
}

}  // namespace
}  // namespace quilmo::testing
