#include "GifInfo.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iomanip>

#include "FrameGif.h"
#include "GifFile.h"
#include "GifIndex.h"
#include "RenderBmp.h"

namespace kinetile {
namespace {

constexpr const char* kUsage =
    "usage: gifinfo [--json] [--fix] [--frame N --out FILE] [--render N --out FILE.bmp] FILE.gif\n"
    "  --json          print the screen and the frame table as one JSON object\n"
    "  --fix           make each transparent colour-table entry unique while indexing\n"
    "  --frame N --out FILE\n"
    "                  write frame N as a stand-alone single-image GIF\n"
    "  --render N --out FILE.bmp\n"
    "                  compose frames 0 to N as the control shows them (Windows build;\n"
    "                  indexes with the fix-up on, as the control does for a file)\n";

struct Options {
    bool json = false;
    bool fix = false;
    bool wantFrame = false;
    bool wantRender = false;
    long frame = 0;
    std::string out;
    std::string file;
};

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--json") {
            o.json = true;
        } else if (a == "--fix") {
            o.fix = true;
        } else if (a == "--frame" || a == "--render") {
            const std::string* v = value(a.c_str());
            if (!v) return false;
            auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), o.frame);
            if (ec != std::errc{} || end != v->data() + v->size() || o.frame < 0) {
                error = a + " needs a frame number, not '" + *v + "'";
                return false;
            }
            (a == "--frame" ? o.wantFrame : o.wantRender) = true;
        } else if (a == "--out") {
            const std::string* v = value("--out");
            if (!v) return false;
            o.out = *v;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return false;
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            error = "only one file at a time";
            return false;
        }
    }
    if (o.file.empty()) error = "no file given";
    else if (o.wantFrame && o.wantRender) error = "--frame and --render exclude each other";
    else if ((o.wantFrame || o.wantRender) != !o.out.empty()) error = "--out goes with --frame or --render";
    else if (o.wantRender && !kCanRender) error = RenderFramesToBmp({}, {}, {}, 0, 0, {});
    return error.empty();
}

void PrintJson(std::ostream& out, const GifScreen& s, int32_t tableSize, const std::vector<GifFrame>& frames) {
    out << "{\"screen\":{\"Width\":" << s.Width << ",\"Height\":" << s.Height << ",\"Flags\":" << int{s.Flags}
        << ",\"BackIndex\":" << int{s.BackIndex} << ",\"Aspect\":" << int{s.Aspect}
        << "},\"globalTableSize\":" << tableSize << ",\"frames\":[";
    for (size_t i = 0; i < frames.size(); ++i) {
        const GifFrame& f = frames[i];
        out << (i ? "," : "") << "{\"StartPos\":" << f.StartPos << ",\"Size\":" << f.Size
            << ",\"Delay\":" << f.Delay << ",\"Flags\":" << int{f.Flags} << ",\"TransColor\":" << f.TransColor
            << ",\"TransIndex\":" << f.TransIndex << ",\"Width\":" << f.Width << ",\"Height\":" << f.Height
            << ",\"Left\":" << f.Left << ",\"Top\":" << f.Top << "}";
    }
    out << "]}\n";
}

void PrintText(std::ostream& out, const std::string& file, const GifScreen& s, int32_t tableSize,
               const std::vector<GifFrame>& frames) {
    out << "file:   " << file << "\n"
        << "screen: " << s.Width << " x " << s.Height << ", flags 0x" << std::hex << std::setw(2)
        << std::setfill('0') << int{s.Flags} << std::dec << std::setfill(' ') << ", background index "
        << int{s.BackIndex} << ", aspect " << int{s.Aspect} << "\n"
        << "global colour table: " << tableSize << " bytes\n"
        << "frames: " << frames.size() << "\n";
    if (frames.empty()) return;
    out << "  frame  StartPos      Size  Delay  Flags  TransColor  TransIndex  Width  Height   Left    Top\n";
    for (size_t i = 0; i < frames.size(); ++i) {
        const GifFrame& f = frames[i];
        out << std::setw(7) << i << std::setw(10) << f.StartPos << std::setw(10) << f.Size << std::setw(7)
            << f.Delay << "   0x" << std::hex << std::setw(2) << std::setfill('0') << int{f.Flags} << std::dec
            << std::setfill(' ') << std::setw(12) << f.TransColor << std::setw(12) << f.TransIndex
            << std::setw(7) << f.Width << std::setw(8) << f.Height << std::setw(7) << f.Left << std::setw(7)
            << f.Top << "\n";
    }
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str())), std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace

int RunGifInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    std::string error;
    if (!ParseOptions(args, o, error)) {
        err << "gifinfo: " << error << "\n" << kUsage;
        return 1;
    }

    std::vector<uint8_t> data;
    const int32_t read = LoadGifFile(o.file, data);
    if (read == kGifFileMissing) {
        err << "gifinfo: " << o.file << ": no such file (or not readable)\n";
        return 2;
    }
    if (read == kGifFileNotGif) {
        err << "gifinfo: " << o.file << ": not a GIF file\n";
        return 2;
    }
    if (read == kGifFileReadFailed) {
        err << "gifinfo: " << o.file << ": could not be read whole\n";
        return 2;
    }

    std::vector<GifFrame> frames;
    GifScreen screen;
    int32_t tableSize = 0;
    IndexGifFrames(data, frames, screen, tableSize, o.fix || o.wantRender);

    if (o.wantFrame || o.wantRender) {
        if (o.frame >= static_cast<long>(frames.size())) {
            err << "gifinfo: " << o.file << ": has " << frames.size() << " frames, no frame " << o.frame << "\n";
            return 2;
        }
    }
    if (o.wantFrame) {
        std::vector<uint8_t> single;
        BuildFrameGif(data, frames[static_cast<size_t>(o.frame)], tableSize, single);
        if (!WriteFile(o.out, single)) {
            err << "gifinfo: " << o.out << ": cannot be written\n";
            return 2;
        }
    }
    if (o.wantRender) {
        const std::string error =
            RenderFramesToBmp(data, frames, screen, tableSize, static_cast<int32_t>(o.frame), o.out);
        if (!error.empty()) {
            err << "gifinfo: " << o.out << ": " << error << "\n";
            return 2;
        }
    }
    if (o.json) PrintJson(out, screen, tableSize, frames);
    else PrintText(out, o.file, screen, tableSize, frames);
    return 0;
}

}  // namespace kinetile
