// Bank files as a whole: which kind a file is, reading one, the import report.

#include <gtest/gtest.h>

#include "banks/BankFile.h"
#include "banks/BankTask.h"
#include "model/TestLoader.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::TempFolder;

struct KindCase {
    const char* Name;
    const char* Path;
    std::string Bytes;
    std::optional<BankKind> Kind;
};

class BankKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(BankKindTest, IsChosenByExtensionAndForTxtByContent)
{
    EXPECT_EQ(BankKindOf(GetParam().Path, GetParam().Bytes), GetParam().Kind);
}

const std::string kQuilmo = "Title\r\nDescription\r\n2\r\n--------\r\n0\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, BankKindTest,
    ::testing::Values(
        KindCase{"Xml", "bank.XML", "anything", BankKind::MoodleXml},
        KindCase{"Gift", "bank.gift", "no braces", BankKind::Gift},
        KindCase{"Aiken", "bank.Aiken", "{", BankKind::Aiken},
        KindCase{"Tst", "test.tst", "{", BankKind::QuilmoTest},
        KindCase{"TxtQuilmoTest", "test.txt", kQuilmo + "{", BankKind::QuilmoTest},
        KindCase{"TxtSubsetCount", "test.txt", "T\nD\n 5 (3) \n--------\n", BankKind::QuilmoTest},
        KindCase{"TxtLoneCrLines", "test.txt", "T\rD\r7\r--------\r", BankKind::QuilmoTest},
        KindCase{"TxtCountNotANumber", "test.txt", "T\r\nD\r\nfive\r\n--------\r\n{=a}", BankKind::Gift},
        KindCase{"TxtNoSeparator", "test.txt", "T\r\nD\r\n2\r\n-------\r\n", BankKind::Aiken},
        KindCase{"TxtGift", "bank.txt", "Q {=a ~b}\n", BankKind::Gift},
        KindCase{"TxtAiken", "bank.TXT", "Q\nA. a\nANSWER: A\n", BankKind::Aiken},
        KindCase{"TxtShort", "bank.txt", "", BankKind::Aiken},
        KindCase{"Other", "bank.doc", "{", std::nullopt},
        KindCase{"None", "bank", "{", std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(BankFileTest, OutputKindIsByExtensionAlone)
{
    EXPECT_EQ(BankKindForOutput("a.xml"), BankKind::MoodleXml);
    EXPECT_EQ(BankKindForOutput("a.GIFT"), BankKind::Gift);
    EXPECT_EQ(BankKindForOutput("a.aiken"), BankKind::Aiken);
    EXPECT_EQ(BankKindForOutput("a.txt"), std::nullopt);
}

TEST(BankFileTest, ReadsAFileByItsKind)
{
    TempFolder folder;
    const auto gift = ReadBankFile(folder.Write("b.txt", "Q {=a ~b}\n\nR {T}\n"));
    ASSERT_TRUE(gift) << gift.error().Message;
    EXPECT_EQ(gift->Tasks.size(), 2u);
    const auto aiken = ReadBankFile(folder.Write("c.txt", "Q\nA. a\nB. b\nANSWER: B\n"));
    ASSERT_TRUE(aiken);
    ASSERT_EQ(aiken->Tasks.size(), 1u);
    EXPECT_EQ(aiken->Tasks[0].Answers[1], 1);
    EXPECT_EQ(ReadBankFile(folder.Write("t.txt", kQuilmo)).error().Message, kNotABank);
    EXPECT_EQ(ReadBankFile(folder.Write("x.doc", "")).error().Message, kWrongFileType);
    EXPECT_FALSE(ReadBankFile(folder / "missing.xml"));
    BankLimits small;
    small.MaxFileBytes = 4;
    EXPECT_NE(ReadBankFile(folder.Write("big.gift", "Q {=a ~b}"), small).error().Message.find("слишком велик"),
              std::string::npos);
}

TEST(BankFileTest, TheImportReportNamesEverySkippedQuestion)
{
    EXPECT_EQ(BankImportDoneText(3, "/home/t/bank.xml", {}), "Добавлено 3 заданий\r\nиз файла: \"/home/t/bank.xml\".");
    EXPECT_EQ(BankImportDoneText(1, "b.gift", {{2, "Эссе", "тип"}, {5, "", kReasonNoText}}),
              "Добавлено 1 заданий\r\nиз файла: \"b.gift\".\r\nПропущено вопросов: 2."
              "\r\nВопрос 2 «Эссе»: тип\r\nВопрос 5: нет текста вопроса");
}

}  // namespace
}  // namespace quilmo
