#pragma once
// The desktop's user folders moved into a temporary folder for one test, so
// that associations, MIME databases and default handlers written by the test
// never reach the real home folder.

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

namespace quilmo::testing {

class XdgSandbox {
public:
    XdgSandbox()
    {
        for (const char* sub : {"data/", "config/", "home/", "system-data/", "system-config/"})
            folder.Write(std::string(sub) + ".keep", "");
        Set("XDG_DATA_HOME", folder / "data");
        Set("XDG_CONFIG_HOME", folder / "config");
        Set("HOME", folder / "home");
        Set("XDG_DATA_DIRS", folder / "system-data");
        Set("XDG_CONFIG_DIRS", folder / "system-config");
        // A plain desktop: xdg-mime then reads and writes mimeapps.list itself.
        Set("XDG_CURRENT_DESKTOP", "X-Generic");
        for (const char* name : {"KDE_FULL_SESSION", "KDE_SESSION_VERSION", "GNOME_DESKTOP_SESSION_ID",
                                 "MATE_DESKTOP_SESSION_ID", "DESKTOP_SESSION", "XDG_MENU_PREFIX"})
            vars_.push_back(std::make_unique<ScopedEnv>(name, nullptr));
    }

    ~XdgSandbox()
    {
        // Last set, first restored: a variable set twice gets its first value back.
        while (!vars_.empty())
            vars_.pop_back();
    }
    XdgSandbox(const XdgSandbox&) = delete;
    XdgSandbox& operator=(const XdgSandbox&) = delete;

    // The user's data folder, ending in '/'.
    std::string DataHome() const { return folder / "data/"; }

    // An executable file standing for the program at relative path name.
    std::string Program(const std::string& name) const
    {
        const std::string path = folder.Write(name, "#!/bin/sh\nexit 0\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }

    void Set(const char* name, const std::string& value)
    {
        vars_.push_back(std::make_unique<ScopedEnv>(name, value.c_str()));
    }

    TempFolder folder;

private:
    std::vector<std::unique_ptr<ScopedEnv>> vars_;
};

}  // namespace quilmo::testing
