#include <gtest/gtest.h>
#include <windows.h>

#include "GifFile.h"
#include "GifWriter.h"
#include "TempDir.h"
#include "TextConvert.h"

namespace kinetile {
namespace {

TEST(LoadGifFileWin32, HiddenReadOnlyAndSystemFilesAreReadLikeAnyOther) {
    test::TempDir dir;
    const std::vector<uint8_t> gif = test::TypicalAnimation();
    for (DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_READONLY}, DWORD{FILE_ATTRIBUTE_SYSTEM},
                             DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM}}) {
        std::string path = dir.Write("file" + std::to_string(attributes) + ".gif", gif);
        ASSERT_TRUE(SetFileAttributesW(Utf8ToWide(path).c_str(), attributes));
        std::vector<uint8_t> data;
        EXPECT_EQ(LoadGifFile(path, data), static_cast<int32_t>(gif.size())) << attributes;
        EXPECT_EQ(data, gif);
    }
}

TEST(LoadGifFileWin32, AFileLockedByAnotherOpenerIsMissing) {
    test::TempDir dir;
    std::string path = dir.Write("locked.gif", test::TypicalAnimation());
    HANDLE exclusive = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> data{5};
    EXPECT_EQ(LoadGifFile(path, data), kGifFileMissing);
    EXPECT_EQ(data, std::vector<uint8_t>{5});
    CloseHandle(exclusive);
}

}  // namespace
}  // namespace kinetile
