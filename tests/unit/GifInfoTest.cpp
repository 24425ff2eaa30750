#include <gtest/gtest.h>

#include <sstream>

#include "FrameGif.h"
#include "GifIndex.h"
#include "GifInfo.h"
#include "RenderBmp.h"
#include "GifWriter.h"
#include "TempDir.h"

namespace kinetile {
namespace {

struct Outcome {
    int code;
    std::string out, err;
};

Outcome GifInfo(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int code = RunGifInfo(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(GifInfo, JsonNamesEveryFieldOfScreenAndFrames) {
    test::TempDir dir;
    std::vector<uint8_t> gif = test::GifWriter().Signature().Screen(30, 20, test::DistinctPalette(2), 1, 0)
        .GraphicControl(12, 2, 1).Image(3, 4, 2, 1, {0, 1}).Trailer().Bytes();
    Outcome r = GifInfo({"--json", dir.Write("a.gif", gif)});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"screen\":{\"Width\":30,\"Height\":20,\"Flags\":240,\"BackIndex\":1,\"Aspect\":0},"
              "\"globalTableSize\":6,\"frames\":[{\"StartPos\":19,\"Size\":23,\"Delay\":120,\"Flags\":9,"
              "\"TransColor\":" + std::to_string(test::DistinctPalette(2)[1].Value()) +
                  ",\"TransIndex\":1,\"Width\":2,\"Height\":1,\"Left\":3,\"Top\":4}]}\n");
}

TEST(GifInfo, FixOptionRewritesTheTransparentColour) {
    test::TempDir dir;
    std::vector<uint8_t> gif = test::GifWriter().Signature().Screen(2, 2, {{1, 1, 1}, {1, 1, 1}})
        .GraphicControl(0, 0, 0).SolidImage(0, 0, 2, 2, 0).Trailer().Bytes();
    std::string path = dir.Write("dup.gif", gif);
    Outcome plain = GifInfo({"--json", path});
    Outcome fixed = GifInfo({"--json", "--fix", path});
    EXPECT_NE(plain.out.find("\"TransColor\":65793"), std::string::npos) << plain.out;
    EXPECT_EQ(fixed.out.find("\"TransColor\":65793"), std::string::npos) << fixed.out;
}

TEST(GifInfo, TextListsTheScreenTableAndOneLinePerFrame) {
    test::TempDir dir;
    Outcome r = GifInfo({dir.Write("a.gif", test::TypicalAnimation({.frames = 3}))});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("screen: 8 x 6"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("global colour table: 12 bytes"), std::string::npos);
    EXPECT_NE(r.out.find("frames: 3"), std::string::npos);
    size_t lines = 0;
    for (char c : r.out) lines += c == '\n';
    EXPECT_EQ(lines, 5u + 3u);
}

TEST(GifInfo, FrameOutWritesTheSingleImageGif) {
    test::TempDir dir;
    std::vector<uint8_t> gif = test::TypicalAnimation({.frames = 3, .transparentIndex = 2});
    std::string out = dir.Child("frame2.gif");
    Outcome r = GifInfo({"--frame", "2", "--out", out, dir.Write("a.gif", gif)});
    ASSERT_EQ(r.code, 0) << r.err;

    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    IndexGifFrames(gif, frames, screen, tableSize, false);
    std::vector<uint8_t> expected;
    BuildFrameGif(gif, frames[2], tableSize, expected);
    EXPECT_EQ(test::ReadAll(out), expected);
}

TEST(GifInfo, UnusableFilesExitTwoWithOneLineNamingTheFile) {
    test::TempDir dir;
    const std::string missing = dir.Child("nope.gif");
    const std::string text = dir.Write("notes.gif", std::string("just text"));
    const std::string folder = test::Utf8(dir.Path());
    for (const std::string& path : {missing, text, folder}) {
        Outcome r = GifInfo({path});
        EXPECT_EQ(r.code, 2) << path;
        EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    Outcome noFrame = GifInfo({"--frame", "3", "--out", dir.Child("x.gif"), dir.Write("one.gif", test::TypicalAnimation({.frames = 1}))});
    EXPECT_EQ(noFrame.code, 2);
    EXPECT_NE(noFrame.err.find("no frame 3"), std::string::npos) << noFrame.err;
}

TEST(GifInfo, RenderWritesABitmapOfTheScreenOrSaysItNeedsWindows) {
    test::TempDir dir;
    const std::string bmp = dir.Child("frame.bmp");
    Outcome r = GifInfo({"--render", "1", "--out", bmp, dir.Write("a.gif", test::TypicalAnimation({.frames = 3}))});
    if (!kCanRender) {
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("needs the Windows build"), std::string::npos) << r.err;
        return;
    }
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<uint8_t> file = test::ReadAll(bmp);
    ASSERT_GE(file.size(), 54u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[18] | file[19] << 8, 8);  // the 8 x 6 logical screen
    EXPECT_EQ(file[22] | file[23] << 8, 6);
    EXPECT_EQ(file.size(), 54u + 6 * 24);  // rows of 8 * 3 bytes
}

TEST(GifInfo, BadCommandLinesExitOneWithUsage) {
    const std::vector<std::vector<std::string>> lines = {
        {}, {"--frame", "1", "a.gif"}, {"--out", "x", "a.gif"}, {"--frame", "x1", "--out", "o", "a.gif"},
        {"--frame", "-1", "--out", "o", "a.gif"}, {"--bogus", "a.gif"}, {"a.gif", "b.gif"}, {"--frame"}};
    for (const auto& args : lines) {
        Outcome r = GifInfo(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
    }
}

}  // namespace
}  // namespace kinetile
