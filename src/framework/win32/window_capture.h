// What a window shows on screen, as an image, and the image as a file.
#pragma once

#include <string>

#include <windows.h>

#include "framework/automation.h"

namespace ws::win32 {

// The client area, or the whole window with its frame and title bar, after
// all pending painting is done; drawn again first unless redraw is false.
Image captureWindow(HWND window, bool clientOnly, bool redraw = true);

// A 24-bit Windows bitmap file.
bool writeBitmapFile(const Image& image, const std::wstring& path);

}  // namespace ws::win32
