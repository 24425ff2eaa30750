#include "TempDir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

namespace kinetile::test {
namespace {

std::filesystem::path FromUtf8(const std::string& s) {
    return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

}  // namespace

std::string Utf8(const std::filesystem::path& path) {
    std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

TempDir::TempDir() {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("kinetile-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Read-only files would stop the removal on Windows.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Child(const std::string& name) const { return Utf8(path_ / FromUtf8(name)); }

std::string TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::filesystem::path file = path_ / FromUtf8(name);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return Utf8(file);
}

std::string TempDir::Write(const std::string& name, const std::string& text) const {
    return Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> ReadAll(const std::string& utf8Path) {
    std::ifstream in(FromUtf8(utf8Path), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace kinetile::test
