// The least a Windows program can do to sit idle with a clock: one window
// the size of the welcome window's client area, a focused text box, and a
// static control that a 1000 ms timer writes the time into.
#include <windows.h>

namespace {

HWND edit = nullptr, clock = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER: {
            wchar_t text[64];
            if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 64))
                SetWindowTextW(clock, text);
            return 0;
        }
        case WM_SETFOCUS:
            SetFocus(edit);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW c{};
    c.lpfnWndProc = windowProc;
    c.hInstance = instance;
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    c.lpszClassName = L"floor";
    RegisterClassW(&c);
    RECT r{0, 0, 523, 321};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window =
        CreateWindowW(L"floor", L"floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    edit = CreateWindowW(L"EDIT", L"text", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 288, 8,
                         225, 18, window, nullptr, instance, nullptr);
    clock = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, 400, 264, 241, 17, window, nullptr,
                          instance, nullptr);
    SetTimer(window, 1, 1000, nullptr);
    ShowWindow(window, show);
    SetFocus(edit);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
