#include "editor/BankTransfer.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace quilmo::testing {
namespace {

struct KindCase {
    const char* Name;
    const char* Bytes;
    bool IsBank;          // false: a Quilmo test, left to the test import
    const char* Question;  // the bank's first task
};

TEST(BankTransferTest, TellsTheImportsFilesApart)
{
    const KindCase cases[] = {
        {"test.txt", "Заголовок\r\n\r\n1\r\n--------\r\n0\r\n--------\r\n", false, ""},
        {"test.tst", "anything", false, ""},
        {"marks.txt", "Заголовок\r\n\r\n2 (1)\r\n--------\r\n", false, ""},
        {"gift.txt", "Столица Франции? {=Париж ~Лион}\n", true, "Столица Франции?"},
        {"aiken.txt", "Столица Франции?\nA. Лион\nB. Париж\nANSWER: B\n", true, "Столица Франции?"},
        {"bank.GIFT", "Вопрос {=да ~нет}", true, "Вопрос"},
        {"bank.xml",
         "<quiz><question type=\"truefalse\"><questiontext format=\"plain_text\"><text>Земля круглая"
         "</text></questiontext><answer fraction=\"100\"><text>true</text></answer>"
         "<answer fraction=\"0\"><text>false</text></answer></question></quiz>",
         true, "Земля круглая"},
    };
    TempFolder folder;
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto read = ReadImportBank(folder.Write(c.Name, c.Bytes));
        ASSERT_TRUE(read) << read.error().Message;
        ASSERT_EQ(read->has_value(), c.IsBank);
        if (!c.IsBank)
            continue;
        ASSERT_FALSE((*read)->Tasks.empty());
        EXPECT_EQ((*read)->Tasks[0].Question, c.Question);
    }
}

TEST(BankTransferTest, FilesThatCannotBeImportedSayWhy)
{
    TempFolder folder;
    const auto unknown = ReadImportBank(folder.Write("bank.doc", "Вопрос {=да}"));
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().Message, "Не верный тип файла!");
    const auto missing = ReadImportBank(folder / "missing.xml");
    ASSERT_FALSE(missing);
    EXPECT_FALSE(missing.error().Message.empty());
    const auto broken = ReadImportBank(folder.Write("broken.xml", "<quiz><question"));
    ASSERT_FALSE(broken);
    EXPECT_FALSE(broken.error().Message.empty());
    BankLimits small;
    small.MaxFileBytes = 8;
    const auto big = ReadImportBank(folder.Write("big.gift", "Вопрос {=да ~нет}"), small);
    EXPECT_FALSE(big);
}

TEST(BankTransferTest, PicturesGoBesideTheTestOrElseBesideTheBank)
{
    EXPECT_EQ(ImportPictureFolder("/home/t/tests/a.txt", "/media/bank.xml"), "/home/t/tests/");
    EXPECT_EQ(ImportPictureFolder("", "/media/bank.xml"), "/media/");
    EXPECT_EQ(ImportPictureFolder("", "bank.xml"), "./");
}

TEST(BankTransferTest, ExportReportNamesTheFileAndEveryTaskLeftOut)
{
    BankWriteResult written;
    written.Written = 2;
    EXPECT_EQ(BankExportDoneText("/t/out.gift", written), "Экспортировано 2 заданий\r\nв файл: \"/t/out.gift\".");
    written.Skipped = {{3, "Порядок", "в GIFT нет заданий на порядок"}};
    written.Notes = {{1, "", "картинка не переносится"}};
    EXPECT_EQ(BankExportDoneText("/t/out.gift", written),
              "Экспортировано 2 заданий\r\nв файл: \"/t/out.gift\".\r\n"
              "Пропущено заданий: 1.\r\n"
              "Вопрос 3 «Порядок»: в GIFT нет заданий на порядок\r\n"
              "Замечание: Вопрос 1: картинка не переносится");
}

}  // namespace
}  // namespace quilmo::testing
