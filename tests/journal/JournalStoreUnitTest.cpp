// The journal window with its store: a result is on the disk before its row
// appears, results left by a run that died are offered back (Yes and No), and
// runners' result.txt logs are gathered without showing any result twice.

#include <QPlainTextEdit>

#include "model/FileIO.h"
#include "journal/JournalStore.h"
#include "journal/ServerUnit.h"
#include "model/Cp1251.h"
#include "model/TextUtil.h"
#include "support/JournalSample.h"
#include "support/QtRunnerFixture.h"

namespace quilmo::testing {
namespace {

const QString kRestoreTwo =
    QStringLiteral("Восстановить результаты (2), полученные журналом 05.03.2024 08:55 и не сохраненные?");

class JournalStoreUnitTest : public RunnerTest {
protected:
    std::string StorePath() const { return folder / journal::kStoreFileName; }

    // What a journal that died at 09:30 left behind: two results in a session
    // that never stopped.
    void LeaveACrashedRun()
    {
        auto store = journal::JournalStore::Open(StorePath());
        ASSERT_TRUE(store) << store.error().Message;
        auto session = (*store)->BeginSession({2024, 3, 5, 8, 55, 0, 0});
        ASSERT_TRUE(session);
        const journal::ReceivedEvent a = JournalResultEvent(JournalSample("Аня", 0)), b = JournalResultEvent(JournalSample("Боря", 10));
        ASSERT_TRUE((*store)->Record(session->Id, {&a, &b}, session->Run));
    }
    TServerForm& OpenJournal()
    {
        if (!form)
            Start();
        form->Config().LocalPort = "0";
        form->MMServerClick();
        return form->ServerForm();
    }
    std::vector<journal::StoredResult> Stored()
    {
        auto store = journal::JournalStore::Open(StorePath(), true);
        EXPECT_TRUE(store);
        auto results = (*store)->Results();
        EXPECT_TRUE(results);
        return *results;
    }
    // Leaves the program as a crash would: no close, no question.
    void Crash() { Stop(); }
};

TEST_F(JournalStoreUnitTest, RestoreYesPutsThemBackInOrderAsUnsaved)
{
    LeaveACrashedRun();
    prompts.ExpectMessage(kRestoreTwo, PromptAnswer::Yes);
    TServerForm& journal = OpenJournal();
    EXPECT_EQ(prompts.Last().Caption, "Внимание!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Question);
    EXPECT_EQ(prompts.Last().Buttons, PromptButtons::YesNo);
    ASSERT_EQ(journal.Results().size(), 2u);
    EXPECT_EQ(journal.Results()[0], JournalSample("Аня", 0));
    EXPECT_EQ(journal.Results()[1], JournalSample("Боря", 10));
    EXPECT_EQ(journal.Cell(2, 1), "Аня");
    EXPECT_EQ(journal.Cell(2, 2), "Боря");
    EXPECT_EQ(journal.Cell(19, 2), "10.0.0.3");
    EXPECT_TRUE(journal.HasUnsaved());

    // Боря's runner sends the same result again: it is not shown twice.
    journal.ReceiveEvent(JournalResultEvent(JournalSample("Боря", 10)));
    EXPECT_EQ(journal.Results().size(), 2u);

    // Died again before exporting: offered again.
    Crash();
    prompts.ExpectMessage(kRestoreTwo, PromptAnswer::Yes);
    TServerForm& again = OpenJournal();
    ASSERT_EQ(again.Results().size(), 2u);

    // Exported: the next run starts empty, without a question.
    prompts.ExpectSaveFile(QString::fromStdString(folder / "export.txt"));
    again.MFaleSaveAsClick();
    EXPECT_FALSE(again.HasUnsaved());
    Crash();
    TServerForm& clean = OpenJournal();
    EXPECT_TRUE(clean.Results().empty());
    EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(JournalStoreUnitTest, RestoreNoLeavesThemInTheStoreOnly)
{
    LeaveACrashedRun();
    prompts.ExpectMessage(kRestoreTwo, PromptAnswer::No);
    TServerForm& journal = OpenJournal();
    EXPECT_TRUE(journal.Results().empty());
    EXPECT_FALSE(journal.HasUnsaved());
    EXPECT_EQ(journal.GridRowCount(), 2);

    // Declined once, never asked again; the store keeps them.
    Crash();
    OpenJournal();
    const auto stored = Stored();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].Result, JournalSample("Аня", 0));
}

TEST_F(JournalStoreUnitTest, AResultIsInTheStoreWhenItsRowAppearsAndSessionsAreKept)
{
    TServerForm& journal = OpenJournal();
    form->Mode().SendResult = 1;
    form->Config().RemoteHost = "127.0.0.1";
    form->Config().RemotePort = std::to_string(journal.BoundPort());
    TTestResult result;
    result.UserName = "Иванов";
    result.CompName = "CLASS-PC-07";
    result.TestTitle = "Дроби";
    result.TotalCount = 1;
    result.AskedCount = 1;
    result.RightCount = 1;
    result.Mark = 5;
    result.StartTime = {2024, 3, 5, 9, 0, 0, 0};
    result.EndTime = {2024, 3, 5, 9, 1, 0, 0};
    result.Duration = 60;
    result.EndMode = EndFinished;
    result.ResultMask = "+";
    result.TimeMask = "60";
    form->SetJournalSessionForTest("Иванов", result);
    form->SendTestMessage("Начат тест");
    form->SendTestResult();
    for (int i = 0; i < 500 && journal.Results().empty(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    ASSERT_EQ(journal.Results().size(), 1u);
    const auto stored = Stored();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].Result, journal.Results()[0]);
    EXPECT_EQ(journal.ResultIds(), std::vector<int64_t>{stored[0].Id});

    // Closing the window stops the session; the message is kept too.
    prompts.ExpectMessage("", PromptAnswer::Yes);
    journal.close();
    auto store = journal::JournalStore::Open(StorePath(), true);
    ASSERT_TRUE(store);
    const auto sessions = (*store)->Sessions();
    ASSERT_TRUE(sessions);
    ASSERT_EQ(sessions->size(), 1u);
    EXPECT_EQ((*sessions)[0].Started, platform.Clock);
    EXPECT_TRUE((*sessions)[0].Stopped);
    EXPECT_EQ((*sessions)[0].Results, 1);
    const auto messages = (*store)->Messages((*sessions)[0].Id);
    ASSERT_TRUE(messages);
    ASSERT_EQ(messages->size(), 1u);
    EXPECT_EQ((*messages)[0].Text, "Начат тест");
}

TEST_F(JournalStoreUnitTest, DeletedRowsAreNotOffered)
{
    TServerForm& journal = OpenJournal();
    journal.ReceiveEvent(JournalResultEvent(JournalSample("Аня", 0)));
    journal.ReceiveEvent(JournalResultEvent(JournalSample("Боря", 10)));
    journal.SelectRow(1);
    journal.MDeleteClick();
    Crash();
    prompts.ExpectMessage(QStringLiteral("Восстановить результаты (1), полученные журналом 05.03.2024 09:15 и "
                                         "не сохраненные?"),
                          PromptAnswer::Yes);
    TServerForm& again = OpenJournal();
    ASSERT_EQ(again.Results().size(), 1u);
    EXPECT_EQ(again.Results()[0].UserName, "Боря");
}

// A runner's report block, written by hand from its layout.
std::string ReportBlock(const std::string& stamp, const std::string& user, const std::string& start,
                        const std::string& end, const std::string& duration)
{
    const std::string rule(48, '-');
    return JoinLinesCrLf({
        rule,
        "---------- " + stamp + " ----------",
        "Тест закончен...",
        "Имя компьютера: \"PC-3\"",
        "Имя пользователя компьютера: \"pupil\"",
        "Имя пользователя (тестируемого): \"" + user + "\"",
        "Название теста: \"Дроби\"",
        "Файл с тестом: \"/srv/Дроби.tst\"",
        "Всего заданий в тесте: 4.",
        "Выполнено заданий: 4.",
        "Из них правильно: 3 (75,0% выполненых заданий).",
        "Из них ошибок: 1 (25,0% выполненых заданий).",
        "Результат: 75,0%.",
        "Ваша оценка: \"4\".",
        "Маска результата: \"+-+*\".",
        "Маска времени обдумывания (в секундах): \"60;60;60;120\".",
        "Время начала: " + start + ".",
        "Время завершения: " + end + ".",
        "Продолжительность: " + duration + ".",
        rule,
    });
}

TEST_F(JournalStoreUnitTest, ImportGathersLogsAndShowsNoResultTwice)
{
    // Вика's result reached the journal by the network; her runner's log has it too.
    const std::string vika = ReportBlock("05.03.2024 09:25:02", "Вика", "09:20:00", "09:25:00", "00:05:00");
    const std::string anya = ReportBlock("05.03.2024 09:05:02", "Аня", "09:00:00", "09:05:00", "00:05:00");
    const std::string night = ReportBlock("06.03.2024 00:05:03", "Гоша", "23:58:00", "00:05:00", "00:07:00");
    std::string broken = ReportBlock("05.03.2024 09:40:00", "Дима", "09:30:00", "09:40:00", "00:10:00");
    broken = ReplaceAll(broken, "Выполнено заданий: 4.", "Выполнено заданий: все.");
    const std::string first = folder.Write(
        "pc3/result.txt",
        Utf8ToCp1251("05.03.2024 09:00:00 Начат тест: \"Дроби\"\r\n" + anya +
                     "05.03.2024 09:30:00 Закрыта программа во время теста: \"Дроби\"\r\n" + night + broken + anya));
    const std::string second = folder.Write("pc4/result.txt", Utf8ToCp1251(vika + night));

    TServerForm& journal = OpenJournal();
    journal.ReceiveEvent(JournalResultEvent(JournalSample("Вика", 20)));
    ASSERT_TRUE(journal.Menus().MFImportResults);
    EXPECT_EQ(journal.Menus().MFImportResults->text(), "Импорт result.txt...");

    prompts.ExpectOpenFiles(QStringList{QString::fromStdString(first), QString::fromStdString(second)});
    prompts.ExpectMessage(QStringLiteral("Добавлено результатов: 2.\r\nУже были в журнале: 3.\r\n"
                                         "Не удалось прочитать блоков: 1."));
    journal.MFImportResultsClick();
    EXPECT_TRUE(prompts.Shown()[0].File.MultipleFiles);
    EXPECT_EQ(prompts.Last().Caption, "Внимание!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Information);

    ASSERT_EQ(journal.Results().size(), 3u);
    EXPECT_EQ(journal.Cell(2, 1), "Вика");
    EXPECT_EQ(journal.Cell(19, 1), "10.0.0.3");  // the network's record stays
    EXPECT_EQ(journal.Cell(2, 2), "Аня");
    EXPECT_EQ(journal.Cell(0, 2), "09:05:02");     // received: the block's stamp
    EXPECT_EQ(journal.Cell(17, 2), "00000000");    // the log has no checksum
    EXPECT_EQ(journal.Cell(19, 2), "");            // nor an address
    EXPECT_EQ(journal.Cell(2, 3), "Гоша");
    EXPECT_EQ(journal.Results()[2].StartTime, (TDateTime{2024, 3, 5, 23, 58, 0, 0}));
    EXPECT_EQ(journal.Results()[2].EndTime, (TDateTime{2024, 3, 6, 0, 5, 0, 0}));
    EXPECT_EQ(journal.Results()[1].NotAskedCount, 0);
    EXPECT_TRUE(journal.HasUnsaved());

    // Stored before shown, each once.
    const auto stored = Stored();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].Source, journal::ResultSource::Network);
    EXPECT_EQ(stored[1].Source, journal::ResultSource::Import);
    EXPECT_EQ(stored[2].Result, journal.Results()[2]);

    // The same logs again: nothing new. Then by the network: still once.
    prompts.ExpectOpenFiles(QStringList{QString::fromStdString(first), QString::fromStdString(second)});
    prompts.ExpectMessage(QStringLiteral("Добавлено результатов: 0.\r\nУже были в журнале: 5.\r\n"
                                         "Не удалось прочитать блоков: 1."));
    journal.MFImportResultsClick();
    journal::TTestResult anyaByNetwork = journal.Results()[1];
    anyaByNetwork.RemoteIP = "10.0.0.7";
    anyaByNetwork.FileCrc = 0xCAFE;
    journal.ReceiveEvent(JournalResultEvent(anyaByNetwork));
    EXPECT_EQ(journal.Results().size(), 3u);
    EXPECT_EQ(Stored().size(), 3u);

    // Cancelled: nothing happens.
    prompts.ExpectOpenFiles(std::nullopt);
    journal.MFImportResultsClick();
}

TEST_F(JournalStoreUnitTest, ImportOfAFileThatCannotBeReadSaysSo)
{
    TServerForm& journal = OpenJournal();
    const std::string missing = folder / "gone/result.txt";
    prompts.ExpectOpenFiles(QStringList{QString::fromStdString(missing)});
    prompts.ExpectMessage("");  // the file's error
    prompts.ExpectMessage(QStringLiteral("Добавлено результатов: 0.\r\nУже были в журнале: 0.\r\n"
                                         "Не удалось прочитать блоков: 0."));
    journal.MFImportResultsClick();
    EXPECT_EQ(prompts.Shown()[1].Text, QString::fromStdString(ReadErrorText(missing, SystemErrorText(ENOENT))));
    EXPECT_EQ(prompts.Shown()[1].Icon, PromptIcon::Error);
    EXPECT_TRUE(journal.Results().empty());
    EXPECT_FALSE(journal.HasUnsaved());
}

TEST_F(JournalStoreUnitTest, AStoreThatCannotBeOpenedIsLoggedAndTheJournalStillWorks)
{
    folder.Write(journal::kStoreFileName, std::string(4096, 'x'));  // not a database
    TServerForm& journal = OpenJournal();
    journal.ReceiveEvent(JournalResultEvent(JournalSample("Аня", 0)));
    EXPECT_EQ(journal.Results().size(), 1u);
    const QStringList log = journal.findChild<QPlainTextEdit*>("Messages")->toPlainText().split('\n');
    ASSERT_GE(log.size(), 2);
    EXPECT_TRUE(log[0].contains("Результаты не записаны в хранилище журнала: file is not a database"))
        << log[0].toStdString();
    EXPECT_EQ(log.count(log[0]), 1);  // said once
    EXPECT_EQ(folder.Read(journal::kStoreFileName), std::string(4096, 'x'));
}

}  // namespace
}  // namespace quilmo::testing
