#include "framework/win32/window_capture.h"

#include <cstdio>
#include <vector>

namespace ws::win32 {

Image captureWindow(HWND window, bool clientOnly, bool redraw) {
    const UINT frame = clientOnly ? 0 : RDW_FRAME;
    RedrawWindow(window, nullptr, nullptr,
                 (redraw ? RDW_INVALIDATE | frame : 0) | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r;
    if (clientOnly) {
        GetClientRect(window, &r);
    } else {
        GetWindowRect(window, &r);
        OffsetRect(&r, -r.left, -r.top);
    }
    Image image{r.right, r.bottom, {}};
    if (image.width <= 0 || image.height <= 0) return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = clientOnly ? GetDC(window) : GetWindowDC(window);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, image.width, image.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const unsigned char*>(bits);
    image.pixels.resize(static_cast<std::size_t>(image.width * image.height));
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = {bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]};
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(window, screen);
    return image;
}

bool writeBitmapFile(const Image& image, const std::wstring& path) {
    const int stride = (image.width * 3 + 3) & ~3;
    const DWORD pixelBytes = static_cast<DWORD>(stride * image.height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + pixelBytes;
    info.biSize = sizeof info;
    info.biWidth = image.width;
    info.biHeight = image.height;  // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = pixelBytes;
    std::vector<unsigned char> rows(pixelBytes, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, y);
            unsigned char* p =
                &rows[static_cast<std::size_t>((image.height - 1 - y) * stride + 3 * x)];
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    FILE* out = nullptr;
    if (_wfopen_s(&out, path.c_str(), L"wb") != 0 || !out) return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace ws::win32
