// The tree's layering: includes point one way between the folders of src/,
// and logic files never include a form.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quilmo {
namespace {

namespace fs = std::filesystem;

// A folder may include its own files and those of folders of a lower rank.
// The runner hosts the journal, the editor and the tools; the editor shows
// the tools' windows; the command line drives the journal, banks and tools.
const std::map<std::string, int> kRank = {
    {"model", 0}, {"app", 1},    {"banks", 1}, {"journal", 2},      {"tools", 2},
    {"editor", 3}, {"cli", 3},   {"runner", 4}, {"desktopfiles", 3},
};

// Forms and other Qt code, named as the build tells them apart.
bool IsFormFile(const std::string& path)
{
    const std::string name = fs::path(path).filename().string();
    return name.rfind("Qt", 0) == 0 || name.find("Unit") != std::string::npos;
}

std::string Folder(const std::string& path)
{
    const size_t slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Why `file` (a path under src/) may not include `target` (as written between
// the quotes or angle brackets); nothing when it may. qtHeaders are the
// headers that include Qt themselves (the prompts, the services): forms'
// headers too, whatever their names.
std::optional<std::string> IncludeFault(const std::string& file, const std::string& target, bool angle,
                                        const std::set<std::string>& qtHeaders)
{
    const bool logic = !IsFormFile(file) && !qtHeaders.count(file) && fs::path(file).filename() != "main.cpp";
    if (logic && angle && target.size() > 1 && target[0] == 'Q')
        return "a logic file includes Qt";
    if (angle)
        return std::nullopt;
    if (logic && (IsFormFile(target) || qtHeaders.count(target)))
        return "a logic file includes a form header";
    // A program's entry point sits above every folder.
    if (fs::path(file).filename() == "main.cpp")
        return std::nullopt;
    const auto own = kRank.find(Folder(file));
    const auto other = kRank.find(Folder(target));
    if (own == kRank.end())
        return "the file's folder has no rank";
    if (other == kRank.end())
        return "the included folder has no rank";
    if (own->first != other->first && other->second >= own->second)
        return "a lower folder includes a higher or a sibling one";
    return std::nullopt;
}

struct Include {
    std::string target;
    bool angle;
};

std::vector<Include> Includes(const fs::path& file)
{
    std::vector<Include> out;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const size_t hash = line.find_first_not_of(" \t");
        if (hash == std::string::npos || line.compare(hash, 1, "#") != 0)
            continue;
        const size_t word = line.find_first_not_of(" \t", hash + 1);
        if (word == std::string::npos || line.compare(word, 7, "include") != 0)
            continue;
        const size_t open = line.find_first_of("\"<", word + 7);
        if (open == std::string::npos)
            continue;
        const size_t close = line.find(line[open] == '"' ? '"' : '>', open + 1);
        if (close != std::string::npos)
            out.push_back({line.substr(open + 1, close - open - 1), line[open] == '<'});
    }
    return out;
}

TEST(IncludeRulesTest, RulesTellEachCase)
{
    struct Case {
        const char* file;
        const char* target;
        bool angle;
        bool allowed;
    };
    const Case cases[] = {
        {"model/TestModel.cpp", "model/Regional.h", false, true},
        {"model/TestModel.cpp", "app/Settings.h", false, false},
        {"app/Settings.cpp", "model/IniFile.h", false, true},
        {"app/Settings.cpp", "runner/Scoring.h", false, false},
        {"journal/ResultProtocol.cpp", "runner/TestResult.h", false, false},
        {"journal/ResultProtocol.cpp", "model/TestResult.h", false, true},
        {"journal/Listener.cpp", "tools/Encryptor.h", false, false},
        {"editor/EditorUnit.cpp", "runner/MainUnit.h", false, false},
        {"editor/EditorUnit.cpp", "tools/AboutUnit.h", false, true},
        {"runner/MainUnit.cpp", "journal/ServerUnit.h", false, true},
        {"runner/MainUnit.cpp", "editor/EditorUnit.h", false, true},
        {"journal/JournalStore.cpp", "journal/QtClassPage.h", false, false},
        {"journal/JournalStore.cpp", "app/QtConvert.h", false, false},
        {"runner/Scoring.cpp", "runner/ShowResultUnit.h", false, false},
        {"runner/Scoring.cpp", "QString", true, false},
        {"runner/Scoring.cpp", "string", true, true},
        {"runner/ShowResultUnit.cpp", "QLabel", true, true},
        {"runner/ShowResultUnit.cpp", "app/QtArt.h", false, true},
        {"app/main.cpp", "runner/MainUnit.h", false, true},
        {"cli/main.cpp", "journal/Listener.h", false, true},
        {"cli/main.cpp", "app/QtConvert.h", false, true},
        {"cli/ToolCommands.cpp", "app/QtConvert.h", false, false},
        {"cli/ToolCommands.cpp", "banks/BankFile.h", false, true},
        {"newfolder/Thing.cpp", "model/Expected.h", false, false},
        {"app/Prompts.h", "QString", true, true},
        {"app/AppServices.h", "app/Prompts.h", false, true},
        {"runner/MainUnit.cpp", "app/Prompts.h", false, true},
        {"runner/Scoring.cpp", "app/Prompts.h", false, false},
        {"app/Settings.h", "app/Prompts.h", false, false},
    };
    const std::set<std::string> qtHeaders = {"app/Prompts.h", "app/AppServices.h"};
    for (const Case& c : cases)
        EXPECT_EQ(!IncludeFault(c.file, c.target, c.angle, qtHeaders).has_value(), c.allowed)
            << c.file << " includes " << c.target;
}

TEST(IncludeRulesTest, EveryIncludeUnderSrcPointsOneWay)
{
    const fs::path src = fs::path(QUILMO_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::is_directory(src));
    std::map<std::string, std::vector<Include>> files;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h" || ext == ".in"))
            files[fs::relative(entry.path(), src).generic_string()] = Includes(entry.path());
    }
    std::set<std::string> qtHeaders;
    for (const auto& [file, includes] : files)
        for (const Include& inc : includes)
            if (inc.angle && inc.target.rfind("Q", 0) == 0 && fs::path(file).extension() == ".h")
                qtHeaders.insert(file);
    size_t checked = 0;
    for (const auto& [file, includes] : files) {
        for (const Include& inc : includes) {
            // Standard and system headers, and the generated version header.
            if (!inc.angle && inc.target.find('/') == std::string::npos)
                continue;
            if (inc.angle && inc.target.rfind("Q", 0) != 0)
                continue;
            ++checked;
            if (const auto fault = IncludeFault(file, inc.target, inc.angle, qtHeaders))
                ADD_FAILURE() << file << " includes " << inc.target << ": " << *fault;
        }
    }
    EXPECT_GT(checked, 500u);  // the walk saw the tree
}

}  // namespace
}  // namespace quilmo
