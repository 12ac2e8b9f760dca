#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "model/TextUtil.h"

namespace quilmo::bench {

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quilmo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string MakeTestText(int tasks, const std::function<std::string(int k)>& pictureLine)
{
    std::vector<std::string> lines = {"Итоговый тест по физике за 9 класс",
                                      "Тест содержит задания_CRLF_по всем разделам курса.",
                                      std::to_string(tasks), "--------", "5", "--------",
                                      "18000", "15000", "12000", "9000", "0"};
    static const char* const answers[] = {"2", "1,3,4", "3-1-4-2", "5", "2,5"};
    for (int k = 1; k <= tasks; ++k) {
        const std::string n = std::to_string(k);
        lines.push_back("----" + n + "----");
        lines.push_back("Вопрос № " + n + ". Какая из перечисленных величин является векторной?"
                        "_CRLF_Выберите правильный ответ.");
        lines.push_back("Вспомните определение вектора");
        lines.push_back(pictureLine(k));
        lines.push_back(answers[k % 5]);
        lines.push_back("Сила, действующая на тело");
        lines.push_back("Масса тела");
        lines.push_back("Скорость_CRLF_движения");
        lines.push_back(k % 3 == 0 ? "" : "Время падения");
        lines.push_back(k % 3 == 0 ? "" : "Температура");
    }
    lines.push_back("----------конец---------");
    return JoinLinesCrLf(lines);
}

namespace {

size_t StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::strtoull(line.c_str() + prefix.size(), nullptr, 10);
    return 0;
}

}  // namespace

size_t ResidentBytes() { return StatusKiB("VmRSS") * 1024; }
size_t PeakResidentBytes() { return StatusKiB("VmHWM") * 1024; }

bool ResetPeakResident()
{
    // "5" resets the peak resident size to the current one (Linux 4.0 on).
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return bool(clear.flush());
}

}  // namespace quilmo::bench

#include <QApplication>

namespace quilmo::bench {

void ProcessEvents()
{
    QApplication::sendPostedEvents(nullptr, 0);
    QApplication::processEvents();
}

}  // namespace quilmo::bench
