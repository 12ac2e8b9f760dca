#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <string>

namespace quilmo::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }  // ends in '/'
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Writes bytes to a file in the folder (creating subfolders) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::string path_;
};

// Reads a file under tests/fixtures.
std::string ReadFixture(const std::string& name);

}  // namespace quilmo::testing
