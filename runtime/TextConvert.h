#pragma once
// Conversions between the project's UTF-8 strings, the wide strings of the W
// APIs and the ANSI code page where stored bytes demand it.
#include <string>
#include <string_view>

namespace kinetile {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace kinetile
