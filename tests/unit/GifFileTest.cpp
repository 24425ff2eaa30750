#include <gtest/gtest.h>

#include <cstring>

#include "GifFile.h"
#include "GifWriter.h"
#include "TempDir.h"

namespace kinetile {
namespace {

using test::TempDir;

TEST(LoadGifFile, ResultCodesForWhatLiesAtThePath) {
    TempDir dir;
    const std::vector<uint8_t> gif = test::TypicalAnimation();
    struct Case {
        std::string path;
        int32_t expected;
    } cases[] = {
        {dir.Write("anim.gif", gif), static_cast<int32_t>(gif.size())},
        {dir.Write("动画 文件.gif", gif), static_cast<int32_t>(gif.size())},
        {dir.Write("bare.gif", std::string("GIF89a")), 6},
        {dir.Write("old.gif", std::string("GIF87a and more")), 15},
        {dir.Write("empty.gif", std::string()), kGifFileNotGif},
        {dir.Write("short.gif", std::string("GIF8")), kGifFileNotGif},
        {dir.Write("lower.gif", std::string("gif89a......")), kGifFileNotGif},
        {dir.Write("text.gif", std::string("hello, world")), kGifFileNotGif},
        {dir.Child("missing.gif"), kGifFileMissing},
        {test::Utf8(dir.Path()), kGifFileMissing},
        {"", kGifFileMissing},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data{1, 2, 3};
        int32_t r = LoadGifFile(c.path, data);
        EXPECT_EQ(r, c.expected) << c.path;
        if (r > 0) {
            EXPECT_EQ(data, test::ReadAll(c.path)) << c.path;
        } else {
            EXPECT_EQ(data, (std::vector<uint8_t>{1, 2, 3})) << "untouched for " << c.path;
        }
    }
}

// A file system whose files fail in chosen ways.
class FailingFiles final : public GifFileSystem {
public:
    enum class Fail { None, Open, FirstRead, Length, SecondRead, ShortSecondRead, Huge };
    explicit FailingFiles(Fail fail) : fail_(fail) {}

    bool IsFile(const std::string&) override { return true; }
    std::unique_ptr<GifFileHandle> Open(const std::string&) override {
        if (fail_ == Fail::Open) return nullptr;
        return std::make_unique<File>(fail_);
    }

private:
    class File final : public GifFileHandle {
    public:
        explicit File(Fail fail) : fail_(fail) {}
        bool Read(uint8_t* buffer, size_t count, size_t& got) override {
            // "First" is the signature read, "second" the whole-file read after Rewind.
            if (fail_ == Fail::FirstRead || (fail_ == Fail::SecondRead && rewound_)) return false;
            if (pos_ >= content_.size() || (fail_ == Fail::ShortSecondRead && rewound_ && pos_ > 4)) {
                got = 0;
                return true;
            }
            got = std::min(count, std::min<size_t>(5, content_.size() - pos_));  // small chunks
            std::memcpy(buffer, content_.data() + pos_, got);
            pos_ += got;
            return true;
        }
        bool Length(uint64_t& length) override {
            if (fail_ == Fail::Length) return false;
            length = fail_ == Fail::Huge ? (uint64_t{1} << 40) : content_.size();
            return true;
        }
        bool Rewind() override {
            pos_ = 0;
            rewound_ = true;
            return true;
        }

    private:
        Fail fail_;
        bool rewound_ = false;
        size_t pos_ = 0;
        std::string content_ = "GIF89a0123456789";
    };
    Fail fail_;
};

TEST(LoadGifFile, FailuresBeforeTheSignatureAreMissingAndAfterItReadFailed) {
    using Fail = FailingFiles::Fail;
    struct Case {
        Fail fail;
        int32_t expected;
    } cases[] = {{Fail::None, 16},          {Fail::Open, kGifFileMissing},         {Fail::FirstRead, kGifFileMissing},
                 {Fail::Length, kGifFileReadFailed}, {Fail::SecondRead, kGifFileReadFailed},
                 {Fail::ShortSecondRead, kGifFileReadFailed}, {Fail::Huge, kGifFileReadFailed}};
    for (const Case& c : cases) {
        FailingFiles files(c.fail);
        std::vector<uint8_t> data{7};
        int32_t r = LoadGifFile(files, "x.gif", data);
        EXPECT_EQ(r, c.expected) << static_cast<int>(c.fail);
        if (r == kGifFileMissing) {
            EXPECT_EQ(data, std::vector<uint8_t>{7});
        } else if (r == kGifFileReadFailed) {
            EXPECT_TRUE(data.empty()) << "no half-read array";
        } else {
            EXPECT_EQ(std::string(data.begin(), data.end()), "GIF89a0123456789");
        }
    }
}

}  // namespace
}  // namespace kinetile
