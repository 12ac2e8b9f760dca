// The encryptor window: open and encipher, open and decipher, save.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

#include "model/Cp1251.h"
#include "support/CheckTestBytes.h"
#include "support/FakePlatform.h"
#include "support/QtScriptedPrompts.h"
#include "support/TempFolder.h"
#include "tools/EncryptUnit.h"

namespace quilmo::testing {
namespace {

const QString kPlainFilter = "Все файлы тестов (*.txt,*.tst)|*.TXT;*.TST;|Текстовые файлы (*.txt)|*.TXT|"
                             "Файлы тестов (*.tst)|*.TST";
const QString kEncipheredFilter = "Зашифрованные файлы тестов|*.STST";

class EncryptUnitTest : public ::testing::Test {
protected:
    EncryptUnitTest()
    {
        services = std::make_unique<AppServices>(
            AppServices{prompts, platform, desktop, folder.Path(), folder.Path(), {}});
        form = std::make_unique<TEncryptForm>(*services);
    }
    void TearDown() override
    {
        form.reset();
        prompts.Verify();
    }
    QString Path(const std::string& name) const { return QString::fromStdString(folder / name); }
    QPlainTextEdit* Pane(const char* name) const { return form->findChild<QPlainTextEdit*>(name); }
    QPushButton* Button(const char* name) const { return form->findChild<QPushButton*>(name); }
    void Open(const std::string& name, bool encipher)
    {
        prompts.ExpectOpenFile(Path(name));
        encipher ? form->OpenAndEncryptBitBtnClick() : form->OpenAndDecryptBitBtnClick();
    }
    void Save(const std::string& name)
    {
        prompts.ExpectSaveFile(Path(name));
        form->SaveToFileBitBtnClick();
    }

    TempFolder folder;
    ScriptedPrompts prompts;
    FakePlatform platform;
    RecordingDesktop desktop;
    std::unique_ptr<AppServices> services;
    std::unique_ptr<TEncryptForm> form;
};

TEST_F(EncryptUnitTest, WindowStartsWithNothingConvertedAndWarnsWhenShown)
{
    EXPECT_EQ(form->windowTitle(), "Шифрование/расшифрование тестов");
    EXPECT_EQ(form->Mode(), 0);
    EXPECT_FALSE(Button("SaveToFileBitBtn")->isEnabled());
    EXPECT_EQ(Button("OpenAndEncryptBitBtn")->accessibleName(), "Открыть и зашифровать...");
    EXPECT_EQ(Button("OpenAndDecryptBitBtn")->accessibleName(), "Открыть и расшифровать...");
    EXPECT_EQ(Button("ExitBitBtn")->accessibleName(), "Выход");
    for (const char* pane : {"Memo1", "Memo2"}) {
        EXPECT_FALSE(Pane(pane)->isReadOnly());
        EXPECT_EQ(Pane(pane)->focusPolicy(), Qt::ClickFocus);  // skipped by Tab
    }

    prompts.ExpectMessage("Этот модуль оставлен только для совместимости с предыдущей версией и не "
                          "рекомендуется для использования.\r\nАвтор рекомендует познакомится  с "
                          "«проверочными тестами».");
    form->FormShow();
    EXPECT_EQ(prompts.Last().Caption, "Внимание!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Information);
    EXPECT_EQ(prompts.Last().Buttons, PromptButtons::Ok);
}

TEST_F(EncryptUnitTest, AnLfOnlyFileIsEncipheredAsCrLfAndDeciphersBackWithCrLf)
{
    folder.Write("unix.tst", Utf8ToCp1251("Тест\nОписание\n1"));
    Open("unix.tst", true);
    EXPECT_EQ(prompts.Last().File.Filter, kPlainFilter);
    EXPECT_EQ(form->Mode(), 1);
    EXPECT_EQ(form->SourceFile(), folder / "unix.tst");
    EXPECT_TRUE(Button("SaveToFileBitBtn")->isEnabled());
    EXPECT_EQ(Pane("Memo1")->toPlainText(), "Тест\nОписание\n1");
    const std::string digits = HandEncipher(Utf8ToCp1251("Тест\r\nОписание\r\n1"), kHandLegacyKey);
    EXPECT_EQ(Pane("Memo2")->toPlainText().toStdString(), digits);

    Save("unix.stst");
    EXPECT_EQ(prompts.Last().File.Filter, kEncipheredFilter);
    EXPECT_EQ(prompts.Last().File.DefaultExtension, "STST");
    EXPECT_TRUE(prompts.Last().File.OverwritePrompt);
    EXPECT_EQ(folder.Read("unix.stst"), digits);  // one line of digits, no line end

    Open("unix.stst", false);
    EXPECT_EQ(prompts.Last().File.Filter, kEncipheredFilter);
    EXPECT_EQ(form->Mode(), 2);
    EXPECT_EQ(Pane("Memo2")->toPlainText(), "Тест\nОписание\n1");
    Save("back.txt");
    EXPECT_EQ(prompts.Last().File.Filter, "Text files (*.txt)|*.TXT|Test files (*.tst)|*.TST");
    EXPECT_EQ(prompts.Last().File.DefaultExtension, "txt");
    EXPECT_EQ(folder.Read("back.txt"), Utf8ToCp1251("Тест\r\nОписание\r\n1"));
}

TEST_F(EncryptUnitTest, AFinalLineBreakAndEveryByteSurviveTheRoundTrip)
{
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n')
            bytes += char(b);
    bytes += "\r\nend\n";
    folder.Write("all.txt", bytes);
    Open("all.txt", true);
    Save("all.stst");
    folder.Write("all.stst", folder.Read("all.stst") + "\r\n");  // a line end after the digits is tolerated
    Open("all.stst", false);
    Save("all-back.txt");
    EXPECT_TRUE(folder.Read("all-back.txt") == bytes.substr(0, bytes.size() - 1) + "\r\n");
}

TEST_F(EncryptUnitTest, WhatTheUserTypesIntoTheResultIsSavedWithIt)
{
    folder.Write("t.txt", "abc");
    Open("t.txt", true);
    Pane("Memo2")->selectAll();
    Pane("Memo2")->insertPlainText("123\n456");  // as typing does
    Save("edited.stst");
    EXPECT_EQ(folder.Read("edited.stst"), "123\r\n456");
}

TEST_F(EncryptUnitTest, DigitsThatDoNotDecipherGiveTheCipherErrorWhichCanBeSaved)
{
    folder.Write("bad.stst", "000x00");
    Open("bad.stst", false);
    EXPECT_EQ(form->Mode(), 2);
    EXPECT_EQ(Pane("Memo2")->toPlainText(), "Произошла ошибка!");
    Save("bad.txt");
    EXPECT_EQ(folder.Read("bad.txt"), Utf8ToCp1251("Произошла ошибка!"));
}

TEST_F(EncryptUnitTest, CancelledOrMissingFilesChangeNothing)
{
    folder.Write("t.txt", "abc");
    Open("t.txt", true);
    const QString digits = Pane("Memo2")->toPlainText();

    prompts.ExpectOpenFile(std::nullopt);
    form->OpenAndEncryptBitBtnClick();
    Open("typed-but-missing.txt", true);
    prompts.ExpectSaveFile(std::nullopt);
    form->SaveToFileBitBtnClick();
    EXPECT_EQ(form->Mode(), 1);
    EXPECT_EQ(form->SourceFile(), folder / "t.txt");
    EXPECT_EQ(Pane("Memo1")->toPlainText(), "abc");
    EXPECT_EQ(Pane("Memo2")->toPlainText(), digits);
}

TEST_F(EncryptUnitTest, AnUnreadableSourceEmptiesThePanesAndDisablesSaving)
{
    folder.Write("t.txt", "abc");
    Open("t.txt", true);
    // Exists as a regular file, yet reading it fails, whoever runs the test.
    prompts.ExpectOpenFile("/proc/self/mem");
    prompts.ExpectMessage("Ошибка открытия файла!");
    form->OpenAndDecryptBitBtnClick();
    EXPECT_EQ(prompts.Last().Caption, "Quilmo");
    EXPECT_EQ(form->Mode(), 0);
    EXPECT_FALSE(Button("SaveToFileBitBtn")->isEnabled());
    EXPECT_EQ(Pane("Memo1")->toPlainText(), "");
    EXPECT_EQ(Pane("Memo2")->toPlainText(), "");
    form->SaveToFileBitBtnClick();  // mode 0: no dialog
}

TEST_F(EncryptUnitTest, AnUnwritableTargetSaysSoAndKeepsThePanes)
{
    folder.Write("t.txt", "abc");
    Open("t.txt", true);
    prompts.ExpectSaveFile(Path("no/such/folder/t.stst"));
    prompts.ExpectMessage("Ошибка при сохранении файла.");
    form->SaveToFileBitBtnClick();
    EXPECT_EQ(form->Mode(), 1);
    EXPECT_EQ(Pane("Memo1")->toPlainText(), "abc");
}

}  // namespace
}  // namespace quilmo::testing
