#include "model/TextTestWriter.h"

#include "model/FileIO.h"
#include "model/PicturePath.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

constexpr const char* kSeparator = "--------";


// Title and prompt are written unescaped; a line break in them becomes a blank.
std::string SingleLineField(std::string_view s)
{
    if (s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos)
        return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            out += ' ';
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else if (c != '\0') {
            out += c;
        }
    }
    return out;
}

std::string PictureLine(const std::string& imageFile, UniquePictureNames& names, TextTestWriteResult& result)
{
    const std::string path(Trim(imageFile));
    if (path.empty())
        return {};
    if (!FileExists(path)) {
        result.MissingPictures.push_back(path);
        return {};
    }
    bool isNew = false;
    std::string name = names.ClaimFile(path, &isNew);
    if (isNew)
        result.Pictures.push_back(SavedPicture{path, name});
    return name;
}

}  // namespace

// A field of one line must stay one line, or every line after it would shift
// and the test would read back as garbage. Multi-line fields escape CR LF;
// any lone CR or LF left is a line break too and is escaped the same way.
// A NUL would end the text for the reader, so it is dropped.
std::string MultiLineField(std::string_view s)
{
    if (s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos)
        return std::string(s);
    std::string out;
    out.reserve(s.size() + 8);
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            out += "_CRLF_";
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else if (c != '\0') {
            out += c;
        }
    }
    return out;
}

std::string BuildAnswerLine(const TTask& task)
{
    std::string line;
    switch (task.TaskType) {
    case MultipleChoice:
        for (int v = 0; v < 5; ++v)
            if (task.Answers[v] > 0) {
                if (!line.empty())
                    line += ',';
                line += std::to_string(v + 1);
            }
        break;
    case Ordering:
        for (int place = 1; place <= 5; ++place)
            for (int v = 0; v < 5; ++v)
                if (task.Answers[v] == place) {
                    if (!line.empty())
                        line += '-';
                    line += std::to_string(v + 1);
                }
        break;
    default:
        for (int v = 4; v >= 0; --v)
            if (task.Answers[v] > 0) {
                line = std::to_string(v + 1);
                break;
            }
        break;
    }
    return line;
}

TextTestWriteResult WriteTestText(const TTestInfo& info, const std::vector<TTask>& tasks)
{
    TextTestWriteResult result;
    UniquePictureNames names;
    auto& lines = result.Lines;
    lines.reserve(7 + info.Marks.size() + 10 * tasks.size());
    lines.push_back(SingleLineField(info.Title));
    lines.push_back(MultiLineField(info.Description));
    lines.push_back(std::to_string(tasks.size()));
    lines.push_back(kSeparator);
    lines.push_back(std::to_string(info.Marks.size()));
    lines.push_back(kSeparator);
    for (size_t k = info.Marks.size(); k-- > 0;)
        lines.push_back(std::to_string(info.Marks[k]));
    for (size_t k = 0; k < tasks.size(); ++k) {
        const TTask& task = tasks[k];
        lines.push_back("----" + std::to_string(k + 1) + "----");
        lines.push_back(MultiLineField(task.Question));
        lines.push_back(SingleLineField(task.Prompt));
        lines.push_back(PictureLine(task.ImageFile, names, result));
        lines.push_back(BuildAnswerLine(task));
        for (const auto& variant : task.Variants)
            lines.push_back(MultiLineField(variant));
    }
    lines.push_back(kEndLine);
    return result;
}

std::string MissingPictureText(const std::string& path)
{
    return "Файла: \"" + path + "\" не существует.";
}

}  // namespace quilmo
