#pragma once
// Has the system's picture loader decode one complete image file held in
// memory (for the control: a single-image GIF made by BuildFrameGif).
#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <span>

#include "ComPtr.h"

namespace kinetile {

// Title of the control's message boxes (the project's name).
extern const wchar_t* const kControlMessageTitle;

// The decoded picture, or none when the bytes cannot be decoded or a system
// call fails. An empty input is reported in a message box ("9 - 下标越界").
ComPtr<IPicture> PictureFromBytes(std::span<const uint8_t> bytes);

}  // namespace kinetile
