#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace quilmo::testing {

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "quilmo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    const fs::path p = fs::path(path_) / name;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + p.string());
    return p.string();
}

std::string TempFolder::Read(const std::string& name) const
{
    std::ifstream in(fs::path(path_) / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ReadFixture(const std::string& name)
{
    std::ifstream in(fs::path(QUILMO_FIXTURES) / name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + name);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace quilmo::testing
