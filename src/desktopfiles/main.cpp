// Build helper: writes the files a desktop installation needs into one folder,
// laid out as under share/: the icons (painted by the program's own code), the
// desktop entry and the MIME package of the three test file types.

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>

#include "model/FileIO.h"
#include "tools/Associations.h"
#include "tools/QtToolArt.h"

namespace {

bool Write(const std::string& path, const std::string& bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (auto written = quilmo::WriteFileAtomically(path, bytes); !written) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), written.error().Message.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string out = std::string(argv[1]) + "/";

    bool ok = true;
    for (int size : quilmo::kIconSizes) {
        const std::string folder =
            out + "icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/";
        ok = ok && Write(folder + "apps/" + quilmo::kProgramIconName + ".png", quilmo::IconPng(0, size));
        for (const quilmo::AssociationType& type : quilmo::kAssociationTypes)
            ok = ok && Write(folder + "mimetypes/" + quilmo::TypeIconName(type) + ".png",
                             quilmo::IconPng(type.IconIndex, size));
    }
    ok = ok && Write(out + "applications/quilmo.desktop", quilmo::InstalledDesktopEntry());
    ok = ok && Write(out + "mime/packages/quilmo.xml", quilmo::MimePackage({0, 1, 2}));
    return ok ? 0 : 1;
}
