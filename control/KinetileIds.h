#pragma once
// Identity of the control beyond what the type library defines.
#include <guiddef.h>
#include <windows.h>

namespace kinetile {

// The property page "GIF文件" and its interface.
// {E6B226BD-BEBB-471C-89D9-69DED8013E36}
constexpr CLSID CLSID_GifFilePage = {0xE6B226BD, 0xBEBB, 0x471C, {0x89, 0xD9, 0x69, 0xDE, 0xD8, 0x01, 0x3E, 0x36}};

constexpr const wchar_t* kProgId = L"KinetileLib.Kinetile";
// Recompose on resize, cannot link inside, inside-out, activate when visible,
// set client site first.
constexpr DWORD kKinetileMiscStatus = 0x20191;
constexpr int kToolboxBitmapId = 30000;

}  // namespace kinetile
