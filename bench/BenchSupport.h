#pragma once
// What several benchmarks share: a scratch folder, a generated test, the
// process's resident memory and prompts that answer without a person.

#include <algorithm>
#include <chrono>
#include <memory>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "app/Prompts.h"

namespace quilmo::bench {

using Clock = std::chrono::steady_clock;
inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A new folder under the system's temporary folder, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }  // ends in '/'

private:
    std::string path_;
};

// The UTF-8 text of a test of `tasks` tasks of all three types, five marks;
// task k (from 1) gets the picture line pictureLine(k).
std::string MakeTestText(int tasks, const std::function<std::string(int k)>& pictureLine);

// The process's resident memory now and its peak, in bytes, from
// /proc/self/status; ResetPeakResident makes the peak the current size (false
// where the system cannot).
size_t ResidentBytes();
size_t PeakResidentBytes();
bool ResetPeakResident();
inline double MiB(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// Answers the open dialog with OpenPath and every message with OK; any other
// prompt is counted in Unexpected, so a benchmark can fail on it.
class BenchPrompts : public Prompts {
public:
    QString OpenPath;
    int Unexpected = 0;
    int Messages = 0;

    PromptAnswer Message(QWidget*, const QString&, const QString&, PromptIcon, PromptButtons buttons) override
    {
        ++Messages;
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
    std::optional<QString> InputBox(QWidget*, const QString&, const QString&, const QString&) override
    {
        ++Unexpected;
        return std::nullopt;
    }
    std::optional<FileDialogResult> OpenFile(QWidget*, const FileDialogSpec&) override
    {
        return FileDialogResult{OpenPath, 1, {OpenPath}};
    }
    std::optional<FileDialogResult> SaveFile(QWidget*, const FileDialogSpec&) override
    {
        ++Unexpected;
        return std::nullopt;
    }
    std::optional<QString> Folder(QWidget*, const QString&, const QString&) override
    {
        ++Unexpected;
        return std::nullopt;
    }
    std::optional<FontChoice> Font(QWidget*, const FontChoice&) override
    {
        ++Unexpected;
        return std::nullopt;
    }
    std::optional<QColor> Color(QWidget*, const QColor&, QList<QColor>&) override
    {
        ++Unexpected;
        return std::nullopt;
    }
    int ShowModal(QDialog&) override
    {
        ++Unexpected;
        return 0;
    }
};

}  // namespace quilmo::bench

#include "app/AppServices.h"

namespace quilmo::bench {

// The shell's actions do nothing here.
class NoDesktop : public Desktop {
public:
    bool OpenUrl(const QUrl&) override { return true; }
    bool StartCalculator() override { return true; }
};

// What a window needs, with its program folder in a scratch folder.
struct WindowServices {
    ScratchFolder ProgramFolder;
    BenchPrompts Prompter;
    NoDesktop Shell;
    AppServices Services{Prompter, SystemPlatform(), Shell, ProgramFolder.Path(), ProgramFolder.Path(), {}};
};

// Lets the window thread do what is queued (layout, painting).
void ProcessEvents();

// The seconds open(window) takes until the shown window has laid out and
// painted what it opened.
template <class Window, class Open>
double TimeUntilPainted(Window& window, Open open)
{
    const auto start = Clock::now();
    open(window);
    ProcessEvents();
    window.repaint();
    return Seconds(Clock::now() - start);
}

// Makes a window, shows it and times open() on it (see TimeUntilPainted),
// then destroys it; peak takes the process's peak resident size meanwhile.
template <class Window, class Make, class Open>
double TimedOpen(Make make, Open open, size_t& peak)
{
    ResetPeakResident();
    double seconds = 0;
    {
        std::unique_ptr<Window> window = make();
        window->show();
        ProcessEvents();
        seconds = TimeUntilPainted(*window, open);
    }
    ProcessEvents();  // deferred deletions
    peak = std::max(peak, PeakResidentBytes());
    return seconds;
}

}  // namespace quilmo::bench
