#include "editor/HtmlExport.h"

#include "app/ProjectInfo.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/PicturePath.h"
#include "model/TextTestWriter.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

std::string Format1(const char* pattern, const std::string& value)
{
    return ReplaceAll(pattern, "%s", value);
}

// A picture address goes into the page as it is, but a character that would
// end the attribute or open a tag cannot be part of it; none of them can be
// in a Windows file name, so names from Windows tests are never touched.
std::string AttributeSafe(std::string_view address)
{
    std::string out;
    out.reserve(address.size());
    for (char c : address) {
        switch (c) {
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\r':
        case '\n': break;
        default: out += c; break;
        }
    }
    return out;
}

// The picture's address in the page, empty for none; copies the picture
// beside the page when the teacher agrees.
Expected<std::string> PictureAddress(const std::string& imageFile, const std::string& dir,
                                     const AskYesNo& ask, UniquePictureNames& names)
{
    const std::string path(Trim(imageFile));
    if (path.empty())
        return std::string();
    if (!FileExists(path)) {
        if (ask(Format1("Файла: \"%s\" не существует.\r\nПропустить картинку?", path)))
            return std::string();
        return path;
    }
    if (!dir.empty() && path.compare(0, dir.size(), dir) == 0)
        return path.substr(dir.size());

    const std::string name = names.ClaimFile(path);
    const auto copied = OfferPictureCopy(path, dir, name,
                                         "Имя файла: \"%s\" нельзя сделать относительным.\r\n"
                                         "Скопировать изображение в папку с файлом?",
                                         ask);
    if (!copied)
        return copied.error();
    return name;
}

const char* TypeLine(uint8_t taskType)
{
    switch (taskType) {
    case MultipleChoice:
        return "<p class=\"typecaption\">Выберите несколько вариантов ответа:</p>";
    case Ordering:
        return "<p class=\"typecaption\">Укажите порядок следования вариантов ответа:</p>";
    default:
        return "<p class=\"typecaption\">Выберите один из вариантов ответа:</p>";
    }
}

}  // namespace

std::string HtmlEscape(std::string_view text)
{
    std::string s = ReplaceAll(text, "&", "&amp;");
    s = ReplaceAll(s, "\"", "&quot;");
    s = ReplaceAll(s, "'", "&#039;");
    s = ReplaceAll(s, "<", "&lt;");
    return ReplaceAll(s, ">", "&gt;");
}

std::string HtmlText(std::string_view text)
{
    return ReplaceAll(HtmlEscape(text), "\r\n", "<br>\r\n");
}

Expected<std::vector<std::string>> BuildHtmlPage(const HtmlPageInput& input, const std::string& dir,
                                                 const AskYesNo& ask)
{
    std::vector<std::string> page = {
        "<html>",
        "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
        "<title>Тест: " + HtmlEscape(input.Title) + "</title>",
        std::string("<meta name=\"description\" content=\"Export from Quilmo2.4 (") + kProjectSite + ")\">",
        "<style>",
        "h1  { text-align: center; font-size: 120% } ",
        "body  { text-align: justify; font-family: Verdana; font-size: 80% }",
        ".description { font-style: italic; text-align: left }",
        ".typecaption { font-size: 90%; font-style: italic; text-align: left }",
        "</style>",
        "</head>",
        "<body>",
        "<h1>Тест: " + HtmlText(input.Title) + "</h1>",
    };
    if (!Trim(input.Description).empty())
        page.push_back("<p class=\"description\">Описание:<br>" + HtmlText(input.Description) + "</p>");

    // Pictures copied beside the page get names of their own.
    UniquePictureNames names = PictureNamesInFolder(input.Tasks, dir);
    for (size_t k = 0; k < input.Tasks.size(); ++k) {
        const TTask& task = *input.Tasks[k];
        page.push_back("<p><b>Вопрос №" + std::to_string(k + 1) + "</b>: " + HtmlText(task.Question) +
                       "</p>");
        auto address = PictureAddress(task.ImageFile, dir, ask, names);
        if (!address)
            return address.error();
        if (!address->empty())
            page.push_back("<img border=\"0\" src=\"" + AttributeSafe(*address) +
                           "\" alt=\"рисунок к вопросу\">");
        if (!Trim(task.Prompt).empty())
            page.push_back("<p><i>Подсказка: " + HtmlText(task.Prompt) + "</i></p>");
        page.push_back(TypeLine(task.TaskType));
        page.push_back("<ul>");
        for (const std::string& variant : task.Variants)
            if (!Trim(variant).empty())
                page.push_back("<li>" + HtmlText(variant) + "</li>");
        page.push_back("</ul>");
        if (input.WithAnswers)
            page.push_back("<i>Ответ: " + BuildAnswerLine(task) + ";</i>");
        page.push_back("<br>");
    }
    page.push_back("</body>");
    page.push_back("</html>");
    return page;
}

Status ExportHtmlPage(const std::string& path, const HtmlPageInput& input, const AskYesNo& ask)
{
    auto page = BuildHtmlPage(input, FolderOf(path), ask);
    if (!page)
        return page.error();
    return WriteFileAtomically(path, Utf8ToCp1251(JoinLinesCrLf(*page)));
}

}  // namespace quilmo
