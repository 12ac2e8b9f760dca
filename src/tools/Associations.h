#pragma once
// File associations of the three test file types with the program, the XDG
// way: for each type a shared-mime-info package, a desktop entry that runs the
// program file with the file name, icons, all in the user's data folder, and
// the entry made the type's default handler.
//
// Each type gets its own package and its own desktop entry, so that types stay
// independent: associating .est leaves .tst as it was, and an entry written by
// a copy of the program at another path counts only for the types it wrote.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/Expected.h"

namespace quilmo {

struct AssociationType {
    const char* Extension;    // "est", without the dot
    const char* MimeType;     // "application/x-quilmo-est"
    const char* DesktopFile;  // "quilmo-est.desktop"
    int IconIndex;            // the picture of the type: 1 .tst, 2 .stst, 3 .est (0 is the program's)
    const char* SubClassOf;   // the broader type the files also are, or nullptr
};

// In the order .tst, .stst, .est.
inline constexpr std::array<AssociationType, 3> kAssociationTypes = {{
    // A .tst is plain text, so text editors stay on offer for it; the other two
    // are enciphered or compressed.
    {"tst", "application/x-quilmo-tst", "quilmo-tst.desktop", 1, "text/plain"},
    {"stst", "application/x-quilmo-stst", "quilmo-stst.desktop", 2, nullptr},
    {"est", "application/x-quilmo-est", "quilmo-est.desktop", 3, nullptr},
}};

inline constexpr const char* kAssociationDescription = "Quilmo2 Компьютерные тесты";
inline constexpr const char* kProgramIconName = "quilmo";
inline constexpr std::array<int, 5> kIconSizes = {16, 32, 48, 64, 128};

// The icon name of a type's files ("application-x-quilmo-est").
std::string TypeIconName(const AssociationType& type);

// The Exec value that runs program with one file name: the path alone when
// it needs no quoting, else quoted with the desktop entry's escapes, then %f.
std::string DesktopExecValue(const std::string& program);

// A shared-mime-info package describing the given types (indexes into
// kAssociationTypes).
std::string MimePackage(const std::vector<int>& types);
// The desktop entry a user association writes for one type.
std::string TypeDesktopEntry(const AssociationType& type, const std::string& program);
// The desktop entry an installation puts into share/applications: the program
// by name, shown in menus, handling all three types.
std::string InstalledDesktopEntry();

// $XDG_DATA_HOME, or home/.local/share; relative values are ignored. Ends in
// '/'; "" when neither helps.
std::string UserDataFolder(const char* xdgDataHome, const char* home);
std::string UserDataFolder();

// Where the associations live and which program file they name.
struct AssociationContext {
    std::string DataHome;  // ends in '/'
    std::string Program;   // full path of the program file
};

// The files of one type under the data folder.
std::string MimePackagePath(const AssociationContext& context, const AssociationType& type);
std::string DesktopEntryPath(const AssociationContext& context, const AssociationType& type);
std::string IconPath(const AssociationContext& context, int iconIndex, int size);

// For each type in order: associated only when its package, the refreshed MIME
// database, its icons and its desktop entry are all there as this program
// writes them for context.Program, and the desktop's default handler of the
// type is that entry. Anything missing or unreadable counts as not associated.
std::array<bool, 3> CheckAssociations(const AssociationContext& context);

// PNG bytes of picture iconIndex (0 the program, 1..3 the types) at size pixels.
using IconRenderer = std::function<std::string(int iconIndex, int size)>;

// Writes the chosen types, in order, each completely: package, icons, desktop
// entry, refreshed databases, default handler. Stops at the first failure and
// returns the system's error text; types written before it stay written.
Status ApplyAssociations(const AssociationContext& context, const std::array<bool, 3>& chosen,
                         const IconRenderer& icons);

}  // namespace quilmo
