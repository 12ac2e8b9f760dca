// quilmo-tool journal list, export and import, run as the built program
// against stores the tests fill through the store's own interface.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "journal/JournalStore.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"
#include "support/JournalSample.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

struct ToolRun {
    int Code = -1;
    std::string Out, Err;
};

class QuilmoToolJournalTest : public ::testing::Test {
protected:
    ToolRun Journal(const std::vector<std::string>& args)
    {
        std::string command = std::string("'") + QUILMO_TOOL + "' journal";
        for (const std::string& a : args) {
            command += " '";
            command += a;
            command += "'";
        }
        command += " >'" + folder / "out" + "' 2>'" + folder / "err" + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.Read("out"), folder.Read("err")};
    }
    std::string Store() const { return folder / "journal.sqlite"; }

    // Two sessions: the first with two results, one of them exported; the
    // second, still open, with one.
    void FillStore()
    {
        auto store = journal::JournalStore::Open(Store());
        ASSERT_TRUE(store) << store.error().Message;
        auto one = (*store)->BeginSession({2024, 3, 5, 9, 0, 0, 0});
        ASSERT_TRUE(one);
        auto ids = (*store)->AddResults(one->Id, {testing::JournalSample("Аня", 0), testing::JournalSample("Боря", 10)},
                                        journal::ResultSource::Network, one->Run);
        ASSERT_TRUE(ids);
        ASSERT_TRUE((*store)->MarkExported({(*ids)[0].Id}));
        ASSERT_TRUE((*store)->EndSession(one->Id, {2024, 3, 5, 9, 45, 30, 0}));
        auto two = (*store)->BeginSession({2024, 3, 6, 10, 0, 0, 0});
        ASSERT_TRUE(two);
        ASSERT_TRUE((*store)->AddResults(two->Id, {testing::JournalSample("Вика", 20)}, journal::ResultSource::Network, two->Run));
    }

    testing::TempFolder folder;
};

TEST_F(QuilmoToolJournalTest, ListShowsEverySession)
{
    FillStore();
    const ToolRun run = Journal({"list", "--store", Store()});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "id\tstart\tstop\tresults\tunexported\n"
              "1\t05.03.2024 09:00:00\t05.03.2024 09:45:30\t2\t1\n"
              "2\t06.03.2024 10:00:00\t-\t1\t1\n");
}

// The row of Аня's result as the tab-separated export writes it, by hand.
const char* const kAnyaRow =
    "09:05:02\tPC-3\tАня\t4\t66,7%\t4\t3\t2\t1\t1\t+-+*\t1;2;3;0\t09:00:00\t09:05:00\t00:05:00\t"
    "Дроби\t/srv/Дроби.tst\t000000FF\tpupil\t10.0.0.3\tABORT";
const char* const kHeader =
    "\tPC\tИмя\tОценка\tРезультат\tВсего\tЗадано\t+\t-\t*\tМаска отв.\tМаска вр.\tНачат\tЗакончен\tВремя\t"
    "Тест\tФайл\tCRC файла\tUser\tIP\tРеж. ок.";

TEST_F(QuilmoToolJournalTest, ExportWritesTheTableOfASessionOrOfAll)
{
    FillStore();
    // Without --session: the latest session.
    ToolRun run = Journal({"export", "--store", Store(), folder / "latest.txt"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    std::vector<std::string> lines = SplitLines(Cp1251ToUtf8(folder.Read("latest.txt")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], kHeader);
    EXPECT_NE(lines[1].find("\tВика\t"), std::string::npos);

    run = Journal({"export", "--store", Store(), "--session", "1", folder / "one.tsv"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    const std::string bytes = folder.Read("one.tsv");
    EXPECT_EQ(bytes, Utf8ToCp1251(std::string(kHeader) + "\r\n" + kAnyaRow + "\r\n" +
                                  SplitLines(Cp1251ToUtf8(bytes))[2] + "\r\n"));
    EXPECT_NE(bytes.find(Utf8ToCp1251("\tБоря\t")), std::string::npos);

    run = Journal({"export", "--store", Store(), "--all", folder / "all.xlsx"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(folder.Read("all.xlsx").substr(0, 2), "PK");  // a workbook is a zip
    run = Journal({"export", "--store", Store(), "--all", folder / "all.txt"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(SplitLines(Cp1251ToUtf8(folder.Read("all.txt"))).size(), 4u);

    // Exported now: nothing is left unexported.
    EXPECT_NE(Journal({"list", "--store", Store()}).Out.find("\t2\t0\n"), std::string::npos);
}

TEST_F(QuilmoToolJournalTest, StatsWritesEachGroupsTableForOtherPrograms)
{
    FillStore();
    // Session 1: Аня and Боря, both "+-+*" with times 1;2;3;0, stopped after three tasks,
    // so no result is complete. Worked out by hand: scores 2 and 2, mean 2, SD 0,
    // median 2; tasks 1 and 3 right in both (100 %), task 2 in neither; no variance,
    // so no discrimination; no complete result, so no alpha and no SEM.
    ToolRun run = Journal({"stats", "--store", Store(), "--session", "1", folder / "one.tsv"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    const std::vector<std::string> lines = SplitLines(Cp1251ToUtf8(folder.Read("one.tsv")));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "test\tДроби\t/srv/Дроби.tst\t000000FF\t2\t2.0000\t0.0000\t2.0\t2\t2\t0\t\t");
    EXPECT_EQ(lines[1], "task\t1\t2\t2\t100.0\t\t1.0\tслишком легкое");
    EXPECT_EQ(lines[2], "task\t2\t2\t0\t0.0\t\t2.0\tслишком трудное");
    EXPECT_EQ(lines[3], "task\t3\t2\t2\t100.0\t\t3.0\tслишком легкое");
    EXPECT_EQ(lines[4].rfind("task\t4\t0\t0\t\t\t", 0), 0u) << lines[4];  // never asked
    EXPECT_NE(folder.Read("one.tsv").find("\r\n"), std::string::npos);

    // --all: the three results form one group; statistics export nothing.
    run = Journal({"stats", "--store", Store(), "--all", folder / "all.tsv"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(SplitLines(Cp1251ToUtf8(folder.Read("all.tsv")))[0].rfind("test\tДроби\t/srv/Дроби.tst\t000000FF\t3\t", 0), 0u);
    EXPECT_NE(Journal({"list", "--store", Store()}).Out.find("\t2\t1\n"), std::string::npos);

    EXPECT_EQ(Journal({"stats", "--store", Store(), folder / "out.xlsx"}).Code, 2);
    EXPECT_EQ(Journal({"stats", "--store", Store(), "--session", "9", folder / "out.tsv"}).Code, 1);
    EXPECT_FALSE(FileExists(folder / "out.tsv"));
}

TEST_F(QuilmoToolJournalTest, ExportRefusesWhatItCannotDo)
{
    FillStore();
    const struct {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{"export", "--store", Store(), folder / "out.csv"}, 2},
        {{"export", "--store", Store(), "--session", "1", "--all", folder / "out.txt"}, 2},
        {{"export", "--store", Store(), "--session", "x", folder / "out.txt"}, 2},
        {{"export", "--store", Store(), "--session", "9", folder / "out.txt"}, 1},
        {{"export", "--store", folder / "none.sqlite", folder / "out.txt"}, 1},
        {{"export", "--store", Store(), folder / "no/such/folder/out.txt"}, 1},
        {{"export", "--store", Store()}, 2},
        {{"list", "--store", Store(), "extra"}, 2},
        {{"list", "--bogus"}, 2},
        {{"stats"}, 2},
        {{}, 2},
    };
    for (const auto& c : cases) {
        const ToolRun run = Journal(c.args);
        EXPECT_EQ(run.Code, c.code) << JoinLinesCrLf(c.args);
        EXPECT_FALSE(run.Err.empty());
    }
    EXPECT_FALSE(FileExists(folder / "none.sqlite"));  // a mistyped store is not made
}

TEST_F(QuilmoToolJournalTest, ImportAddsEachResultOnceAndCounts)
{
    FillStore();
    const std::string rule(48, '-');
    auto block = [&](const std::string& user, const std::string& start, const std::string& end) {
        return JoinLinesCrLf({rule, "---------- 05.03.2024 " + end + " ----------", "Тест остановлен...",
                              "Имя компьютера: \"PC-3\"", "Имя пользователя компьютера: \"pupil\"",
                              "Имя пользователя (тестируемого): \"" + user + "\"", "Название теста: \"Дроби\"",
                              "Файл с тестом: \"/srv/Дроби.tst\"", "Всего заданий в тесте: 4.",
                              "Выполнено заданий: 3.", "Из них правильно: 2 (66,7% выполненых заданий).",
                              "Из них ошибок: 1 (33,3% выполненых заданий).", "Результат: 50,0%.",
                              "Ваша оценка: \"4\".", "Маска результата: \"+-+*\".",
                              "Маска времени обдумывания (в секундах): \"1;2;3;0\".",
                              "Время начала: " + start + ".", "Время завершения: " + end + ".",
                              "Продолжительность: 00:05:00.", rule});
    };
    // Боря is in the store already; Гоша is new; one block is broken.
    const std::string log = folder.Write(
        "result.txt", Utf8ToCp1251(block("Боря", "09:10:00", "09:15:00") + block("Гоша", "09:30:00", "09:35:00") +
                                   rule + "\r\n---------- 05.03.2024 09:50:00 ----------\r\nмусор\r\n"));
    ToolRun run = Journal({"import", "--store", Store(), log});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out, "Добавлено результатов: 1.\nУже были в журнале: 1.\nНе удалось прочитать блоков: 1.\n");

    auto store = journal::JournalStore::Open(Store(), true);
    ASSERT_TRUE(store);
    const auto all = (*store)->Results();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 4u);
    EXPECT_EQ(all->back().Result.UserName, "Гоша");
    EXPECT_EQ(all->back().Source, journal::ResultSource::Import);
    const auto sessions = (*store)->Sessions();
    ASSERT_EQ(sessions->size(), 3u);  // the import's own
    EXPECT_TRUE(sessions->back().Stopped);

    // A file that cannot be read fails the run, the others are still taken.
    run = Journal({"import", "--store", Store(), folder / "missing.txt", log});
    EXPECT_EQ(run.Code, 1);
    EXPECT_NE(run.Err.find("missing.txt"), std::string::npos);
    EXPECT_EQ(run.Out, "Добавлено результатов: 0.\nУже были в журнале: 2.\nНе удалось прочитать блоков: 1.\n");
}

}  // namespace
}  // namespace quilmo
