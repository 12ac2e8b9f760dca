// The editor opened from the runner's Modules menu, and the runner afterwards.

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>

#include "editor/EditorUnit.h"
#include "model/Cp1251.h"
#include "model/TextTestWriter.h"
#include "model/TextUtil.h"
#include "support/QtRunnerFixture.h"

namespace quilmo::testing {
namespace {

std::vector<std::string> OneTaskTest(const std::string& title, int tasks)
{
    std::vector<std::string> lines;
    lines.push_back(title);
    lines.push_back("");
    lines.push_back(std::to_string(tasks));
    for (const char* line : {"--------", "0", "--------"})
        lines.push_back(line);
    for (int k = 1; k <= tasks; ++k) {
        std::string separator = "----";
        separator.append(std::to_string(k)).append("----");
        lines.push_back(separator);
        for (const char* line : {"Вопрос", "", "", "1", "да", "нет", "", "", ""})
            lines.push_back(line);
    }
    lines.emplace_back(kEndLine);
    return lines;
}

using EditorFromRunnerTest = RunnerTest;

TEST_F(EditorFromRunnerTest, RunnerHidesWhileTheEditorIsOpenAndReopensItsTestAfterwards)
{
    const std::string path = folder.Write("arg.tst", Utf8ToCp1251(JoinLinesCrLf(OneTaskTest("Первый", 1))));
    Start({QString::fromStdString(path)});
    form->resize(640, 600);
    form->show();
    QApplication::processEvents();  // the command-line test opens when the window shows
    ASSERT_EQ(form->Tasks().size(), 1u);
    QFont questionFont(QStringLiteral("DejaVu Serif"), 13);
    form->findChild<QPlainTextEdit*>("QuestionText")->setFont(questionFont);

    EXPECT_TRUE(form->Menus().MMEditor->isEnabled());
    const QRect runnerGeometry = form->geometry();
    prompts.ExpectModal("TEditorForm", [&](QDialog& dialog) {
        auto& editor = static_cast<TEditorForm&>(dialog);
        EXPECT_FALSE(form->isVisible());
        EXPECT_FALSE(form->isEnabled());
        EXPECT_EQ(editor.geometry(), runnerGeometry);
        EXPECT_EQ(editor.parent(), form.get());
        EXPECT_EQ(editor.findChild<QPlainTextEdit*>("QuestionText")->font().family(), "DejaVu Serif");
        EXPECT_EQ(editor.findChild<QPlainTextEdit*>("VariantText4")->font().pointSize(), 13);
        EXPECT_EQ(editor.Document().Modified, 0);
        EXPECT_EQ(editor.TaskCount(), 0);
        // The teacher changes the test on the command line while editing.
        folder.Write("arg.tst", Utf8ToCp1251(JoinLinesCrLf(OneTaskTest("Второй", 2))));
        return QDialog::Rejected;
    });
    form->MMEditorClick();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(form->findChildren<TEditorForm*>().size(), 0);  // destroyed when closed

    QApplication::processEvents();
    EXPECT_EQ(form->TestInfo().Title, "Второй");
    EXPECT_EQ(form->Tasks().size(), 2u);
    form->hide();
}

}  // namespace
}  // namespace quilmo::testing
