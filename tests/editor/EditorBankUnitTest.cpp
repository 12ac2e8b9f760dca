// Question banks through the editor: File > Import takes Moodle XML, GIFT and
// Aiken beside Quilmo tests, File > Export writes them.

#include <algorithm>
#include <filesystem>

#include "banks/BankFile.h"
#include "support/QtEditorFixture.h"

namespace quilmo::testing {
namespace {

namespace fs = std::filesystem;

const char* const kDotGif = "R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==";

std::string MoodleWithPicture(const std::string& pictureName)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"
           "<question type=\"multichoice\"><name><text>Точка</text></name>\n"
           "<questiontext format=\"html\"><text><![CDATA[<p>Что это?</p><img src=\"@@PLUGINFILE@@/" +
           pictureName + "\">]]></text>\n<file name=\"" + pictureName + "\" path=\"/\" encoding=\"base64\">" +
           kDotGif +
           "</file></questiontext>\n<single>true</single>\n"
           "<answer fraction=\"100\"><text>Точка</text></answer>\n"
           "<answer fraction=\"0\"><text>Круг</text></answer>\n</question>\n</quiz>\n";
}

// What a task asks for, whatever order its variants are listed in: each
// variant with its mark, or, for ordering, the variants in their right order.
std::vector<std::string> Meaning(const TTask& task)
{
    std::vector<std::string> meaning;
    for (size_t i = 0; i < task.Variants.size(); ++i)
        if (!task.Variants[i].empty())
            meaning.push_back(task.TaskType == Ordering ? std::to_string(task.Answers[i]) + " " + task.Variants[i]
                                                        : task.Variants[i] + " " + std::to_string(task.Answers[i]));
    if (task.TaskType == Ordering)
        std::sort(meaning.begin(), meaning.end());
    return meaning;
}

class EditorBankUnitTest : public EditorTest {
protected:
    // File > Import on path; the box that follows is recorded.
    void Import(const std::string& path)
    {
        prompts.ExpectOpenFile(QString::fromStdString(path));
        prompts.ExpectMessage("");
        form->MFImportFromOthrClick();
    }
};

TEST_F(EditorBankUnitTest, TheImportDialogOffersTheBankFormats)
{
    Start();
    prompts.ExpectOpenFile(std::nullopt);
    form->MFImportFromOthrClick();
    EXPECT_EQ(prompts.Last().File.Title, "Импорт заданий");
    EXPECT_EQ(prompts.Last().File.Filter,
              "Все текстовые файлы тестов (*.TXT, *.TST)|*.TXT;*.TST|Текстовый файл (*.TXT)|*.TXT|"
              "Файл с тестом(*.TST)|*.TST|Moodle XML (*.XML)|*.XML|GIFT (*.GIFT;*.TXT)|*.GIFT;*.TXT|"
              "Aiken (*.TXT)|*.TXT");
}

TEST_F(EditorBankUnitTest, AGiftTxtComesInAndOneBoxListsWhatWasLeftOut)
{
    Start();
    const std::string bank = folder.Write(
        "bank.txt", "::Столица::Столица Франции? {=Париж ~Лион}\n\n::Шесть::Много{=1 ~2 ~3 ~4 ~5 ~6}\n");
    Import(bank);
    ASSERT_EQ(form->TaskCount(), 1);
    const TTask& task = form->TaskAt(0);
    EXPECT_EQ(task.TaskType, SingleChoice);
    EXPECT_EQ(task.Question, "Столица Франции?");
    EXPECT_EQ(task.Variants[0], "Париж");
    EXPECT_EQ(task.Variants[1], "Лион");
    EXPECT_EQ(form->NodeLabel(0), QString::fromStdString(ImportedTaskLabel(1)));
    EXPECT_EQ(form->Document().Modified, 1);
    EXPECT_EQ(prompts.Last().Caption, "Импорт заданий завершен");
    const QString expectedStart = QString::fromStdString("Добавлено 1 заданий\r\nиз файла: \"" + bank +
                                                         "\".\r\nПропущено вопросов: 1.\r\nВопрос 2 «Шесть»: ");
    EXPECT_TRUE(prompts.Last().Text.startsWith(expectedStart)) << prompts.Last().Text.toStdString();
    EXPECT_EQ(prompts.Last().Text.count("\r\n"), 3);  // one line for the one question left out
}

TEST_F(EditorBankUnitTest, AnAikenTxtAndAQuilmoTxtAreToldApartByTheirLines)
{
    Start();
    Import(folder.Write("aiken.txt", "Столица Франции?\nA. Лион\nB. Париж\nANSWER: B\n"));
    ASSERT_EQ(form->TaskCount(), 1);
    EXPECT_EQ(form->TaskAt(0).Variants[1], "Париж");
    EXPECT_EQ(form->TaskAt(0).Answers[1], 1);

    Import(WriteTest("three.txt"));
    ASSERT_EQ(form->TaskCount(), 4);
    EXPECT_EQ(form->TaskAt(3).Question, "Третий вопрос");
    EXPECT_TRUE(prompts.Last().Text.endsWith("Заголовок теста: \"Проверка\"."));
}

TEST_F(EditorBankUnitTest, PicturesAreWrittenBesideTheTestUnderTheirOwnNames)
{
    Start();
    Open(WriteTest("tests/three.txt"));
    folder.Write("tests/dot.gif", "the teacher's own picture");
    Import(folder.Write("banks/moodle.xml", MoodleWithPicture("dot.gif") ));
    ASSERT_EQ(form->TaskCount(), 4);
    EXPECT_EQ(form->TaskAt(3).ImageFile, folder / "tests/dot~2.gif");
    EXPECT_EQ(folder.Read("tests/dot.gif"), "the teacher's own picture");
    EXPECT_EQ(folder.Read("tests/dot~2.gif").substr(0, 6), "GIF89a");
    EXPECT_FALSE(fs::exists(folder / "banks/dot.gif"));

    // A test without a file yet: beside the bank.
    prompts.ExpectMessage("Вы желаете сохранить изменения?", PromptAnswer::No);
    form->MFNewClick();
    Import(folder / "banks/moodle.xml");
    ASSERT_EQ(form->TaskCount(), 1);
    EXPECT_EQ(form->TaskAt(0).ImageFile, folder / "banks/dot.gif");
}

TEST_F(EditorBankUnitTest, NothingComesInWhenAPictureCannotBeWritten)
{
    Start();
    Open(WriteTest("gone/three.txt"));
    fs::remove_all(folder / "gone");
    prompts.ExpectOpenFile(QString::fromStdString(folder.Write("moodle.xml", MoodleWithPicture("dot.gif"))));
    prompts.ExpectMessage("");
    form->MFImportFromOthrClick();
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    EXPECT_EQ(form->TaskCount(), 3);
    EXPECT_EQ(form->Document().Modified, 0);
    EXPECT_FALSE(fs::exists(folder / "dot.gif"));
}

TEST_F(EditorBankUnitTest, ABankThatCannotBeReadOrHoldsNothingChangesNothing)
{
    Start();
    Open(WriteTest("three.txt"));
    prompts.ExpectOpenFile(QString::fromStdString(folder.Write("broken.xml", "<quiz><question")));
    prompts.ExpectMessage("");
    form->MFImportFromOthrClick();
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);

    const std::string empty = folder.Write("essays.gift", "::Эссе::Напишите эссе{}\n");
    Import(empty);
    EXPECT_TRUE(prompts.Last().Text.startsWith(
        QString::fromStdString("Добавлено 0 заданий\r\nиз файла: \"" + empty + "\".\r\nПропущено вопросов: 1.")));
    EXPECT_EQ(form->TaskCount(), 3);
    EXPECT_EQ(form->Document().Modified, 0);
}

struct ExportCase {
    BankKind Kind;
    const char* FileName;
    const char* Title;
    size_t Written;  // of the three tasks: single, multiple and ordering choice
};

TEST_F(EditorBankUnitTest, ExportWritesEachFormatAndNamesWhatItLeftOut)
{
    const ExportCase cases[] = {
        {BankKind::MoodleXml, "out.xml", "Экспорт в Moodle XML", 3},
        {BankKind::Gift, "out.gift", "Экспорт в GIFT", 2},
        {BankKind::Aiken, "out.aiken", "Экспорт в Aiken", 1},
    };
    Start();
    Open(WriteTest("three.txt"));
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.FileName);
        const std::string out = folder / c.FileName;
        prompts.ExpectSaveFile(QString::fromStdString(out));
        prompts.ExpectMessage("");
        form->ExportBank(c.Kind);
        const ShownPrompt& dialog = prompts.Shown()[prompts.Shown().size() - 2];
        EXPECT_EQ(dialog.File.Title, QString::fromUtf8(c.Title));
        EXPECT_TRUE(dialog.File.OverwritePrompt);
        const QString text = prompts.Last().Text;
        EXPECT_TRUE(text.startsWith(QString::fromStdString("Экспортировано " + std::to_string(c.Written) +
                                                           " заданий\r\nв файл: \"" + out + "\".")))
            << text.toStdString();
        EXPECT_EQ(text.contains("Пропущено заданий: " + QString::number(3 - c.Written) + "."), c.Written < 3);
        const auto back = ReadBankFile(out);
        ASSERT_TRUE(back) << back.error().Message;
        ASSERT_EQ(back->Tasks.size(), c.Written);
        for (size_t k = 0; k < c.Written; ++k) {
            EXPECT_EQ(back->Tasks[k].Question, form->TaskAt(static_cast<int>(k)).Question);
            EXPECT_EQ(back->Tasks[k].TaskType, form->TaskAt(static_cast<int>(k)).TaskType);
            EXPECT_EQ(Meaning(back->Tasks[k]), Meaning(form->TaskAt(static_cast<int>(k))));
        }
    }
    EXPECT_EQ(form->Document().Modified, 0);
}

TEST_F(EditorBankUnitTest, ATestWithoutTasksIsNotExported)
{
    Start();
    prompts.ExpectMessage("В тесте нет заданий для экспорта.");
    form->ExportBank(BankKind::Gift);
}

}  // namespace
}  // namespace quilmo::testing
