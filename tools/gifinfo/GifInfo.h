#pragma once
// The gifinfo tool as a function, so that its tests need no process.
#include <ostream>
#include <string>
#include <vector>

namespace kinetile {

// `args` are the command-line arguments after the program name, UTF-8.
// Returns the exit code: 0 success, 1 bad command line, 2 unusable file.
int RunGifInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kinetile
