#pragma once
// What every form receives: the prompts, the platform, the desktop and the folders.

#include <QStringList>
#include <QUrl>
#include <string>

#include "app/Platform.h"
#include "app/Prompts.h"

namespace quilmo {

// The shell's default actions, replaceable in tests.
class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens a document or address with the desktop's default program.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Starts the first calculator found on PATH, detached.
    virtual bool StartCalculator() = 0;
};

struct AppServices {
    Prompts& prompts;
    Platform& platform;
    Desktop& desktop;
    std::string ProgramDir;  // config.ini, language.txt, result.txt; ends in '/'
    std::string ExeDir;      // the help document; ends in '/'
    QStringList Arguments;   // command line, without the program name
};

}  // namespace quilmo
