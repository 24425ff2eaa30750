#pragma once
// A scratch folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <string>
#include <vector>

namespace kinetile::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes a file below the folder and returns its UTF-8 path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::string Write(const std::string& name, const std::string& text) const;
    std::string Child(const std::string& name) const;

private:
    std::filesystem::path path_;
};

std::string Utf8(const std::filesystem::path& path);
std::vector<uint8_t> ReadAll(const std::string& utf8Path);

}  // namespace kinetile::test
