// The journal's analyses in their chart window, the chart as a picture, and
// the exports from the window with what each does to the unsaved flag.

#include <QClipboard>
#include <QGuiApplication>
#include <QTabWidget>

#include "journal/Diagram1Unit.h"
#include "journal/ServerUnit.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "support/QtRunnerFixture.h"

namespace quilmo::testing {
namespace {

journal::TTestResult Entry(const std::string& user, uint32_t crc, const std::string& mask, int right, int total)
{
    journal::TTestResult r;
    r.UserName = user;
    r.CompName = "PC";
    r.FileCrc = crc;
    r.ResultMask = mask;
    r.MaskValues = journal::MaskValuesFromResultMask(mask);
    r.RightCount = right;
    r.TotalCount = total;
    r.AskedCount = total;
    r.EndMode = 1;
    return r;
}

class JournalAnalysisUnitTest : public RunnerTest {
protected:
    TServerForm& Journal(std::vector<journal::TTestResult> results = {})
    {
        Start();
        TServerForm& journal = form->ServerForm();
        for (journal::TTestResult& r : results) {
            journal::ReceivedEvent e;
            e.kind = journal::ReceivedEvent::Kind::Result;
            e.Result = std::move(r);
            journal.ReceiveEvent(std::move(e));
        }
        return journal;
    }
    // Expects the chart window and records what it shows.
    void ExpectChart(std::vector<int32_t> values, int32_t maxValue, int labelMode, const QString& title)
    {
        prompts.ExpectModal("TDiagram1Form", [=](QDialog& dialog) {
            auto& chart = static_cast<TDiagram1Form&>(dialog);
            EXPECT_EQ(chart.Values, values);
            EXPECT_EQ(chart.MaxValue, maxValue);
            EXPECT_EQ(chart.LabelMode, labelMode);
            EXPECT_EQ(chart.Title(), title);
            EXPECT_EQ(chart.windowTitle(), "Диаграмма результатов");
            return QDialog::Accepted;
        });
    }
};

const std::vector<journal::TTestResult> kGroup = {
    Entry("Анна", 7, "++-", 5, 8), Entry("other", 9, "+++", 8, 8), Entry("Борис", 7, "+--", 1, 8),
    Entry("Вера", 7, "-+*", 4, 8),
};

TEST_F(JournalAnalysisUnitTest, AnalysesShowTheirChartsFromBothMenus)
{
    TServerForm& journal = Journal(kGroup);
    journal.SelectRow(3);  // Борис
    ExpectChart({1, 0, 0}, 1, 0, "Результаты выбранного теста для: \"Борис\"");
    journal.Menus().MAD1->trigger();
    ExpectChart({2, 2, 0}, 3, 0, "Результаты тестов для группы с выбранным тестом");
    journal.Menus().PMAD2->trigger();
    ExpectChart({62, 100, 12, 50}, 100, 1, "Результаты в % тестов для всей группы");
    journal.Menus().MAD3->trigger();
    ExpectChart({1, 1, 0}, 1, 0, "Результаты выбранного теста для: \"Анна\"");
    journal.SelectRow(1);
    journal.Menus().PMAD1->trigger();
}

TEST_F(JournalAnalysisUnitTest, AnalysesWithoutAValidRowOrResultsDoNothing)
{
    TServerForm& empty = Journal();
    empty.SelectRow(1);  // the empty data row
    empty.MAD1Click();
    empty.MAD2Click();
    empty.MAD3Click();
    EXPECT_TRUE(prompts.Shown().empty());
    Stop();

    TServerForm& journal = Journal(kGroup);
    journal.SelectRow(0);  // the header
    journal.MAD1Click();
    journal.MAD2Click();
    EXPECT_TRUE(prompts.Shown().empty());
}

// A chart window with the drawing area of its designed size.
struct ChartFixture {
    explicit ChartFixture(AppServices& services, std::vector<int32_t> values, int32_t maxValue)
        : form(services)
    {
        form.Values = std::move(values);
        form.MaxValue = maxValue;
        form.PaintBox()->resize(484, 211);
    }
    TDiagram1Form form;
};

QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }

TEST_F(JournalAnalysisUnitTest, ChartIsPaintedAsLaidOut)
{
    Start();
    ChartFixture chart(*services, {1, 0, 0, 1}, 1);
    const QImage image = chart.form.DrawingImage();
    ASSERT_EQ(image.size(), QSize(484, 211));
    EXPECT_EQ(image.pixel(0, 0), Rgb(150, 150, 150));    // frame
    EXPECT_EQ(image.pixel(483, 210), Rgb(150, 150, 150));
    EXPECT_EQ(image.pixel(5, 100), Rgb(255, 255, 255));  // margin
    EXPECT_EQ(image.pixel(12, 10), Rgb(150, 180, 150));  // first bar's outline
    EXPECT_EQ(image.pixel(124, 209), Rgb(150, 180, 150));
    EXPECT_EQ(image.pixel(60, 100), Rgb(150, 200, 150)); // its inside
    EXPECT_EQ(image.pixel(125, 10), Rgb(200, 200, 200)); // the scale line in the gap
    EXPECT_EQ(image.pixel(473, 10), Rgb(200, 200, 200));
    EXPECT_EQ(image.pixel(474, 10), Rgb(255, 255, 255)); // the line stops short of its end
    EXPECT_EQ(image.pixel(180, 100), Rgb(255, 255, 255)); // a bar of 0 stays flat
    EXPECT_EQ(image.pixel(400, 100), Rgb(150, 200, 150));

    // Without a scale only the frame is drawn.
    ChartFixture none(*services, {1, 0}, 0);
    const QImage frame = none.form.DrawingImage();
    EXPECT_EQ(frame.pixel(0, 0), Rgb(150, 150, 150));
    EXPECT_EQ(frame.pixel(12, 10), Rgb(255, 255, 255));
    EXPECT_EQ(frame.pixel(100, 100), Rgb(255, 255, 255));
}

TEST_F(JournalAnalysisUnitTest, ChartSavedAsABitmapAndCopied)
{
    Start();
    ChartFixture chart(*services, {62, 12}, 100);
    chart.form.LabelMode = 1;
    const std::string path = folder / "chart.BMP";
    prompts.ExpectSaveFile(QString::fromStdString(path));
    chart.form.Menus().MDSaveAs->trigger();
    EXPECT_EQ(prompts.Last().File.Filter, "Точечный рисунок (*.BMP)|*.BMP");
    EXPECT_EQ(prompts.Last().File.DefaultExtension, "BMP");
    EXPECT_FALSE(prompts.Last().File.OverwritePrompt);

    const std::string bmp = folder.Read("chart.BMP");
    ASSERT_EQ(bmp.size(), 54u + 484u * 3u * 211u);  // rows of 1452 bytes need no padding
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp.substr(18, 8), std::string("\xE4\x01\x00\x00\xD3\x00\x00\x00", 8));  // 484 x 211
    EXPECT_EQ(static_cast<uint8_t>(bmp[28]), 24);
    // The bottom row comes first: its left pixel is the grey frame, and a bar
    // (blue, green, red) stands above it.
    EXPECT_EQ(bmp.substr(54, 3), std::string("\x96\x96\x96", 3));
    const size_t row2 = 54 + 1452 * 2;  // two rows above the bottom, inside the first bar
    EXPECT_EQ(bmp.substr(row2 + 60 * 3, 3), std::string("\x96\xC8\x96", 3));

    // A file that cannot be written shows the system's error.
    prompts.ExpectSaveFile(QString::fromStdString(folder / "missing/chart.BMP"));
    prompts.ExpectMessage(QString::fromStdString(SaveErrorText(folder / "missing/chart.BMP", SystemErrorText(ENOENT))));
    chart.form.MDSaveAsClick();
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    prompts.ExpectSaveFile(std::nullopt);  // cancelled: nothing
    chart.form.MDSaveAsClick();

    chart.form.Menus().MDCopy->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(484, 211));
    EXPECT_EQ(copied.pixel(60, 150), Rgb(150, 200, 150));
}

// ---------------------------------------------------------------- exports

class JournalExportUnitTest : public JournalAnalysisUnitTest {
protected:
    TServerForm& WithResults()
    {
        TServerForm& journal = Journal({Entry("Иванов", 7, "++-", 2, 3)});
        EXPECT_TRUE(journal.HasUnsaved());
        return journal;
    }
};

TEST_F(JournalExportUnitTest, TextExport)
{
    TServerForm& journal = WithResults();
    const std::string path = folder / "2024_03_05 09_15.TXT";
    prompts.ExpectSaveFile(QString::fromStdString(path), 1);
    journal.Menus().MFaleSaveAs->trigger();
    const FileDialogSpec& dialog = prompts.Last().File;
    EXPECT_EQ(dialog.FileName, "2024_03_05 09_15");
    EXPECT_EQ(dialog.Filter, "Текстовый файл (с разделителями табуляции) (*.TXT)|*.TXT|"
                             "Книга Excel (*.XLSX)|*.XLSX");
    EXPECT_EQ(dialog.DefaultExtension, "TXT");
    EXPECT_TRUE(dialog.OverwritePrompt);
    EXPECT_FALSE(journal.HasUnsaved());

    const std::string text = Cp1251ToUtf8(folder.Read("2024_03_05 09_15.TXT"));
    EXPECT_TRUE(text.starts_with("\tPC\tИмя\tОценка\tРезультат\t"));
    EXPECT_NE(text.find("\r\n00:00:00\tPC\tИванов\t0\t66,7%\t3\t3\t2\t0\t0\t++-\t"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\t00000007\t\t\tEND\r\n"));
}

TEST_F(JournalExportUnitTest, SpreadsheetExport)
{
    TServerForm& journal = WithResults();
    prompts.ExpectSaveFile(QString::fromStdString(folder / "journal.XLSX"), 2);
    prompts.ExpectMessage("Сохранение в Excel выполнено успешно!");
    journal.MFaleSaveAsClick();
    EXPECT_EQ(prompts.Last().Caption, "Внимание!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Information);
    EXPECT_FALSE(journal.HasUnsaved());
    EXPECT_EQ(folder.Read("journal.XLSX").substr(0, 2), "PK");
}

TEST_F(JournalExportUnitTest, FailedOrCancelledExportsLeaveTheResultsUnsaved)
{
    TServerForm& journal = WithResults();
    for (const int filter : {1, 2}) {
        prompts.ExpectSaveFile(QString::fromStdString(folder / "missing/journal.XLS"), filter);
        prompts.ExpectMessage(QString::fromStdString(SaveErrorText(folder / "missing/journal.XLS", SystemErrorText(ENOENT))));
        journal.MFaleSaveAsClick();
        EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
        EXPECT_TRUE(journal.HasUnsaved()) << filter;
    }
    prompts.ExpectSaveFile(std::nullopt);
    journal.MFaleSaveAsClick();
    prompts.ExpectSaveFile(QString());
    journal.MFaleSaveAsClick();
    EXPECT_TRUE(journal.HasUnsaved());

    // On the log page the command does nothing at all.
    journal.findChild<QTabWidget*>("PageControl")->setCurrentIndex(0);
    journal.MFaleSaveAsClick();
    EXPECT_TRUE(journal.HasUnsaved());
}

TEST_F(JournalExportUnitTest, EmptyJournalExportsItsHeaderAndEmptyRow)
{
    TServerForm& journal = Journal();
    prompts.ExpectSaveFile(QString::fromStdString(folder / "empty.TXT"), 1);
    journal.MFaleSaveAsClick();
    const std::string text = folder.Read("empty.TXT");
    std::string emptyRow(20, '\t');
    emptyRow += "\r\n";
    EXPECT_TRUE(text.ends_with("\r\n" + emptyRow));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

}  // namespace
}  // namespace quilmo::testing
