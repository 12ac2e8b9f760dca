#include "app/HelpDocument.h"

#include <filesystem>

namespace quilmo {

std::string HelpDocumentPath(const std::string& exeDir)
{
    namespace fs = std::filesystem;
    const fs::path beside = fs::path(exeDir) / kHelpDocumentName;
    const fs::path installed = fs::path(exeDir) / ".." / "share" / "quilmo" / kHelpDocumentName;
    std::error_code ec;
    if (!fs::is_regular_file(beside, ec) && fs::is_regular_file(installed, ec))
        return installed.lexically_normal().string();
    return beside.lexically_normal().string();
}

}  // namespace quilmo
