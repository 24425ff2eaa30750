#include <iostream>
#include <string>
#include <vector>

#include "GifInfo.h"

#ifdef _WIN32
#include <windows.h>

#include "TextConvert.h"

// Wide arguments, so that any file name reaches the tool intact.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(kinetile::WideToUtf8(argv[i]));
    SetConsoleOutputCP(CP_UTF8);
    return kinetile::RunGifInfo(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return kinetile::RunGifInfo(args, std::cout, std::cerr);
}
#endif
