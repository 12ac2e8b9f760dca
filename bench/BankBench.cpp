// Importing a 5,000-question Moodle XML bank against parsing the same file
// with libxml2 alone (same options, tree built and freed), both from disk.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "banks/BankFile.h"
#include "banks/BankPictures.h"
#include "model/FileIO.h"

namespace {

using namespace quilmo;

constexpr int kQuestions = 5000;

// A 1 x 1 PNG, converted to JPEG on import.
constexpr const char* kPng =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg==";

// Questions as a Moodle export writes them: HTML texts in CDATA, answers
// with fractions and empty feedback, a hint now and then, a picture in one
// question of fifty; a tenth true-false, a tenth ordering, one in twenty an
// essay that is skipped.
std::string MakeBank(int questions)
{
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"
                    "<question type=\"category\"><category><text>$course$/top/Физика</text></category></question>\n";
    for (int k = 1; k <= questions; ++k) {
        const std::string n = std::to_string(k);
        const char* type = k % 20 == 0 ? "essay" : k % 10 == 1 ? "truefalse" : k % 10 == 2 ? "ordering" : "multichoice";
        x += std::string("  <question type=\"") + type + "\">\n    <name><text>Вопрос " + n + "</text></name>\n";
        x += "    <questiontext format=\"html\">\n      <text><![CDATA[<p>Вопрос № " + n +
             ". Какая из перечисленных величин является <strong>векторной</strong>?</p><p>Выберите&nbsp;ответ.</p>";
        if (k % 50 == 0)
            x += "<p><img src=\"@@PLUGINFILE@@/pic" + n + ".png\" alt=\"\"></p>]]></text>\n      <file name=\"pic" + n +
                 ".png\" path=\"/\" encoding=\"base64\">" + kPng + "</file>\n";
        else
            x += "]]></text>\n";
        x += "    </questiontext>\n    <generalfeedback format=\"html\"><text></text></generalfeedback>\n"
             "    <defaultgrade>1.0000000</defaultgrade>\n    <penalty>0.3333333</penalty>\n    <hidden>0</hidden>\n";
        if (std::string(type) == "truefalse") {
            x += "    <answer fraction=\"100\" format=\"moodle_auto_format\"><text>true</text>"
                 "<feedback format=\"html\"><text></text></feedback></answer>\n"
                 "    <answer fraction=\"0\" format=\"moodle_auto_format\"><text>false</text>"
                 "<feedback format=\"html\"><text></text></feedback></answer>\n";
        } else {
            const bool single = k % 3 != 0;
            if (std::string(type) == "multichoice")
                x += std::string("    <single>") + (single ? "true" : "false") +
                     "</single>\n    <shuffleanswers>true</shuffleanswers>\n    <answernumbering>abc</answernumbering>\n";
            const char* answers[] = {"Сила, действующая на тело", "Масса тела", "<p>Скорость движения</p>",
                                     "Время падения", "Температура &amp; давление"};
            for (int a = 0; a < 4 + k % 2; ++a) {
                const char* fraction = std::string(type) == "ordering" ? "1" : single ? (a == 0 ? "100" : "0")
                                                                                     : (a % 2 == 0 ? "33.33333" : "-100");
                x += std::string("    <answer fraction=\"") + fraction + "\" format=\"html\"><text><![CDATA[" + answers[a] +
                     "]]></text><feedback format=\"html\"><text></text></feedback></answer>\n";
            }
        }
        if (k % 4 == 0)
            x += "    <hint format=\"html\"><text><![CDATA[<p>Вспомните определение вектора</p>]]></text></hint>\n";
        x += "  </question>\n";
    }
    return x + "</quiz>\n";
}

struct BankFile {
    std::string Dir;
    std::string Path;
    size_t Bytes = 0;

    BankFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quilmo-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        Dir = pattern + "/";
        Path = Dir + "bank.xml";
        const std::string bytes = MakeBank(kQuestions);
        Bytes = bytes.size();
        if (!WriteFileAtomically(Path, bytes))
            throw std::runtime_error("cannot write the bank");
    }
    ~BankFile()
    {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
};

const BankFile& File()
{
    static const BankFile file;
    return file;
}

void BM_MoodleXmlImport(benchmark::State& state)
{
    const BankFile& file = File();
    size_t tasks = 0;
    for (auto _ : state) {
        auto bank = ReadBankFile(file.Path);
        if (!bank)
            state.SkipWithError(bank.error().Message.c_str());
        else
            tasks = bank->Tasks.size();
        benchmark::DoNotOptimize(bank);
    }
    state.counters["tasks"] = double(tasks);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Bytes));
}
BENCHMARK(BM_MoodleXmlImport)->Unit(benchmark::kMillisecond);

// The baseline: the same file read and parsed into libxml2's tree, with the
// options the import uses, and freed.
void BM_MoodleXmlLibxml2Parse(benchmark::State& state)
{
    const BankFile& file = File();
    for (auto _ : state) {
        auto bytes = ReadWholeFile(file.Path);
        xmlDocPtr doc = xmlReadMemory(bytes->data(), int(bytes->size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        if (!doc)
            state.SkipWithError("libxml2 failed");
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Bytes));
}
BENCHMARK(BM_MoodleXmlLibxml2Parse)->Unit(benchmark::kMillisecond);

}  // namespace
