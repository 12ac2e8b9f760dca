// File > Save as, check tests opened in the window, their lock and their picture folder.

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

#include <filesystem>

#include "model/FileIO.h"
#include "model/Cp1251.h"
#include "model/TextUtil.h"
#include "support/CheckTestBytes.h"
#include "support/HostileTexts.h"
#include "support/QtRunnerFixture.h"

namespace quilmo::testing {
namespace {

namespace fs = std::filesystem;

const QString kLockQuestion = "Ограничить доступ к настройкам создаваемого теста?";

// Two tasks, the second with a picture beside the test.
std::vector<std::string> PictureTest(const std::string& count = "3")
{
    return {"Тест с рисунком", "Описание", count, "--------", "2", "--------", "1", "0",
            "----1----", "Первый вопрос", "", "", "1", "Да", "Нет", "", "", "",
            "----2----", "Второй вопрос", "Подсказка", "pic.jpg", "2,3", "А", "Б", "В", "", "",
            "----3----", "Третий вопрос", "", "", "1-2", "А", "Б", "", "", "",
            "----------конец---------"};
}

class SaveAsUnitTest : public RunnerTest {
protected:
    SaveAsUnitTest()
    {
        // The folders a save dialog may choose.
        for (const std::string& name : {temp, folder / "out", folder / "elsewhere"})
            fs::create_directory(name);
        platform.Temp = temp;
    }
    QString WriteTest(const std::string& name, const std::vector<std::string>& lines)
    {
        return QString::fromStdString(folder.Write(name, Utf8ToCp1251(JoinLinesCrLf(lines))));
    }
    QString Path(const std::string& name) const { return QString::fromStdString(folder / name); }
    static bool Enabled(const QAction* item) { return item->isEnabled(); }
    static bool Enabled(const QMenu* menu) { return menu->isEnabled(); }
    // The settings items a lock turns off, named for the failure message.
    std::vector<std::pair<const char*, bool>> SettingsItemsOffWhenLocked() const
    {
        const TMainForm::TMenus& m = form->Menus();
        return {{"MCOrderTask", m.MCOrderTask->isEnabled()},
                {"MCOrderVariant", m.MCOrderVariant->isEnabled()},
                {"MCModeEducation", m.MCModeEducation->isEnabled()},
                {"MCModeTimeLimit", m.MCModeTimeLimit->isEnabled()},
                {"MCSaveResult", m.MCSaveResult->isEnabled()},
                {"MCSaveConfig", m.MCSaveConfig->isEnabled()},
                {"MCAdditionConfig", m.MCAdditionConfig->isEnabled()},
                {"MCSaveConfigNow", m.MCSaveConfigNow->isEnabled()},
                {"MCLoadConfigNow", m.MCLoadConfigNow->isEnabled()}};
    }
    std::vector<std::string> Lines(const std::string& name) const
    {
        return SplitLines(Cp1251ToUtf8(folder.Read(name)));
    }
    // Saves the open test as a check test, answering the lock question.
    void SaveCheckTest(const std::string& name, bool lock)
    {
        prompts.ExpectSaveFile(Path(name), 1);
        prompts.ExpectMessage(kLockQuestion, lock ? PromptAnswer::Yes : PromptAnswer::No);
        form->MFSaveAsClick();
    }
    std::vector<std::string> TempEntries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(temp))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string temp = folder / "tmp";
};

TEST_F(SaveAsUnitTest, TheSaveDialogOffersCheckTestAndText)
{
    Start();
    form->OpenTest(WriteTest("src/test.tst", PictureTest()));
    prompts.ExpectSaveFile(std::nullopt);
    form->MFSaveAsClick();  // cancelled: nothing happens
    const FileDialogSpec& spec = prompts.Last().File;
    EXPECT_EQ(spec.Filter, "Проверочный тест (*.EST)|*.EST|Текстовый файл (*.TXT)|*.TXT");
    EXPECT_EQ(spec.DefaultExtension, "EST");
    EXPECT_EQ(spec.FileName, "");
    EXPECT_TRUE(spec.OverwritePrompt);
}

TEST_F(SaveAsUnitTest, ALockedCheckTestOpensLockedWithItsPicturesInANewFolderEachTime)
{
    folder.Write("src/pic.jpg", "picture bytes");
    Start();
    form->OpenTest(WriteTest("src/test.tst", PictureTest()));
    form->Mode().OrderTaskNormal = 0;
    form->Mode().ModeTimeLimit = 1;
    form->Mode().TimeLimitTest = 900;
    const TModeConfig saved = form->Mode();
    SaveCheckTest("out/check.est", true);
    EXPECT_EQ(prompts.Last().Caption, "Внимание!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Question);
    form->MFCloseClick();

    form->Mode() = TModeConfig{};
    form->OpenTest(Path("out/check.est"));
    ASSERT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->TestInfo().Locked, 1);
    EXPECT_EQ(form->Mode(), saved);
    const std::string first = form->TestInfo().TempDir;
    EXPECT_EQ(first, temp + "/{00000000-0000-4000-8000-000000000001}/");
    ASSERT_EQ(form->Tasks().size(), 3u);
    EXPECT_EQ(form->Tasks()[1].ImageFile, first + "pic.jpg");
    EXPECT_EQ(folder.Read(form->Tasks()[1].ImageFile.substr(folder.Path().size())), "picture bytes");
    EXPECT_EQ(form->Tasks()[1].Prompt, "Подсказка");

    // The lock: no Save as, and no setting but the font.
    form->MFileClick();
    EXPECT_FALSE(Enabled(form->Menus().MFSaveAs));
    form->MFSaveAsClick();  // a shortcut would find it off too: no dialog
    form->MConfigClick();
    EXPECT_TRUE(Enabled(form->Menus().MCFont));
    for (const auto& [item, enabled] : SettingsItemsOffWhenLocked())
        EXPECT_FALSE(enabled) << item;
    form->MCModeEducationClick();
    EXPECT_EQ(form->Mode().ModeEducation, 0);

    // Closing removes the folder and the lock; the container's settings stay.
    form->MFCloseClick();
    EXPECT_FALSE(fs::exists(first));
    EXPECT_EQ(form->TestInfo().Locked, 0);
    EXPECT_EQ(form->Mode(), saved);
    form->MConfigClick();
    for (const auto& [item, enabled] : SettingsItemsOffWhenLocked())
        EXPECT_TRUE(enabled) << item;

    form->OpenTest(Path("out/check.est"));
    const std::string second = form->TestInfo().TempDir;
    EXPECT_EQ(second, temp + "/{00000000-0000-4000-8000-000000000002}/");
    EXPECT_TRUE(fs::exists(second + "pic.jpg"));
    EXPECT_EQ(TempEntries(), std::vector<std::string>{"{00000000-0000-4000-8000-000000000002}"});

    // Leaving the program removes it too.
    Stop();
    EXPECT_TRUE(TempEntries().empty());
}

TEST_F(SaveAsUnitTest, AnUnlockedCheckTestKeepsTheMenusButBringsItsSettingsAndOnlyTheDrawnTasks)
{
    folder.Write("src/pic.jpg", "p");
    Start();
    form->OpenTest(WriteTest("src/subset.tst", PictureTest("3 (2)")));
    ASSERT_EQ(form->Tasks().size(), 2u);
    form->Mode().ModeEducation = 1;
    SaveCheckTest("out/check.est", false);
    form->MFCloseClick();

    form->Mode() = TModeConfig{};
    form->OpenTest(Path("out/check.est"));
    ASSERT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->TestInfo().Locked, 0);
    EXPECT_EQ(form->TestInfo().TaskCount, 2);
    EXPECT_EQ(form->Tasks().size(), 2u);
    EXPECT_EQ(form->Mode().ModeEducation, 1);
    form->MFileClick();
    EXPECT_TRUE(Enabled(form->Menus().MFSaveAs));
    form->MConfigClick();
    for (const auto& [item, enabled] : SettingsItemsOffWhenLocked())
        EXPECT_TRUE(enabled) << item;
}

TEST_F(SaveAsUnitTest, SavingTextBesideItsOwnPicturesAsksAndLeavesThemIntact)
{
    folder.Write("t/pic.jpg", "the picture");
    Start();
    form->OpenTest(WriteTest("t/test.tst", PictureTest()));

    prompts.ExpectSaveFile(Path("t/copy.txt"), 2);
    prompts.ExpectMessage("Файл: \"" + Path("t/pic.jpg") + "\" уже существует.\r\nЗаменить его?",
                          PromptAnswer::Yes);
    form->MFSaveAsClick();
    EXPECT_EQ(folder.Read("t/pic.jpg"), "the picture");
    EXPECT_EQ(Lines("t/copy.txt"), PictureTest());
    // CR LF after every line, the last one included.
    EXPECT_EQ(folder.Read("t/copy.txt").substr(folder.Read("t/copy.txt").size() - 2), "\r\n");

    // Elsewhere the picture is copied without a question; an existing other
    // picture of that name is replaced only on Yes.
    prompts.ExpectSaveFile(Path("elsewhere/copy.txt"), 2);
    form->MFSaveAsClick();
    EXPECT_EQ(folder.Read("elsewhere/pic.jpg"), "the picture");
    folder.Write("elsewhere/pic.jpg", "someone else's picture");
    prompts.ExpectSaveFile(Path("elsewhere/copy.txt"), 2);
    prompts.ExpectMessage("", PromptAnswer::No);
    form->MFSaveAsClick();
    EXPECT_EQ(folder.Read("elsewhere/pic.jpg"), "someone else's picture");
    prompts.ExpectSaveFile(Path("elsewhere/copy.txt"), 2);
    prompts.ExpectMessage("", PromptAnswer::Yes);
    form->MFSaveAsClick();
    EXPECT_EQ(folder.Read("elsewhere/pic.jpg"), "the picture");
}

TEST_F(SaveAsUnitTest, PicturesWhoseNamesClashAreSavedUnderNamesOfTheirOwn)
{
    for (const std::string& picture : kClashingPictures)
        folder.Write("src/" + picture, "bytes of " + picture);
    Start();
    form->OpenTest(WriteTest("src/test.tst", ClashingPicturesTest()));
    ASSERT_EQ(form->Tasks().size(), 4u);
    // Every task must show its own picture again, whichever way it was saved.
    const auto expectOwnPictures = [&](const char* how) {
        ASSERT_EQ(form->State(), TRunnerState::TestOpen) << how;
        ASSERT_EQ(form->Tasks().size(), 4u) << how;
        for (size_t k = 0; k < 4; ++k) {
            const std::string& image = form->Tasks()[k].ImageFile;
            ASSERT_EQ(image.compare(0, folder.Path().size(), folder.Path()), 0) << how << ' ' << image;
            EXPECT_EQ(folder.Read(image.substr(folder.Path().size())), "bytes of " + kClashingPictures[k])
                << how << ", task " << k + 1;
        }
    };

    SaveCheckTest("out/check.est", false);
    prompts.ExpectSaveFile(Path("elsewhere/copy.txt"), 2);
    form->MFSaveAsClick();
    EXPECT_EQ(Lines("elsewhere/copy.txt"), ClashingPicturesTest(true));

    form->MFCloseClick();
    form->OpenTest(Path("out/check.est"));
    expectOwnPictures("check test");
    form->MFCloseClick();
    form->OpenTest(Path("elsewhere/copy.txt"));
    expectOwnPictures("text");
}

TEST_F(SaveAsUnitTest, AMissingPictureIsDroppedWithItsMessage)
{
    Start();
    form->OpenTest(WriteTest("t/test.tst", PictureTest()));  // no pic.jpg beside it
    prompts.ExpectSaveFile(Path("t/copy.txt"), 2);
    prompts.ExpectMessage("Файла: \"" + Path("t/pic.jpg") + "\" не существует.");
    form->MFSaveAsClick();
    EXPECT_EQ(prompts.Last().Caption, "Внимание!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Information);
    std::vector<std::string> expected = PictureTest();
    expected[21] = "";
    EXPECT_EQ(Lines("t/copy.txt"), expected);
}

TEST_F(SaveAsUnitTest, AFailedSaveSaysSoAndLeavesTheOldFileAsItWas)
{
    folder.Write("t/pic.jpg", "small");
    Start();
    form->OpenTest(WriteTest("t/test.tst", PictureTest()));
    const std::string old = folder.Write("out/check.est", "the old check test");
    // A picture too large for the container's 32-bit size (sparse, so it costs nothing).
    fs::resize_file(folder / "t/pic.jpg", (uint64_t(1) << 31) + 10);

    prompts.ExpectSaveFile(Path("out/check.est"), 1);
    prompts.ExpectMessage(kLockQuestion, PromptAnswer::No);
    prompts.ExpectMessage("Произошла ошибка при сохранении файла...");
    form->MFSaveAsClick();
    EXPECT_EQ(prompts.Last().Caption, "Quilmo");
    EXPECT_EQ(folder.Read("out/check.est"), "the old check test");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "out"), fs::directory_iterator()), 1);  // no leftovers

    // A text test that cannot be written: the system's own text.
    fs::create_directory(folder / "out/taken.txt");
    prompts.ExpectSaveFile(Path("out/taken.txt"), 2);
    prompts.ExpectMessage(QString::fromStdString(SaveErrorText(folder / "out/taken.txt", SystemErrorText(EISDIR))));
    form->MFSaveAsClick();
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
}

TEST_F(SaveAsUnitTest, BadCheckTestsShowTheirMessagesAndLeaveNoFolder)
{
    HandBody truncated;
    truncated.Mode(0, 0, 1, 1, 0, 0, 0, 0, 300, 30).U8(1).I32(3000).Raw("000");
    const QString corrupt = QString::fromStdString(folder.Write("bad/cut.est", HandContainer(truncated)));
    const QString foreign = QString::fromStdString(folder.Write("bad/foreign.est", "PK\x03\x04 not ours"));
    Start();

    prompts.ExpectMessage("Неверный тип проверочного теста!");
    form->OpenTest(foreign);
    EXPECT_EQ(prompts.Last().Caption, "Ошибка!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    EXPECT_EQ(form->TestInfo().FileCrc, 0u);

    prompts.ExpectMessage("Ошибка загрузки теста!");
    form->OpenTest(corrupt);
    EXPECT_EQ(form->State(), TRunnerState::NoTest);
    EXPECT_EQ(form->Mode().ModeEducation, 1);  // the block was read: it is in force
    EXPECT_TRUE(TempEntries().empty());
}

TEST_F(SaveAsUnitTest, OpeningACheckTestOverAnotherRemovesTheFirstFolder)
{
    folder.Write("src/pic.jpg", "p");
    Start();
    form->OpenTest(WriteTest("src/test.tst", PictureTest()));
    SaveCheckTest("a.est", false);
    SaveCheckTest("b.est", false);
    form->MFCloseClick();
    form->OpenTest(Path("a.est"));
    const std::string first = form->TestInfo().TempDir;
    form->OpenTest(Path("b.est"));  // as the command line does on returning from the editor
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::exists(form->TestInfo().TempDir + "pic.jpg"));
    EXPECT_EQ(TempEntries().size(), 1u);
}

TEST_F(SaveAsUnitTest, WithoutTempTheFolderIsMadeBesideTheTest)
{
    folder.Write("src/pic.jpg", "p");
    Start();
    form->OpenTest(WriteTest("src/test.tst", PictureTest()));
    SaveCheckTest("out/check.est", false);
    form->MFCloseClick();
    platform.Temp.clear();
    form->OpenTest(Path("out/check.est"));
    EXPECT_EQ(form->TestInfo().TempDir, folder / "out/{00000000-0000-4000-8000-000000000001}/");
    EXPECT_TRUE(fs::exists(form->TestInfo().TempDir + "pic.jpg"));
}

TEST_F(SaveAsUnitTest, TheEncryptorOpensModallyFromTheModulesMenu)
{
    Start();
    QAction* encrypt = form->Menus().MMEncrypt;
    EXPECT_TRUE(encrypt->isEnabled());
    EXPECT_EQ(encrypt->shortcut(), QKeySequence(Qt::Key_F3));
    QString title;
    prompts.ExpectModal("TEncryptForm", [&](QDialog& dialog) {
        title = dialog.windowTitle();
        EXPECT_EQ(dialog.parent(), form.get());
        return int(QDialog::Rejected);
    });
    encrypt->trigger();
    EXPECT_EQ(title, "Шифрование/расшифрование тестов");
}

}  // namespace
}  // namespace quilmo::testing
