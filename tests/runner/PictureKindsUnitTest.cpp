// The editor may offer only pictures the runner shows: every kind its
// open-picture dialog lists must load in the runner, and every kind the
// runner loads must be listed there.

#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <fstream>
#include <sstream>

#include "app/QtPictureBox.h"
#include "editor/EditorUnit.h"
#include "model/PictureKind.h"
#include "support/QtSessionFixture.h"

namespace quilmo::testing {
namespace {

// A 1 × 1 GIF89a written from the format's rules: header, a screen of 1 × 1
// with a two-colour table (red, black), one image of 1 × 1, LZW code size 2,
// codes clear-0-end in two bytes, trailer.
const char kGif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                    "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b";

std::string Encoded(const char* format)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes.toStdString();
}

// The bytes of a small picture for an extension, made without the program's
// own rule of kinds; empty for an extension the test knows no picture for.
std::string PictureBytes(const std::string& extension)
{
    if (extension == "jpg" || extension == "jpeg" || extension == "jpe" || extension == "jfif")
        return Encoded("JPEG");
    if (extension == "bmp" || extension == "dib")
        return Encoded("BMP");
    if (extension == "ico")
        return Encoded("ICO");
    if (extension == "png")
        return Encoded("PNG");
    if (extension == "gif")
        return std::string(kGif, sizeof kGif - 1);
    if (extension == "wmf") {
        std::ifstream in(std::string(QUILMO_FIXTURES) + "/pictures/red-rectangle.wmf", std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    return {};
}

// The extensions of the dialog's first filter, "Все рисунки", in lower case.
std::vector<std::string> OfferedExtensions(const QString& filter)
{
    const QStringList parts = filter.split('|');
    EXPECT_GE(parts.size(), 2);
    EXPECT_EQ(parts.value(0), "Все рисунки");
    std::vector<std::string> extensions;
    for (const QString& pattern : parts.value(1).split(';')) {
        EXPECT_TRUE(pattern.startsWith("*.")) << pattern.toStdString();
        extensions.push_back(pattern.mid(2).toLower().toStdString());
    }
    return extensions;
}

class PictureKindsUnitTest : public SessionTest {
protected:
    // The filter of the editor's "Выбрать" dialog.
    QString EditorPictureFilter()
    {
        TEditorForm editor(*services);
        editor.MTAdd2Sub_Click(1);
        prompts.ExpectOpenFile(std::nullopt);
        editor.ButtonSelectImageClick();
        return prompts.Last().File.Filter;
    }
};

TEST_F(PictureKindsUnitTest, EveryPictureTheEditorOffersShowsInTheRunnerAndTheEditor)
{
    Start();
    const std::vector<std::string> offered = OfferedExtensions(EditorPictureFilter());
    ASSERT_FALSE(offered.empty());
    std::vector<TaskLines> tasks;
    for (const std::string& extension : offered) {
        const std::string bytes = PictureBytes(extension);
        ASSERT_FALSE(bytes.empty()) << "the editor offers ." << extension << ", a kind this test cannot make";
        folder.Write("picture." + extension, bytes);
        tasks.push_back({"Рисунок ." + extension, "1", {"а"}, "", "picture." + extension});
    }

    // The editor shows each picture it offers.
    {
        TEditorForm editor(*services);
        editor.MTAdd2Sub_Click(1);
        for (const std::string& extension : offered) {
            prompts.ExpectOpenFile(QString::fromStdString(folder / ("picture." + extension)));
            editor.ButtonSelectImageClick();
            EXPECT_FALSE(editor.findChild<QWidget*>("QuestionImage")->isHidden()) << extension;
        }
    }

    // So does the runner, with no message.
    OpenTestFile(TestFileLines("Рисунки", {1, 0}, tasks));
    Begin();
    for (size_t k = 0; k < offered.size(); ++k) {
        EXPECT_FALSE(Widget<QWidget>("QuestionImage")->isHidden()) << offered[k];
        Press("1");
        if (k + 1 == offered.size())
            ExpectResultWindow();
        Next();
    }
    EXPECT_TRUE(prompts.Messages().isEmpty()) << prompts.Messages().join(" / ").toStdString();
}

TEST_F(PictureKindsUnitTest, EveryKindTheRunnerLoadsIsOffered)
{
    Start();
    const std::vector<std::string> offered = OfferedExtensions(EditorPictureFilter());
    for (const PictureKindEntry& entry : PictureKinds())
        for (const std::string& extension : entry.Extensions)
            EXPECT_NE(std::find(offered.begin(), offered.end(), extension), offered.end()) << extension;
}

TEST_F(PictureKindsUnitTest, MetafileShowsInTheRunnerAndTheEditor)
{
    folder.Write("рисунок.WMF", PictureBytes("wmf"));
    OpenTestFile(TestFileLines("Метафайл", {1, 0}, {{"Рисунок", "1", {"а"}, "", "рисунок.WMF"}}));
    Begin();
    const auto* picture = Widget<TPictureBox>("QuestionImage");
    EXPECT_FALSE(picture->isHidden());
    EXPECT_EQ(picture->Picture().size(), QSize(16, 8));
    EXPECT_EQ(picture->Picture().toImage().pixel(8, 3), qRgb(255, 0, 0));

    TEditorForm editor(*services);
    editor.MTAdd2Sub_Click(1);
    prompts.ExpectOpenFile(QString::fromStdString(folder / "рисунок.WMF"));
    editor.ButtonSelectImageClick();
    EXPECT_FALSE(editor.findChild<QWidget*>("QuestionImage")->isHidden());
    EXPECT_TRUE(prompts.Messages().isEmpty()) << prompts.Messages().join(" / ").toStdString();
}

TEST_F(PictureKindsUnitTest, PngIsNeitherOfferedNorShown)
{
    Start();
    const QString filter = EditorPictureFilter();
    EXPECT_FALSE(filter.contains("PNG", Qt::CaseInsensitive)) << filter.toStdString();

    folder.Write("picture.png", PictureBytes("png"));
    TEditorForm editor(*services);
    editor.MTAdd2Sub_Click(1);
    editor.findChild<QLineEdit*>("ImageFileEdit")->setText(QString::fromStdString(folder / "picture.png"));
    prompts.ExpectMessage("Ошибка загрузки изображения!");
    editor.ButtonShowImageClick();
    EXPECT_TRUE(editor.findChild<QWidget*>("QuestionImage")->isHidden());
}

}  // namespace
}  // namespace quilmo::testing
