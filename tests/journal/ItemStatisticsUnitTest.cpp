// The item statistics window from the journal's menus: its table, summary
// and marks chart for the selected result's group, copying and saving.

#include <QClipboard>
#include <QGuiApplication>

#include "journal/ItemStatisticsUnit.h"
#include "journal/ServerUnit.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "support/QtRunnerFixture.h"

namespace quilmo::testing {
namespace {

journal::TTestResult Entry(const std::string& user, uint32_t crc, const std::string& mask, int mark)
{
    journal::TTestResult r;
    r.UserName = user;
    r.CompName = "PC";
    r.TestTitle = "Дроби";
    r.TestFile = "/srv/Дроби.tst";
    r.FileCrc = crc;
    r.ResultMask = mask;
    r.MaskValues = journal::MaskValuesFromResultMask(mask);
    r.TimeMask = "10;20;30";
    r.Mark = mark;
    r.EndMode = 1;
    return r;
}

class ItemStatisticsUnitTest : public RunnerTest {
protected:
    TServerForm& Journal()
    {
        Start();
        TServerForm& journal = form->ServerForm();
        // Two groups of the same file: three tasks, and a longer test with an
        // equal checksum that must not mix in.
        for (auto r : {Entry("Анна", 7, "++-", 5), Entry("Борис", 7, "+--", 3), Entry("other", 7, "++++", 2),
                       Entry("Вера", 7, "-+*", 4), Entry("Глеб", 9, "+++", 5)}) {
            journal::ReceivedEvent e;
            e.kind = journal::ReceivedEvent::Kind::Result;
            e.Result = std::move(r);
            journal.ReceiveEvent(std::move(e));
        }
        return journal;
    }
};

TEST_F(ItemStatisticsUnitTest, ShowsTheSelectedGroupFromBothMenus)
{
    TServerForm& journal = Journal();
    journal.SelectRow(2);  // Борис
    int shown = 0;
    auto check = [&](QDialog& dialog) {
        auto& stats = static_cast<TItemStatisticsForm&>(dialog);
        ++shown;
        EXPECT_EQ(stats.windowTitle(), "Статистика заданий");
        EXPECT_EQ(stats.RowCount(), 4);
        EXPECT_EQ(stats.Cell(3, 0), "Верно, %");
        // Task 1: Анна and Борис right, Вера wrong; scores 2 1 1, rest 1 0 1: r = -0.5.
        // Task 2: Анна, Вера right; rest 1 1 0: r = -0.5. Task 3: only two asked, both wrong.
        const QStringList task1 = {stats.Cell(0, 1), stats.Cell(1, 1), stats.Cell(2, 1), stats.Cell(3, 1),
                                   stats.Cell(4, 1), stats.Cell(5, 1), stats.Cell(6, 1)};
        EXPECT_EQ(task1, (QStringList{"1", "3", "2", "66,7%", "-0,50", "00:10", "плохо различает"}));
        EXPECT_EQ(stats.Cell(4, 2), "-0,50");
        EXPECT_EQ(stats.Cell(6, 2), "плохо различает");
        EXPECT_EQ(stats.Cell(1, 3), "2");
        EXPECT_EQ(stats.Cell(6, 3), "слишком трудное");
        EXPECT_EQ(stats.SummaryValue("Результатов"), "3");
        EXPECT_EQ(stats.SummaryValue("Среднее число верных"), "1,33");
        EXPECT_EQ(stats.SummaryValue("Медиана"), "1,0");
        EXPECT_EQ(stats.SummaryValue("Полных результатов"), "2");
        // Complete results 2 and 1: p 1, 1/2, 0; pq 1/4; variance 1/4: alpha 3/2 (1 - 1) = 0.
        EXPECT_EQ(stats.SummaryValue("Альфа Кронбаха (KR-20)"), "0,00");
        EXPECT_EQ(stats.Chart().Values, (std::vector<int32_t>{0, 0, 1, 1, 1}));
        EXPECT_EQ(stats.Chart().MaxValue, 1);
        return QDialog::Accepted;
    };
    prompts.ExpectModal("TItemStatisticsForm", check);
    journal.Menus().MAItemStats->trigger();
    prompts.ExpectModal("TItemStatisticsForm", check);
    journal.Menus().PMItemStats->trigger();
    EXPECT_EQ(shown, 2);

    // The header row or the empty journal: nothing opens.
    journal.SelectRow(0);
    journal.MAItemStatsClick();
    EXPECT_TRUE(prompts.Empty());
}

TEST_F(ItemStatisticsUnitTest, CopiesAndSavesTheTable)
{
    TServerForm& journal = Journal();
    journal.SelectRow(5);  // Глеб, a group of one
    const std::string path = folder / "items.TXT";
    prompts.ExpectModal("TItemStatisticsForm", [&](QDialog& dialog) {
        auto& stats = static_cast<TItemStatisticsForm&>(dialog);
        const std::string expected =
            "№\tЗадано\tВерно\tВерно, %\tРазличение\tСреднее время\tЗамечание\r\n"
            "1\t1\t1\t100,0%\t\t00:10\tслишком легкое\r\n"
            "2\t1\t1\t100,0%\t\t00:20\tслишком легкое\r\n"
            "3\t1\t1\t100,0%\t\t00:30\tслишком легкое\r\n";
        stats.findChild<QPushButton*>("ButtonCopy")->click();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(expected));

        prompts.ExpectSaveFile(QString::fromStdString(path));
        stats.findChild<QPushButton*>("ButtonSaveAs")->click();
        EXPECT_EQ(prompts.Last().File.Filter, "Текстовый файл (с разделителями табуляции) (*.TXT)|*.TXT");
        EXPECT_EQ(prompts.Last().File.DefaultExtension, "TXT");
        EXPECT_TRUE(prompts.Last().File.OverwritePrompt);
        EXPECT_EQ(folder.Read("items.TXT"), Utf8ToCp1251(expected));

        prompts.ExpectSaveFile(QString::fromStdString(folder / "missing/items.TXT"));
        prompts.ExpectMessage(QString::fromStdString(SaveErrorText(folder / "missing/items.TXT", SystemErrorText(ENOENT))));
        stats.ButtonSaveAsClick();
        EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
        prompts.ExpectSaveFile(std::nullopt);  // cancelled: nothing
        stats.ButtonSaveAsClick();
        return QDialog::Accepted;
    });
    journal.MAItemStatsClick();
    EXPECT_TRUE(journal.HasUnsaved());  // saving the statistics is no export of the results
}

}  // namespace
}  // namespace quilmo::testing
