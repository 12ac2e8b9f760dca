#include "tools/Associations.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "app/ProgramFolder.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"
#include "tools/ExternalCommand.h"

namespace quilmo {

namespace {

constexpr int kCommandTimeoutMs = 20000;
constexpr uint64_t kMaxReadBack = uint64_t(1) << 20;

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string WithoutSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The escapes of a desktop entry's string values.
std::string EscapeStringValue(std::string_view value)
{
    std::string out;
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

bool FileHolds(const std::string& path, const std::string& expected)
{
    const auto bytes = ReadWholeFile(path, kMaxReadBack);
    return bytes && *bytes == expected;
}

bool NonEmptyFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

// The compiled database (globs2: "weight:type:pattern[:flags]") knows the
// type's pattern, so the package has been taken in.
bool DatabaseKnows(const AssociationContext& context, const AssociationType& type)
{
    const auto globs = ReadWholeFile(context.DataHome + "mime/globs2", 64 * kMaxReadBack);
    if (!globs)
        return false;
    const std::string pattern = std::string("*.") + type.Extension;
    for (const std::string& line : SplitLines(*globs)) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t a = line.find(':');
        const size_t b = a == std::string::npos ? a : line.find(':', a + 1);
        if (b == std::string::npos)
            continue;
        const size_t c = line.find(':', b + 1);
        if (line.compare(a + 1, b - a - 1, type.MimeType) == 0 &&
            line.substr(b + 1, c == std::string::npos ? std::string::npos : c - b - 1) == pattern)
            return true;
    }
    return false;
}

// The tools read the data folder from the environment; give them ours.
std::vector<std::string> ToolEnvironment(const AssociationContext& context)
{
    return {"XDG_DATA_HOME=" + WithoutSlash(context.DataHome)};
}

bool DefaultHandlerIsOurs(const AssociationContext& context, const AssociationType& type)
{
    const CommandResult result = RunCommand({"xdg-mime", "query", "default", type.MimeType},
                                            kCommandTimeoutMs, ToolEnvironment(context));
    return result.Succeeded() && Trim(result.Output) == type.DesktopFile;
}

bool IconsPresent(const AssociationContext& context, const AssociationType& type)
{
    for (int size : kIconSizes)
        if (!NonEmptyFile(IconPath(context, 0, size)) ||
            !NonEmptyFile(IconPath(context, type.IconIndex, size)))
            return false;
    return true;
}

bool IsAssociated(const AssociationContext& context, int index)
{
    const AssociationType& type = kAssociationTypes[static_cast<size_t>(index)];
    // The cheap checks first: with no files there is nothing to ask the desktop.
    return FileHolds(MimePackagePath(context, type), MimePackage({index})) &&
           FileHolds(DesktopEntryPath(context, type), TypeDesktopEntry(type, context.Program)) &&
           IconsPresent(context, type) && DatabaseKnows(context, type) &&
           DefaultHandlerIsOurs(context, type);
}

Status WriteInto(const std::string& path, const std::string& bytes)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return Error{"Не удалось создать папку \"" + folder.string() + "\". " + SystemErrorText(ec.value()) + "."};
    return WriteFileAtomically(path, bytes);
}

Status Run(const AssociationContext& context, const std::vector<std::string>& argv)
{
    const CommandResult result = RunCommand(argv, kCommandTimeoutMs, ToolEnvironment(context));
    if (!result.Succeeded())
        return Error{CommandFailureText(argv[0], result)};
    return Ok();
}

Status ApplyOne(const AssociationContext& context, int index, const IconRenderer& icons)
{
    const AssociationType& type = kAssociationTypes[static_cast<size_t>(index)];
    if (auto s = WriteInto(MimePackagePath(context, type), MimePackage({index})); !s)
        return s;
    for (int size : kIconSizes) {
        for (int index : {0, type.IconIndex}) {
            const std::string png = icons ? icons(index, size) : std::string();
            if (png.empty())
                return Error{IconPath(context, index, size) + ": нет изображения"};
            if (auto s = WriteInto(IconPath(context, index, size), png); !s)
                return s;
        }
    }
    if (auto s = WriteInto(DesktopEntryPath(context, type),
                           TypeDesktopEntry(type, context.Program));
        !s)
        return s;
    if (auto s = Run(context, {"update-mime-database", context.DataHome + "mime"}); !s)
        return s;
    // Only a cache of the MIME types of the entries: without the tool the
    // desktop reads the entries themselves.
    if (!FindOnPath("update-desktop-database").empty())
        if (auto s = Run(context, {"update-desktop-database", context.DataHome + "applications"}); !s)
            return s;
    return Run(context, {"xdg-mime", "default", type.DesktopFile, type.MimeType});
}

}  // namespace

std::string TypeIconName(const AssociationType& type)
{
    std::string name = type.MimeType;
    for (char& c : name)
        if (c == '/')
            c = '-';
    return name;
}

std::string DesktopExecValue(const std::string& program)
{
    // Characters that make quoting necessary; inside quotes the double quote,
    // the backtick, the dollar sign and the backslash take a backslash.
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string argument;
    if (program.empty() || program.find_first_of(kReserved) != std::string::npos) {
        argument = "\"";
        for (char c : program) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                argument += '\\';
            argument += c;
        }
        argument += '"';
    } else {
        argument = program;
    }
    // A single % starts a field code.
    argument = ReplaceAll(argument, "%", "%%");
    // The string escapes apply on top: a quoted backslash is written as four.
    return EscapeStringValue(argument + " %f");
}

std::string MimePackage(const std::vector<int>& types)
{
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (int index : types) {
        if (index < 0 || index >= static_cast<int>(kAssociationTypes.size()))
            continue;
        const AssociationType& type = kAssociationTypes[static_cast<size_t>(index)];
        // Patterns match without regard to case unless marked case-sensitive,
        // so "*.est" takes ".EST" too.
        xml += std::string("  <mime-type type=\"") + type.MimeType + "\">\n" +
               "    <comment>" + kAssociationDescription + "</comment>\n" +
               "    <icon name=\"" + TypeIconName(type) + "\"/>\n" +
               "    <glob pattern=\"*." + type.Extension + "\"/>\n";
        if (type.SubClassOf)
            xml += std::string("    <sub-class-of type=\"") + type.SubClassOf + "\"/>\n";
        xml += "  </mime-type>\n";
    }
    xml += "</mime-info>\n";
    return xml;
}

std::string TypeDesktopEntry(const AssociationType& type, const std::string& program)
{
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Quilmo\n"
                       "Comment=") +
           kAssociationDescription + "\n" +
           "Exec=" + DesktopExecValue(program) + "\n" +
           "Icon=" + kProgramIconName + "\n" +
           "Terminal=false\n"
           // A handler of its type only; the program's own entry is the menu's.
           "NoDisplay=true\n"
           "MimeType=" + type.MimeType + ";\n";
}

std::string InstalledDesktopEntry()
{
    std::string types;
    for (const AssociationType& type : kAssociationTypes)
        types += std::string(type.MimeType) + ";";
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Quilmo\n"
                       "GenericName=Компьютерные тесты\n"
                       "Comment=") +
           kAssociationDescription + "\n" +
           "Exec=quilmo %f\n"
           "TryExec=quilmo\n"
           "Icon=" + kProgramIconName + "\n" +
           "Terminal=false\n"
           "Categories=Education;\n"
           "MimeType=" + types + "\n";
}

std::string UserDataFolder(const char* xdgDataHome, const char* home)
{
    if (xdgDataHome && *xdgDataHome == '/')
        return WithSlash(xdgDataHome);
    if (home && *home == '/')
        return WithSlash(home) + ".local/share/";
    return {};
}

std::string UserDataFolder()
{
    const std::string home = HomeFolder();
    return UserDataFolder(std::getenv("XDG_DATA_HOME"), home.c_str());
}

std::string MimePackagePath(const AssociationContext& context, const AssociationType& type)
{
    return context.DataHome + "mime/packages/quilmo-" + type.Extension + ".xml";
}

std::string DesktopEntryPath(const AssociationContext& context, const AssociationType& type)
{
    return context.DataHome + "applications/" + type.DesktopFile;
}

std::string IconPath(const AssociationContext& context, int iconIndex, int size)
{
    const std::string folder = context.DataHome + "icons/hicolor/" + std::to_string(size) + "x" +
                               std::to_string(size) + "/";
    if (iconIndex >= 1 && iconIndex <= static_cast<int>(kAssociationTypes.size()))
        return folder + "mimetypes/" +
               TypeIconName(kAssociationTypes[static_cast<size_t>(iconIndex - 1)]) + ".png";
    return folder + "apps/" + kProgramIconName + ".png";
}

std::array<bool, 3> CheckAssociations(const AssociationContext& context)
{
    std::array<bool, 3> associated{};
    if (context.DataHome.empty() || context.Program.empty())
        return associated;
    for (size_t i = 0; i < kAssociationTypes.size(); ++i)
        associated[i] = IsAssociated(context, static_cast<int>(i));
    return associated;
}

Status ApplyAssociations(const AssociationContext& context, const std::array<bool, 3>& chosen,
                         const IconRenderer& icons)
{
    bool any = false;
    for (bool c : chosen)
        any = any || c;
    if (!any)
        return Ok();
    if (context.DataHome.empty())
        return Error{"Не найдена папка данных пользователя: не заданы XDG_DATA_HOME и HOME."};
    if (context.Program.empty())
        return Error{"Не найден файл программы."};
    for (size_t i = 0; i < kAssociationTypes.size(); ++i)
        if (chosen[i])
            if (auto s = ApplyOne(context, static_cast<int>(i), icons); !s)
                return s;
    return Ok();
}

}  // namespace quilmo
