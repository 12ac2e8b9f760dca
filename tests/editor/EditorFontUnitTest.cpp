// The editor's View > "Шрифт...": preset with the fields' font and colour,
// the choice given to every task field.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>

#include "editor/EditorUnit.h"
#include "support/FakePlatform.h"
#include "support/QtScriptedPrompts.h"
#include "support/TempFolder.h"

namespace quilmo::testing {
namespace {

TEST(EditorFontUnitTest, FontDialogStartsFromTheFieldsAndColoursThemAll)
{
    TempFolder folder;
    ScriptedPrompts prompts;
    FakePlatform platform;
    RecordingDesktop desktop;
    AppServices services{prompts, platform, desktop, folder.Path(), folder.Path(), {}};
    TEditorForm form(services);
    form.SetQuestionFont(QFont(QStringLiteral("DejaVu Sans"), 12));

    auto* question = form.findChild<QPlainTextEdit*>(QStringLiteral("QuestionText"));
    const QColor before = question->palette().color(QPalette::Text);
    const QColor green(0, 128, 0);
    prompts.ExpectFont(QFont(QStringLiteral("DejaVu Serif"), 14), green);
    form.MVFontClick();
    prompts.Verify();
    EXPECT_EQ(prompts.Last().Font.Font.family(), "DejaVu Sans");
    EXPECT_EQ(prompts.Last().Font.Font.pointSize(), 12);
    EXPECT_EQ(prompts.Last().Font.Color, before);

    QList<QWidget*> fields{question, form.findChild<QLineEdit*>(QStringLiteral("ImageFileEdit")),
                           form.findChild<QLineEdit*>(QStringLiteral("PromptEdit"))};
    for (int i = 0; i < 5; ++i)
        fields << form.findChild<QPlainTextEdit*>(QStringLiteral("VariantText%1").arg(i));
    for (QWidget* field : fields) {
        ASSERT_NE(field, nullptr) << fields.indexOf(field);
        EXPECT_EQ(field->font().family(), "DejaVu Serif") << field->objectName().toStdString();
        EXPECT_EQ(field->palette().color(QPalette::Text), green) << field->objectName().toStdString();
    }

    // The next dialog starts from the new choice.
    prompts.ExpectFont(std::nullopt);
    form.MVFontClick();
    EXPECT_EQ(prompts.Last().Font.Font.family(), "DejaVu Serif");
    EXPECT_EQ(prompts.Last().Font.Color, green);
}

}  // namespace
}  // namespace quilmo::testing
