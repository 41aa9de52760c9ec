#include "framework/win32/display.h"

#include <cmath>
#include <cwchar>
#include <string>

#include "framework/win32/system_function.h"
#include "framework/win32/text.h"

namespace ws::win32 {

COLORREF toColorRef(ColorValue color) {
    if (color.isSystem()) return GetSysColor(color.systemIndex());
    const Rgb c = color.literal();
    return RGB(c.red, c.green, c.blue);
}

LOGFONTW toLogFont(const FontDescription* font, int dpi) {
    const FontDescription& f = font ? *font : defaultFont;
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(f.points * dpi / 72.0));
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strikeout;
    lf.lfCharSet = static_cast<BYTE>(f.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = widen(f.face);
    wcsncpy_s(lf.lfFaceName, LF_FACESIZE, face.c_str(), _TRUNCATE);
    return lf;
}

int dpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    if (auto getDpi = systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow"))
        if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

SIZE frameSizeFor(int width, int height, DWORD style, DWORD exStyle, bool menu, int dpi) {
    RECT r{0, 0, width, height};
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    auto adjust = systemFunction<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&r, style, menu, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, menu, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

int systemMetric(int index, int dpi) {
    using MetricForDpiFn = int(WINAPI*)(int, UINT);
    if (auto metric = systemFunction<MetricForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi"))
        return metric(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

}  // namespace ws::win32
