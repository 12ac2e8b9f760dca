// The editor window as a teacher uses it: building, opening, editing and writing tests.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <memory>

#include "editor/EditTitleAndDescriptionUnit.h"
#include "editor/EditorUnit.h"
#include "editor/MarkLevelUnit.h"
#include "editor/SelectTypeTaskUnit.h"
#include "model/Cp1251.h"
#include "app/ShowQuestionImageUnit.h"
#include "model/TextUtil.h"
#include "support/QtEditorFixture.h"

namespace quilmo::testing {
namespace {

const QString kAttention = QStringLiteral("Внимание!");
const QString kNoTitle = QStringLiteral("Для теста не был задан заголовок.");
const QString kNoMarks = QStringLiteral("Для теста не была задана система оценки.");
const QString kLeaveQuestion =
    QStringLiteral("Вы желаете сохранить изменения в текущем задании перед переходом к другому?");
const QString kNoAnswer = QStringLiteral(
    "Задание сохранено, но были обнаружены возможные проблемы:\r\n\r\n"
    "1) Не выбран ни один вариант ответа;\r\n");

// Three tasks of the three types, written by hand in the file format.
const std::vector<std::string> kThreeTasks = {
    "Проверка", "Описание_CRLF_в две строки", "3", "--------", "2", "--------", "2", "0",
    "----1----", "Первый вопрос", "", "", "2", "А", "Б", "", "", "",
    "----2----", "Второй вопрос", "подсказка", "", "1,3", "А", "Б", "В", "", "",
    "----3----", "Третий вопрос", "", "", "2-1", "А", "Б", "", "", "",
    "----------конец---------",
};

class EditorUnitTest : public EditorTest {
protected:
    template <class T>
    T* W(const QString& name) const
    {
        T* widget = form->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QPlainTextEdit* Question() const { return W<QPlainTextEdit>("QuestionText"); }
    QPlainTextEdit* Variant(int i) const { return W<QPlainTextEdit>(QStringLiteral("VariantText%1").arg(i)); }
    QRadioButton* Radio(int i) const { return W<QRadioButton>(QStringLiteral("RadioButtonVariant%1").arg(i)); }
    QCheckBox* Check(int i) const { return W<QCheckBox>(QStringLiteral("CheckBoxVariant%1").arg(i)); }
    QComboBox* Combo(int i) const { return W<QComboBox>(QStringLiteral("ComboBoxVariant%1").arg(i)); }
    QLineEdit* ImageFile() const { return W<QLineEdit>("ImageFileEdit"); }
    QLineEdit* Prompt() const { return W<QLineEdit>("PromptEdit"); }

    QString WriteTest(const std::string& name, const std::vector<std::string>& lines)
    {
        return QString::fromStdString(folder.Write(name, Utf8ToCp1251(JoinLinesCrLf(lines))));
    }

    void Open(const QString& path)
    {
        prompts.ExpectOpenFile(path);
        form->MFOpenClick();
    }

    // Fills the panel: question, variants and the marks of the task's type.
    void Fill(const QString& question, const QStringList& variants, std::vector<int> marks,
              uint8_t type)
    {
        Question()->setPlainText(question);
        for (int i = 0; i < 5; ++i)
            Variant(i)->setPlainText(i < variants.size() ? variants[i] : QString());
        for (int i = 0; i < static_cast<int>(marks.size()); ++i) {
            if (marks[i] == 0)
                continue;
            if (type == SingleChoice)
                Radio(i)->setChecked(true);
            else if (type == MultipleChoice)
                Check(i)->setChecked(true);
            else
                Combo(i)->setCurrentIndex(marks[i]);
        }
    }

    // Chooses a type in the type dialog and confirms it with OK.
    void ExpectTypeDialog(int index)
    {
        prompts.ExpectModal("TSelectTypeTaskForm", [index](QDialog& dialog) {
            auto& form = static_cast<TSelectTypeTaskForm&>(dialog);
            form.SetItemIndex(index);
            form.OkButton()->click();
            return form.result();
        });
    }

};

TEST_F(EditorUnitTest, StartsWithAnEmptyDocument)
{
    Start();
    EXPECT_EQ(form->windowTitle(), "Quilmo (Редактор тестов)");
    EXPECT_EQ(form->StatusText(0), "Всего заданий: 0");
    EXPECT_EQ(form->StatusText(1), "");
    EXPECT_EQ(form->StatusText(2), "");
    EXPECT_FALSE(form->TaskPanelShown());
    EXPECT_TRUE(W<QLabel>("InstructionLabel")->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Menus().MTDelete->isEnabled());
    EXPECT_TRUE(form->Menus().MTAdd->isEnabled());
}

// A new test gets three tasks of each type, each edited and saved in the
// panel, and is written to a file that is compared with a hand-written one.
TEST_F(EditorUnitTest, BuildsATestFromNothingAndWritesIt)
{
    Start();
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const std::string picturePath = folder / "pics/глаз.bmp";
    folder.Write("pics/.keep", "");
    ASSERT_TRUE(picture.save(QString::fromStdString(picturePath), "BMP"));

    struct Step {
        uint8_t Type;
        QString Question;
        QStringList Variants;
        std::vector<int> Marks;
        QString Prompt;
        QString Picture;
        QString Findings;
    };
    const Step steps[] = {
        {SingleChoice, "Сколько будет 2+2?", {"3", "4", "5"}, {0, 1}, "Сложите числа", {}, {}},
        {SingleChoice, "  Столица России —\nкакой город?\n\n", {"Москва ", "Казань"}, {1}, {}, {}, {}},
        {SingleChoice, "Без ответа", {"а"}, {}, {}, {}, kNoAnswer},
        {MultipleChoice, "Чётные числа:", {"1", "2", "3", "4"}, {0, 1, 0, 1}, {}, {}, {}},
        {MultipleChoice, "Одна галочка", {"x", "y"}, {0, 1}, {}, {}, {}},
        {MultipleChoice, "Гласные буквы", {"а", "б", "в", "е", "ж"}, {1, 0, 0, 1}, " Их можно петь ",
         QString::fromStdString(picturePath), {}},
        {Ordering, "Расставьте по алфавиту", {"в", "а", "б"}, {3, 1, 2}, {}, {}, {}},
        {Ordering, "Первое и второе", {"один", "два"}, {1, 2}, {}, {}, {}},
        {Ordering, "Ещё без порядка", {"x"}, {}, {}, {},
         "Задание сохранено, но были обнаружены возможные проблемы:\r\n\r\n"
         "1) Не выбран ни один вариант ответа;\r\n"
         "2) Не выбран номер для всех вариантов ответа (№1)\r\n"},
    };
    int added = 0;
    for (const Step& step : steps) {
        // The first task of each type comes through the type dialog, the others
        // from the "Добавить" submenu.
        if (added % 3 == 0) {
            ExpectTypeDialog(step.Type - 1);
            form->MTAddClick();
        } else {
            form->MTAdd2Sub_Click(step.Type);
        }
        ++added;
        ASSERT_EQ(form->TaskCount(), added);
        EXPECT_EQ(form->NodeLabel(added - 1), QStringLiteral("Задание №%1").arg(added));
        EXPECT_EQ(form->SelectedPosition(), added - 1);
        EXPECT_TRUE(form->TaskPanelShown());
        EXPECT_FALSE(form->EditButtonsEnabled());
        EXPECT_TRUE(W<QWidget>(QStringLiteral("GridPanel_VT%1").arg(step.Type))->isVisibleTo(form.get()));

        Fill(step.Question, step.Variants, step.Marks, step.Type);
        Prompt()->setText(step.Prompt);
        ImageFile()->setText(step.Picture);
        EXPECT_TRUE(form->EditButtonsEnabled());
        if (!step.Findings.isEmpty())
            prompts.ExpectMessage(step.Findings);
        form->TaskSaveClick();
        EXPECT_FALSE(form->EditButtonsEnabled());
    }
    EXPECT_EQ(form->NodeLabel(1), "Столица России — какой город?");
    EXPECT_EQ(form->TaskAt(1).Question, "Столица России —\r\nкакой город?");
    EXPECT_EQ(form->StatusText(0), "Всего заданий: 9");
    EXPECT_EQ(form->StatusText(1), "Выбрано задание №9");
    EXPECT_EQ(form->StatusText(2), "Тест изменен");

    const QString path = QString::fromStdString(folder / "nine.txt");
    prompts.ExpectSaveFile(path).ExpectMessage(kNoTitle).ExpectMessage(kNoMarks);
    form->MFSaveFileClick();
    EXPECT_EQ(prompts.Shown()[prompts.Shown().size() - 3].File.Filter,
              "Текстовый файл (*.TXT)|*.TXT|Файл с тестом(*.TST)|*.TST");
    EXPECT_EQ(prompts.Last().Caption, "Предупреждение!");
    EXPECT_EQ(folder.Read("nine.txt"), ReadFixture("editor/nine-tasks-expected.txt"));
    EXPECT_EQ(form->Document().FileName, folder / "nine.txt");
    EXPECT_EQ(form->StatusText(2), "");
    EXPECT_EQ(form->windowTitle(), "nine.txt - Quilmo (Редактор тестов)");

    // Saving again writes to the same file without a dialog.
    prompts.ExpectMessage(kNoTitle).ExpectMessage(kNoMarks);
    form->MFSaveFileClick();
    EXPECT_EQ(folder.Read("nine.txt"), ReadFixture("editor/nine-tasks-expected.txt"));
}

TEST_F(EditorUnitTest, OpenShowsTheQuestionsAsLabels)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    EXPECT_EQ(prompts.Last().File.Filter,
              "Все текстовые файлы тестов (*.TXT, *.TST)|*.TXT;*.TST|Текстовый файл (*.TXT)|*.TXT|"
              "Файл с тестом(*.TST)|*.TST");
    ASSERT_EQ(form->TaskCount(), 3);
    EXPECT_EQ(form->NodeLabel(0), "Первый вопрос");
    EXPECT_EQ(form->NodeLabel(2), "Третий вопрос");
    EXPECT_EQ(form->TaskAt(1).TaskType, MultipleChoice);
    EXPECT_EQ(form->Document().Title, "Проверка");
    EXPECT_EQ(form->Document().Description, "Описание\r\nв две строки");
    EXPECT_EQ(form->Document().Marks, (TIntDynArray{0, 2}));
    EXPECT_EQ(form->Document().FileDir, folder.Path());
    EXPECT_EQ(form->Document().Modified, 0);
    EXPECT_EQ(form->windowTitle(), "three.tst - Quilmo (Редактор тестов)");
    EXPECT_EQ(form->StatusText(0), "Всего заданий: 3");
    EXPECT_EQ(form->SelectedPosition(), -1);
    EXPECT_FALSE(form->TaskPanelShown());

    // Selecting a node shows its task.
    form->SelectTask(2);
    EXPECT_TRUE(form->TaskPanelShown());
    EXPECT_EQ(Question()->toPlainText(), "Третий вопрос");
    EXPECT_EQ(Combo(0)->currentIndex(), 2);
    EXPECT_EQ(Combo(1)->currentIndex(), 1);
    EXPECT_FALSE(W<QWidget>("GridPanel_VT1")->isVisibleTo(form.get()));
    EXPECT_EQ(form->StatusText(1), "Выбрано задание №3");
    form->SelectTask(1);
    EXPECT_TRUE(Check(0)->isChecked());
    EXPECT_FALSE(Check(1)->isChecked());
    EXPECT_TRUE(Check(2)->isChecked());
    EXPECT_EQ(Prompt()->text(), "подсказка");
    EXPECT_FALSE(form->EditButtonsEnabled());

    // New after editing leaves an empty title and the bare caption.
    form->MTAddCopyClick();
    prompts.ExpectMessage("Вы желаете сохранить изменения?", PromptAnswer::No);
    form->MFNewClick();
    EXPECT_EQ(form->TaskCount(), 0);
    EXPECT_EQ(form->Document().Title, "");
    EXPECT_EQ(form->Document().Description, "");
    EXPECT_TRUE(form->Document().Marks.empty());
    EXPECT_EQ(form->windowTitle(), "Quilmo (Редактор тестов)");
    EXPECT_FALSE(form->TaskPanelShown());
}

TEST_F(EditorUnitTest, FocusComingBackToTheTreeAfterOpenOrImportSelectsNothing)
{
    // The first task's picture is missing: showing it would say so at once.
    const std::vector<std::string> lines = {
        "Без выбора", "", "2", "--------", "0", "--------",
        "----1----", "Первый", "", "нет.jpg", "1", "а", "", "", "", "",
        "----2----", "Второй", "", "", "1", "а", "", "", "", "",
        "----------конец---------",
    };
    const QString path = WriteTest("first.tst", lines);
    Start();
    auto focusTree = [&] {
        QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(form->Tree(), &in);
    };
    Open(path);
    focusTree();
    EXPECT_EQ(form->SelectedPosition(), -1);
    EXPECT_FALSE(form->TaskPanelShown());
    EXPECT_EQ(form->StatusText(1), "");

    prompts.ExpectOpenFile(path).ExpectMessage({});
    form->MFImportFromOthrClick();
    focusTree();
    EXPECT_EQ(form->TaskCount(), 4);
    EXPECT_EQ(form->SelectedPosition(), -1);
    EXPECT_FALSE(form->TaskPanelShown());

    // The teacher's own choice shows the task, and says the picture is missing.
    prompts.ExpectMessage("Файл с изображением отсутствует!");
    form->SelectTask(0);
    EXPECT_TRUE(form->TaskPanelShown());
    focusTree();
    EXPECT_EQ(form->SelectedPosition(), 0);
}

TEST_F(EditorUnitTest, FailedOpenEmptiesTheTreeAndResetsTheDocument)
{
    const QString good = WriteTest("three.tst", kThreeTasks);
    std::vector<std::string> cut(kThreeTasks.begin(), kThreeTasks.begin() + 20);
    const QString bad = WriteTest("cut.txt", cut);
    std::vector<std::string> subset = kThreeTasks;
    subset[2] = "3 (2)";
    const QString withSubset = WriteTest("subset.txt", subset);
    Start();
    Open(good);

    prompts.ExpectOpenFile(bad).ExpectMessage("Ошибка загрузки теста!");
    form->MFOpenClick();
    EXPECT_EQ(prompts.Last().Caption, "Ошибка!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    EXPECT_EQ(form->TaskCount(), 0);
    EXPECT_EQ(form->Document().FileName, "");
    EXPECT_EQ(form->Document().Title, "");
    EXPECT_EQ(form->windowTitle(), "Quilmo (Редактор тестов)");
    EXPECT_EQ(form->StatusText(0), "Всего заданий: 0");

    // A count with a subset is not a plain number: a test without tasks, no message.
    Open(withSubset);
    EXPECT_EQ(form->TaskCount(), 0);
    EXPECT_EQ(form->Document().Title, "Проверка");

    // Cancelling the dialog changes nothing.
    prompts.ExpectOpenFile(std::nullopt);
    form->MFOpenClick();
    EXPECT_EQ(form->Document().FileName, folder / "subset.txt");
}

TEST_F(EditorUnitTest, DeleteAnsweredNoStillMarksTheTestChanged)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    form->SelectTask(0);
    prompts.ExpectMessage("Вы желаете удалить задание?", PromptAnswer::No);
    form->MTDeleteClick();
    EXPECT_EQ(prompts.Last().Caption, "Внимание! Будет удалено задание...");
    EXPECT_EQ(form->TaskCount(), 3);
    EXPECT_EQ(form->StatusText(2), "Тест изменен");

    prompts.ExpectMessage("Вы желаете удалить задание?", PromptAnswer::Yes);
    form->MTDeleteClick();
    ASSERT_EQ(form->TaskCount(), 2);
    EXPECT_EQ(form->NodeLabel(0), "Второй вопрос");
    EXPECT_EQ(form->StatusText(0), "Всего заданий: 2");
    // The neighbour is selected and shown.
    EXPECT_EQ(Question()->toPlainText(), form->TaskAt(form->SelectedPosition()).Question.c_str());

    // A task with unsaved edits goes without a question about saving them.
    Question()->setPlainText("правка");
    ASSERT_TRUE(form->EditButtonsEnabled());
    prompts.ExpectMessage("Вы желаете удалить задание?", PromptAnswer::Yes);
    form->MTDeleteClick();
    ASSERT_EQ(form->TaskCount(), 1);
    EXPECT_FALSE(form->EditButtonsEnabled());

    prompts.ExpectMessage("Вы желаете удалить задание?", PromptAnswer::Yes);
    form->MTDeleteClick();
    EXPECT_EQ(form->TaskCount(), 0);
    EXPECT_FALSE(form->TaskPanelShown());
    form->MTDeleteClick();  // nothing selected: nothing asked
}

TEST_F(EditorUnitTest, MovesKeepTheSelectionAndChangeNothingAtTheEnds)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    form->SelectTask(0);
    form->MTaskClick();
    EXPECT_FALSE(form->Menus().MTMoveToUp->isEnabled());
    EXPECT_FALSE(form->Menus().MTMoveToFirst->isEnabled());
    EXPECT_TRUE(form->Menus().MTMoveToDown->isEnabled());
    form->MTMoveToUpClick();
    form->MTMoveToFirstClick();
    EXPECT_EQ(form->Document().Modified, 0);
    EXPECT_EQ(form->StatusText(2), "");

    form->MTMoveToDownClick();
    EXPECT_EQ(form->NodeLabel(1), "Первый вопрос");
    EXPECT_EQ(form->SelectedPosition(), 1);
    EXPECT_EQ(form->StatusText(1), "Выбрано задание №2");
    EXPECT_EQ(form->StatusText(2), "Тест изменен");
    form->MTMoveToLastClick();
    EXPECT_EQ(form->NodeLabel(2), "Первый вопрос");
    EXPECT_EQ(form->SelectedPosition(), 2);
    form->MTaskClick();
    EXPECT_FALSE(form->Menus().MTMoveToDown->isEnabled());
    EXPECT_FALSE(form->Menus().MTMoveToLast->isEnabled());
    form->MTMoveToFirstClick();
    EXPECT_EQ(form->NodeLabel(0), "Первый вопрос");
    EXPECT_EQ(form->NodeLabel(1), "Второй вопрос");
    EXPECT_EQ(form->NodeLabel(2), "Третий вопрос");
    EXPECT_EQ(form->TaskAt(0).Question, "Первый вопрос");  // the task moves with its node
}

TEST_F(EditorUnitTest, DragAndDropPlacesTheTaskBeforeTheTarget)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    form->resize(700, 600);
    form->show();
    TTaskTree* tree = form->Tree();
    auto centreOf = [tree](int i) { return tree->visualItemRect(tree->topLevelItem(i)).center(); };

    // Onto itself: nothing.
    form->SelectTask(0);
    tree->DragStarted();
    tree->DropAt(centreOf(0));
    EXPECT_EQ(form->Document().Modified, 0);

    // Onto the empty area below the last node: to the end.
    tree->DragStarted();
    tree->DropAt(QPoint(10, tree->viewport()->height() - 2));
    EXPECT_EQ(form->NodeLabel(2), "Первый вопрос");
    EXPECT_EQ(form->Document().Modified, 1);
    EXPECT_EQ(form->SelectedPosition(), 2);

    // Onto the first node: before it.
    tree->DragStarted();
    tree->DropAt(centreOf(0));
    EXPECT_EQ(form->NodeLabel(0), "Первый вопрос");
    EXPECT_EQ(form->NodeLabel(1), "Второй вопрос");
    form->hide();
}

TEST_F(EditorUnitTest, LeavingAnEditedTaskAsksBeforeTheSelectionMoves)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    form->SelectTask(0);
    Question()->setPlainText("Изменённый вопрос");

    // Yes: the task left behind is saved first; the question comes while it is still selected.
    int selectedWhileAsked = -2;
    prompts.ExpectMessage(kLeaveQuestion, PromptAnswer::Yes).During([&] {
        selectedWhileAsked = form->SelectedPosition();
    });
    form->SelectTask(1);
    EXPECT_EQ(selectedWhileAsked, 0);
    EXPECT_EQ(form->TaskAt(0).Question, "Изменённый вопрос");
    EXPECT_EQ(form->NodeLabel(0), "Изменённый вопрос");
    EXPECT_EQ(form->SelectedPosition(), 1);
    EXPECT_EQ(Question()->toPlainText(), "Второй вопрос");

    // No: the edits are lost and the selection moves all the same.
    Question()->setPlainText("Пропадёт");
    prompts.ExpectMessage(kLeaveQuestion, PromptAnswer::No);
    form->SelectTask(2);
    EXPECT_EQ(form->TaskAt(1).Question, "Второй вопрос");
    EXPECT_EQ(form->SelectedPosition(), 2);

    // Reset discards edits without a question.
    Question()->setPlainText("Тоже пропадёт");
    form->TastResetClick();
    EXPECT_EQ(Question()->toPlainText(), "Третий вопрос");
    EXPECT_FALSE(form->EditButtonsEnabled());
    form->SelectTask(0);
}

TEST_F(EditorUnitTest, RightButtonSelectsOnlyWithoutUnsavedEdits)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    form->resize(700, 600);
    form->show();
    TTaskTree* tree = form->Tree();
    auto rightPress = [tree](int i) {
        const QPoint at = tree->visualItemRect(tree->topLevelItem(i)).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, tree->viewport()->mapToGlobal(at),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &press);
    };
    rightPress(1);
    EXPECT_EQ(form->SelectedPosition(), 1);
    Question()->setPlainText("правка");
    rightPress(2);
    EXPECT_EQ(form->SelectedPosition(), 1);

    // The popup then offers Delete and Change type for the task shown.
    form->Menus().PMDelete->setEnabled(false);
    form->TreePopupPopup();
    EXPECT_TRUE(form->Menus().PMDelete->isEnabled());
    EXPECT_TRUE(form->Menus().PMChangeType->isEnabled());
    form->TastResetClick();
    form->hide();
}

TEST_F(EditorUnitTest, ChangeOfTypeConvertsTheKeyAndOffersToSaveFirst)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    form->SelectTask(1);  // multiple choice, variants 1 and 3 right

    ExpectTypeDialog(MultipleChoice - 1);  // the same type: shown again, nothing else
    form->MTChangeTypeClick();
    EXPECT_EQ(form->Document().Modified, 0);

    Variant(0)->setPlainText("А изменённое");
    ExpectTypeDialog(SingleChoice - 1);
    prompts.ExpectMessage(
        "Вы желаете сохранить изменения в текущем задании перед изменением типа задания?",
        PromptAnswer::Yes);
    form->MTChangeTypeClick();
    const TTask& task = form->TaskAt(1);
    EXPECT_EQ(task.TaskType, SingleChoice);
    EXPECT_EQ(task.Answers, (std::array<int32_t, 5>{1, 0, 0, 0, 0}));
    EXPECT_EQ(task.Variants[0], "А изменённое");
    EXPECT_TRUE(Radio(0)->isChecked());
    EXPECT_TRUE(W<QWidget>("GridPanel_VT1")->isVisibleTo(form.get()));
    EXPECT_EQ(form->StatusText(2), "Тест изменен");

    // Not confirmed: nothing happens.
    prompts.ExpectModal("TSelectTypeTaskForm", [](QDialog&) { return QDialog::Rejected; });
    form->MTChangeTypeClick();
    EXPECT_EQ(form->TaskAt(1).TaskType, SingleChoice);

    ExpectTypeDialog(Ordering - 1);
    form->MTChangeTypeClick();
    EXPECT_EQ(form->TaskAt(1).Answers, (std::array<int32_t, 5>{}));
    EXPECT_EQ(Combo(0)->currentIndex(), 0);
}

TEST_F(EditorUnitTest, CopyAndPasteThroughTheClipboard)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("one line only");
    form->MTaskClick();
    EXPECT_FALSE(form->Menus().MTPasteFromClipboard->isEnabled());

    form->SelectTask(2);
    form->MTCopyToClipboardClick();
    EXPECT_EQ(clipboard->text(),
              "-------------------\r\nТретий вопрос\r\n\r\n\r\n2-1\r\nА\r\nБ\r\n\r\n\r\n\r\n");
    form->MTaskClick();
    EXPECT_TRUE(form->Menus().MTPasteFromClipboard->isEnabled());

    // Ten lines with 2,4 on the fifth: a multiple-choice task.
    clipboard->setText("---\r\nВставленный\r\n\r\n\r\n2,4\r\nа\r\nб\r\nв\r\nг\r\n\r\n");
    form->MTPasteFromClipboardClick();
    ASSERT_EQ(form->TaskCount(), 4);
    EXPECT_EQ(form->NodeLabel(3), "Вставка: Вставленный");
    EXPECT_EQ(form->SelectedPosition(), 3);
    EXPECT_EQ(form->TaskAt(3).TaskType, MultipleChoice);
    EXPECT_EQ(form->TaskAt(3).Answers, (std::array<int32_t, 5>{0, 1, 0, 1, 0}));
    EXPECT_EQ(form->StatusText(0), "Всего заданий: 4");
    EXPECT_EQ(form->StatusText(2), "Тест изменен");

    // Nine lines: not offered, and refused with the paste error when asked anyway.
    clipboard->setText("---\r\nq\r\n\r\n\r\n1\r\nа\r\nб\r\nв\r\nг\r\n");
    form->MTaskClick();
    EXPECT_FALSE(form->Menus().MTPasteFromClipboard->isEnabled());
    prompts.ExpectMessage(
        "Ошибка вставки задания из буфера обмена! Возможно не верный формат данных.");
    form->MTPasteFromClipboardClick();
    EXPECT_EQ(prompts.Last().Caption, "Ошибка!");
    EXPECT_EQ(form->TaskCount(), 4);
}

TEST_F(EditorUnitTest, DuplicateCopiesTheStoredTaskAndKeepsTheSelection)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    form->SelectTask(1);
    Question()->setPlainText("несохранённая правка");
    form->MTAddCopyClick();
    ASSERT_EQ(form->TaskCount(), 4);
    EXPECT_EQ(form->NodeLabel(3), "Копия №2");
    EXPECT_EQ(form->TaskAt(3).Question, "Второй вопрос");
    EXPECT_EQ(form->SelectedPosition(), 1);
    EXPECT_EQ(Question()->toPlainText(), "несохранённая правка");
    form->TastResetClick();

    // An added task is numbered by the count before it, whatever labels exist.
    form->MTAdd2Sub_Click(3);
    EXPECT_EQ(form->NodeLabel(4), "Задание №5");
    EXPECT_EQ(form->TaskAt(4).TaskType, Ordering);
}

TEST_F(EditorUnitTest, SavingAnEmptyTaskListsItsProblemsInOrder)
{
    Start();
    form->MTAdd2Sub_Click(1);
    Question()->setPlainText("   ");
    prompts.ExpectMessage(
        "Задание сохранено, но были обнаружены возможные проблемы:\r\n\r\n"
        "1) Нет текста вопроса;\r\n"
        "2) Не выбран ни один вариант ответа;\r\n"
        "3) Нет ни одного текста варианта ответа на задание;\r\n");
    form->TaskSaveClick();
    EXPECT_EQ(prompts.Last().Caption, "Quilmo");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Information);
    EXPECT_EQ(form->NodeLabel(0), "Задание #1");
}

TEST_F(EditorUnitTest, CtrlUpAndDownExchangeVariantTexts)
{
    Start();
    form->MTAdd2Sub_Click(1);
    Question()->setPlainText("Вопрос");
    for (int i = 0; i < 5; ++i)
        Variant(i)->setPlainText(QString::number(i + 1));
    Radio(1)->setChecked(true);
    form->TaskSaveClick();

    auto press = [](QWidget* w, int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(w, &event);
    };
    press(Variant(1), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Variant(0)->toPlainText(), "2");
    EXPECT_EQ(Variant(1)->toPlainText(), "1");
    EXPECT_TRUE(Radio(1)->isChecked());  // the marks keep their rows
    EXPECT_TRUE(form->EditButtonsEnabled());
    press(Variant(3), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Variant(3)->toPlainText(), "5");
    EXPECT_EQ(Variant(4)->toPlainText(), "4");
    // Only exactly Ctrl, and nothing beyond the first and the last.
    press(Variant(2), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    press(Variant(0), Qt::Key_Up, Qt::ControlModifier);
    press(Variant(4), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Variant(0)->toPlainText(), "2");
    EXPECT_EQ(Variant(2)->toPlainText(), "3");
    EXPECT_EQ(Variant(4)->toPlainText(), "4");
    form->TastResetClick();
}

TEST_F(EditorUnitTest, MissingPictureIsReportedWhenTheTaskIsShown)
{
    std::vector<std::string> lines = kThreeTasks;
    lines[11] = "нет.jpg";
    const QString path = WriteTest("three.tst", lines);
    Start();
    Open(path);
    prompts.ExpectMessage("Файл с изображением отсутствует!");
    form->SelectTask(0);
    EXPECT_EQ(prompts.Last().Caption, "Quilmo");
    EXPECT_EQ(ImageFile()->text(), QString::fromStdString(folder / "нет.jpg"));
    EXPECT_FALSE(W<QWidget>("QuestionImage")->isVisibleTo(form.get()));
}

TEST_F(EditorUnitTest, PictureOpensInTheRunnersPictureWindowAndHelpInTheAboutBox)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QString::fromStdString(folder / "blue.bmp")));
    std::vector<std::string> lines = kThreeTasks;
    lines[11] = "blue.bmp";
    const QString path = WriteTest("three.tst", lines);
    Start();
    Open(path);
    form->SelectTask(0);
    QSize shown;
    prompts.ExpectModal("TShowQuestionImageForm", [&](QDialog& dialog) {
        shown = static_cast<TShowQuestionImageForm&>(dialog).Picture().size();
        return int(QDialog::Accepted);
    });
    form->QuestionImageClick();
    EXPECT_EQ(shown, QSize(40, 30));

    EXPECT_TRUE(form->Menus().MHShowAboutBox->isEnabled());
    prompts.ExpectModal("TAboutForm", [](QDialog&) { return int(QDialog::Accepted); });
    form->MHShowAboutBoxClick();
}

TEST_F(EditorUnitTest, WritingAnEmptyTestAsksAndAFailedWriteKeepsTheDocument)
{
    Start();
    prompts.ExpectSaveFile(QString::fromStdString(folder / "empty.txt"))
        .ExpectMessage("В тесте нет заданий. Вы желаете сохранить тест?", PromptAnswer::No);
    form->MFSaveFileAsClick();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder / "empty.txt")));

    form->MTAdd2Sub_Click(1);
    prompts.ExpectSaveFile(QString::fromStdString(folder / "no/such/folder.txt"))
        .ExpectMessage(kNoTitle)
        .ExpectMessage(kNoMarks)
        .ExpectMessage(QString::fromStdString("Не удалось сохранить файл \"" + (folder / "no/such/folder.txt") +
                                              "\". Нет такого файла или папки."));
    form->MFSaveFileAsClick();
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    EXPECT_EQ(form->Document().FileName, "");
    EXPECT_EQ(form->StatusText(2), "Тест изменен");
    EXPECT_EQ(form->windowTitle(), "Quilmo (Редактор тестов)");
}

TEST_F(EditorUnitTest, ClosingAnUnsavedTestAsks)
{
    Start();
    form->show();
    EXPECT_TRUE(form->FormCloseQuery());
    form->MTAdd2Sub_Click(2);
    prompts.ExpectMessage("Вы желаете выйти из редактора не сохранив тест?", PromptAnswer::No);
    form->MFCloseClick();
    EXPECT_EQ(prompts.Last().Caption, "Внимание! Тест не сохранен...");
    EXPECT_TRUE(form->isVisible());
    prompts.ExpectMessage("Вы желаете выйти из редактора не сохранив тест?", PromptAnswer::Yes);
    form->MFCloseClick();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(EditorUnitTest, NodesShareTheIconOfTheirTaskType)
{
    // Thirty tasks cycling through the three types.
    std::vector<std::string> lines = {"Иконки", "", "30", "--------", "0", "--------"};
    static const char* const answers[] = {"1", "1,2", "2-1"};
    for (int k = 1; k <= 30; ++k)
        lines.insert(lines.end(), {"----" + std::to_string(k) + "----", "Вопрос " + std::to_string(k), "", "",
                                   answers[(k - 1) % 3], "А", "Б", "", "", ""});
    lines.push_back("----------конец---------");
    Start();
    Open(WriteTest("thirty.tst", lines));
    ASSERT_EQ(form->TaskCount(), 30);
    QTreeWidget* tree = form->Tree();
    EXPECT_TRUE(tree->updatesEnabled());
    EXPECT_FALSE(tree->isSortingEnabled());
    EXPECT_EQ(form->NodeLabel(29), "Вопрос 30");

    auto key = [tree](int position) { return tree->topLevelItem(position)->icon(0).cacheKey(); };
    auto checkShared = [&](int size) {
        for (int p = 0; p < 30; ++p) {
            SCOPED_TRACE(p);
            EXPECT_EQ(key(p), key(p % 3));
            EXPECT_EQ(tree->topLevelItem(p)->icon(0).availableSizes(), QList<QSize>{QSize(size, size)});
        }
        EXPECT_NE(key(0), key(1));
        EXPECT_NE(key(1), key(2));
        EXPECT_NE(key(0), key(2));
    };
    checkShared(24);
    // A task added later takes the same icon as those read.
    form->MTAdd2Sub_Click(MultipleChoice);
    EXPECT_EQ(key(30), key(1));
    form->MVIcon16Click();
    checkShared(16);
    EXPECT_EQ(key(30), key(1));

    // Opening the test again gives a tree as before, with the same icons.
    const qint64 single = key(0);
    prompts.ExpectMessage("Вы желаете сохранить изменения?", PromptAnswer::No);
    Open(QString::fromStdString(form->Document().FileName));
    ASSERT_EQ(form->TaskCount(), 30);
    EXPECT_EQ(key(0), single);
    checkShared(16);
}

TEST_F(EditorUnitTest, ViewOptions)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    form->MViewClick();
    EXPECT_TRUE(form->Menus().MVIcon24->isChecked());
    EXPECT_EQ(form->Tree()->iconSize(), QSize(24, 24));
    EXPECT_EQ(form->Tree()->indentation(), 27);
    form->MVIcon16Click();
    form->MViewClick();
    EXPECT_TRUE(form->Menus().MVIcon16->isChecked());
    EXPECT_EQ(form->Tree()->indentation(), 10);
    form->MVIcon24Click();
    EXPECT_EQ(form->Tree()->indentation(), 20);

    QFont font(QStringLiteral("DejaVu Serif"), 14);
    prompts.ExpectFont(font);
    form->MVFontClick();
    EXPECT_EQ(Question()->font().family(), "DejaVu Serif");
    EXPECT_EQ(Variant(4)->font().pointSize(), 14);
    EXPECT_EQ(Prompt()->font().pointSize(), 14);
    EXPECT_EQ(ImageFile()->font().pointSize(), 14);

    form->MHShowHelpClick();
    ASSERT_EQ(desktop.Opened.size(), 1);
    EXPECT_EQ(desktop.Opened[0].toLocalFile(), QString::fromStdString(folder / "Help.html"));
}

// ---------------------------------------------------------------- test parameters, export, import

QStringList GridColumn(const TMarkLevelForm& dialog, int column)
{
    QStringList cells;
    for (int r = 0; r < dialog.Grid()->rowCount(); ++r)
        cells << dialog.Grid()->item(r, column)->text();
    return cells;
}

TEST_F(EditorUnitTest, GradingSetInTheMarksDialogSurvivesSaveAndReopen)
{
    Start();
    for (int i = 0; i < 20; ++i)
        form->MTAdd2Sub_Click(1 + i % 3);
    prompts.ExpectModal("TMarkLevelForm", [](QDialog& dialog) {
        auto& marks = static_cast<TMarkLevelForm&>(dialog);
        marks.show();  // showing fills the grid
        EXPECT_EQ(marks.windowTitle(), "Задания уровня оценки");
        EXPECT_EQ(marks.CountField()->value(), 5);
        EXPECT_EQ(GridColumn(marks, 0), (QStringList{"Оценка", "5", "4", "3", "2", "1"}));
        EXPECT_EQ(GridColumn(marks, 1), (QStringList{"Кол-во ответов", "17", "14", "10", "0", "0"}));
        EXPECT_EQ(marks.findChild<QLabel*>("LabelTaskCount")->text(), "Всего заданий в тесте: \"20\"");
        EXPECT_TRUE(marks.Hint()->isVisible());
        EXPECT_EQ(marks.Grid()->columnWidth(0), marks.Grid()->viewport()->width() / 2);
        EXPECT_FALSE(marks.Grid()->item(1, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(marks.Grid()->item(1, 1)->flags() & Qt::ItemIsEditable);
        marks.Grid()->item(3, 1)->setText("11");  // the teacher changes mark 3
        marks.ApplyButton()->click();
        return marks.result();
    });
    form->MFMarksClick();
    EXPECT_EQ(form->Document().Marks, (TIntDynArray{0, 0, 11, 14, 17}));
    EXPECT_EQ(form->StatusText(2), "Тест изменен");

    prompts.ExpectModal("TEditTitleAndDescriptionForm", [](QDialog& dialog) {
        auto& title = static_cast<TEditTitleAndDescriptionForm&>(dialog);
        EXPECT_EQ(title.windowTitle(), "Заголовок и описание теста");
        title.TitleField()->setText(" Двадцать заданий ");
        title.DescriptionField()->setPlainText("Первая строка\nвторая\nтретья");
        title.SaveButton()->click();
        return title.result();
    });
    form->MPTitleAndDescriptionClick();
    EXPECT_EQ(form->Document().Title, " Двадцать заданий ");
    EXPECT_EQ(form->Document().Description, "Первая строка\r\nвторая\r\nтретья");

    const QString path = QString::fromStdString(folder / "twenty.tst");
    prompts.ExpectSaveFile(path);  // title and marks set: no warnings
    form->MFSaveFileClick();
    const std::vector<std::string> lines = SplitLines(Cp1251ToUtf8(folder.Read("twenty.tst")));
    ASSERT_GT(lines.size(), 11u);
    EXPECT_EQ(lines[0], " Двадцать заданий ");
    EXPECT_EQ(lines[1], "Первая строка_CRLF_вторая_CRLF_третья");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.begin() + 11),
              (std::vector<std::string>{"20", "--------", "5", "--------", "17", "14", "11", "0", "0"}));

    form->MFNewClick();
    Open(path);
    EXPECT_EQ(form->Document().Marks, (TIntDynArray{0, 0, 11, 14, 17}));
    EXPECT_EQ(form->Document().Description, "Первая строка\r\nвторая\r\nтретья");

    // Existing marks open as they are, highest first, without the hint.
    prompts.ExpectModal("TMarkLevelForm", [](QDialog& dialog) {
        auto& marks = static_cast<TMarkLevelForm&>(dialog);
        marks.show();
        EXPECT_EQ(GridColumn(marks, 1), (QStringList{"Кол-во ответов", "17", "14", "11", "0", "0"}));
        EXPECT_FALSE(marks.Hint()->isVisible());
        // Two marks: the first two rows keep their numbers; a pass/fail scheme.
        marks.CountField()->setValue(2);
        marks.OkButton()->click();
        EXPECT_EQ(GridColumn(marks, 0), (QStringList{"Оценка", "2", "1"}));
        EXPECT_EQ(GridColumn(marks, 1), (QStringList{"Кол-во ответов", "17", "14"}));
        marks.CountField()->setValue(3);
        marks.OkButton()->click();
        EXPECT_EQ(GridColumn(marks, 1), (QStringList{"Кол-во ответов", "17", "14", ""}));
        marks.CountField()->setValue(2);
        marks.OkButton()->click();
        marks.ApplyButton()->click();
        return marks.result();
    });
    form->MFMarksClick();
    EXPECT_EQ(form->Document().Marks, (TIntDynArray{14, 17}));
}

TEST_F(EditorUnitTest, ClosingTheDialogsOtherwiseChangesNothing)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    Open(path);
    prompts.ExpectModal("TMarkLevelForm", [](QDialog& dialog) {
        dialog.show();
        dialog.close();  // the window's own button
        return dialog.result();
    });
    form->MFMarksClick();
    prompts.ExpectModal("TEditTitleAndDescriptionForm", [](QDialog& dialog) {
        static_cast<TEditTitleAndDescriptionForm&>(dialog).TitleField()->setText("другой");
        return QDialog::Rejected;
    });
    form->MPTitleAndDescriptionClick();
    EXPECT_EQ(form->Document().Marks, (TIntDynArray{0, 2}));
    EXPECT_EQ(form->Document().Title, "Проверка");
    EXPECT_EQ(form->Document().Modified, 0);

    // Confirming the title dialog without a change still marks the test changed.
    prompts.ExpectModal("TEditTitleAndDescriptionForm", [](QDialog& dialog) {
        auto& title = static_cast<TEditTitleAndDescriptionForm&>(dialog);
        EXPECT_EQ(title.TitleField()->text(), "Проверка");
        EXPECT_EQ(title.DescriptionField()->toPlainText(), "Описание\nв две строки");
        title.SaveButton()->click();
        return title.result();
    });
    form->MPTitleAndDescriptionClick();
    EXPECT_EQ(form->Document().Description, "Описание\r\nв две строки");
    EXPECT_EQ(form->StatusText(2), "Тест изменен");
}

TEST_F(EditorUnitTest, ExportToHtmlLeavesTheDocumentAlone)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    Start();
    prompts.ExpectMessage("В тесте нет заданий. Вы желаете экспортировать тест в HTML?", PromptAnswer::No);
    form->MTExportToHTMLClick();

    Open(path);
    const QString page = QString::fromStdString(folder / "three.html");
    prompts.ExpectSaveFile(page).ExpectMessage("Выводить в файл правильные ответы?", PromptAnswer::Yes);
    form->MTExportToHTMLClick();
    EXPECT_EQ(prompts.Shown()[prompts.Shown().size() - 2].File.Filter, "Веб-страница (*.HTML)|*.HTML");
    EXPECT_EQ(prompts.Shown()[prompts.Shown().size() - 2].File.DefaultExtension, "HTML");
    const std::string html = Cp1251ToUtf8(folder.Read("three.html"));
    EXPECT_NE(html.find("<title>Тест: Проверка</title>\r\n"), std::string::npos);
    EXPECT_NE(html.find("<i>Ответ: 1,3;</i>\r\n"), std::string::npos);
    EXPECT_NE(html.find("<i>Ответ: 2-1;</i>\r\n"), std::string::npos);
    EXPECT_EQ(form->Document().Modified, 0);
    EXPECT_EQ(form->Document().FileName, folder / "three.tst");

    // Cancelling the dialog stops before the answers question.
    prompts.ExpectSaveFile(std::nullopt);
    form->MTExportToHTMLClick();
}

TEST_F(EditorUnitTest, ImportAppendsEveryTaskOfAnotherTest)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    std::vector<std::string> other = {
        "Чужой тест", "", "2", "--------", "0", "--------",
        "----1----", "Чужой один", "", "", "1", "а", "", "", "", "",
        "----2----", "Чужой два", "", "", "1,2", "а", "б", "", "", "",
        "----------конец---------",
    };
    const QString otherPath = WriteTest("other.txt", other);
    Start();
    Open(path);
    form->SelectTask(0);

    const QString done = QStringLiteral("Добавлено 2 заданий\r\nиз файла: \"%1\".\r\nЗаголовок теста: \"Чужой тест\".")
                             .arg(otherPath);
    for (int round = 0; round < 2; ++round) {
        prompts.ExpectOpenFile(otherPath).ExpectMessage(done);
        form->MFImportFromOthrClick();
        EXPECT_EQ(prompts.Last().Caption, "Импорт заданий завершен");
        EXPECT_EQ(prompts.Last().Icon, PromptIcon::Information);
    }
    ASSERT_EQ(form->TaskCount(), 7);
    EXPECT_EQ(form->NodeLabel(3), "Import №1");
    EXPECT_EQ(form->NodeLabel(4), "Import №2");
    EXPECT_EQ(form->NodeLabel(5), "Import №1");
    EXPECT_EQ(form->NodeLabel(6), "Import №2");
    EXPECT_EQ(form->TaskAt(6).TaskType, MultipleChoice);
    EXPECT_EQ(form->SelectedPosition(), 0);  // the imported nodes are not selected
    EXPECT_EQ(form->StatusText(0), "Всего заданий: 7");
    EXPECT_EQ(form->StatusText(2), "Тест изменен");
    EXPECT_EQ(form->Document().Title, "Проверка");  // the document keeps its own
}

TEST_F(EditorUnitTest, ImportFailuresLeaveTheTreeAlone)
{
    const QString path = WriteTest("three.tst", kThreeTasks);
    std::vector<std::string> subset = kThreeTasks;
    subset[2] = "3 (2)";
    const QString subsetPath = WriteTest("subset.txt", subset);
    const QString shortPath = WriteTest("short.txt", std::vector<std::string>(kThreeTasks.begin(), kThreeTasks.begin() + 25));
    Start();
    Open(path);
    for (const QString& bad : {subsetPath, shortPath}) {
        prompts.ExpectOpenFile(bad).ExpectMessage("Ошибка загрузки теста для добавления заданий!");
        form->MFImportFromOthrClick();
        EXPECT_EQ(prompts.Last().Caption, "Ошибка!");
        EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    }
    EXPECT_EQ(form->TaskCount(), 3);
    EXPECT_EQ(form->Document().Modified, 0);

    // A name that does not exist: nothing at all.
    prompts.ExpectOpenFile(QString::fromStdString(folder / "missing.txt"));
    form->MFImportFromOthrClick();
    EXPECT_EQ(form->TaskCount(), 3);
}

}  // namespace
}  // namespace quilmo::testing
