// From the descriptions' colours, fonts and twips to GDI's, at the density
// of the window they are shown in.
#pragma once

#include <windows.h>

#include "framework/window_description.h"

namespace ws::win32 {

// System colours come from the system's colour table, by their index.
COLORREF toColorRef(ColorValue color);

// Controls that name no font: the station's usual Traditional Chinese face.
inline constexpr FontDescription defaultFont{"新細明體", 9, 400, 136};

// The font at the given density; null takes the default font.
LOGFONTW toLogFont(const FontDescription* font, int dpi);

// The window's own density: per monitor where the system knows it.
int dpiOf(HWND window);

// The outer size of a window whose client area is width x height pixels.
SIZE frameSizeFor(int width, int height, DWORD style, DWORD exStyle, bool menu, int dpi);

int systemMetric(int index, int dpi);

}  // namespace ws::win32
