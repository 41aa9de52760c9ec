// The welcome window written straight in Win32, as a hand-made program
// would show it: the same greeting box, then the same window with the same
// captions in the same faces and sizes, the same picture, icon and menus,
// and the clock. Against it the program's memory shows what its forms
// layer costs, apart from what the window shows.
#include <windows.h>

namespace {

constexpr COLORREF back = RGB(0xFF, 0xFF, 0xC0), red = RGB(0xFF, 0, 0);

struct Label {
    const wchar_t* text;
    RECT r;  // left, top, width, height
    int px, weight;
    const wchar_t* face;
    COLORREF color, fill;
    DWORD style;
};
constexpr Label labels[] = {
    // Broken where the program's own line breaking breaks it.
    {L"歡迎使用zo學\r\n苑專用電腦\r\n開放機台",
     {288, 32, 225, 113},
     32,
     400,
     L"新細明體",
     red,
     back,
     0},
    {L"顯示目前時間", {264, 264, 241, 25}, 19, 400, L"標楷體", 0, back, 0},
    {L"", {400, 264, 241, 17}, 12, 400, L"新細明體", 0, back, 0},
    {L"2009 (第 4 代)  kv!",
     {272, 184, 241, 65},
     24,
     700,
     L"新細明體",
     0,
     RGB(255, 255, 255),
     WS_BORDER},
    {L"﹝正式版﹞", {280, 216, 193, 33}, 21, 700, L"新細明體", red, RGB(255, 255, 255), 0},
    {L"本程式目前是開源軟體。", {24, 200, 217, 81}, 12, 400, L"新細明體", 0, back, 0},
};
constexpr int clockLabel = 2;

HWND controls[6];
HBRUSH brushes[6];
HWND edit = nullptr;
HBITMAP picture = nullptr;

HFONT font(int px, int weight, const wchar_t* face) {
    return CreateFontW(-px, 0, 0, 0, weight, 0, 0, 0, CHINESEBIG5_CHARSET, 0, 0, 0, 0, face);
}

HWND child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, RECT r, HFONT f) {
    HWND w =
        CreateWindowW(cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, r.left, r.top,
                      r.right, r.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    return w;
}

void build(HWND window) {
    HFONT small = font(12, 400, L"新細明體");
    HWND frame = child(window, L"BUTTON", L"電腦機台說明", BS_GROUPBOX, {8, 176, 249, 137}, small);
    child(window, L"BUTTON", L"看說明。", WS_TABSTOP, {48, 224, 137, 33},
          font(24, 700, L"新細明體"));
    edit = child(window, L"EDIT", L"本台電腦乃為開放式電腦，歡迎使用！\u3000",
                 WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, {288, 8, 225, 18}, small);
    for (int i = 0; i < 6; ++i) {
        const Label& l = labels[i];
        controls[i] = child(window, L"STATIC", l.text, l.style, l.r, font(l.px, l.weight, l.face));
        brushes[i] = CreateSolidBrush(l.fill);
    }
    // The frame lies under what it holds, the clock over its caption's
    // label, the edition's second line over its box.
    constexpr UINT order = SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, order);
    SetWindowPos(controls[clockLabel], HWND_TOP, 0, 0, 0, 0, order);
    SetWindowPos(controls[4], HWND_TOP, 0, 0, 0, 0, order);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            build(window);
            SetTimer(window, 1, 1000, nullptr);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, picture);
            BITMAP b;
            GetObjectW(picture, sizeof b, &b);
            BitBlt(dc, 0, 0, b.bmWidth, b.bmHeight, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            for (int i = 0; i < 6; ++i)
                if (reinterpret_cast<HWND>(lParam) == controls[i]) {
                    SetTextColor(reinterpret_cast<HDC>(wParam), labels[i].color);
                    SetBkColor(reinterpret_cast<HDC>(wParam), labels[i].fill);
                    return reinterpret_cast<LRESULT>(brushes[i]);
                }
            SetBkColor(reinterpret_cast<HDC>(wParam), back);
            return reinterpret_cast<LRESULT>(brushes[0]);
        case WM_TIMER: {
            wchar_t text[64];
            if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 64))
                SetWindowTextW(controls[clockLabel], text);
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == 1) DestroyWindow(window);
            return 0;
        case WM_SETFOCUS:
            SetFocus(edit);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HMENU menus() {
    HMENU bar = CreateMenu(), functions = CreatePopupMenu(), others = CreatePopupMenu();
    AppendMenuW(functions, MF_STRING, 1, L"關閉程式");
    AppendMenuW(functions, MF_STRING, 2, L"開啟光碟機");
    AppendMenuW(functions, MF_STRING, 3, L"關閉光碟機");
    AppendMenuW(others, MF_STRING, 4, L"星河板");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(functions), L"功能");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(others), L"到其它程式");
    return bar;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    MessageBoxW(nullptr, L"歡迎使用本系統!", L"確認訊息",
                MB_OK | MB_ICONINFORMATION | MB_APPLMODAL);
    picture = static_cast<HBITMAP>(LoadImageW(instance, L"picture", IMAGE_BITMAP, 0, 0, 0));
    WNDCLASSW c{};
    c.lpfnWndProc = windowProc;
    c.hInstance = instance;
    c.hIcon = LoadIconW(instance, L"icon");
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    c.hbrBackground = CreateSolidBrush(back);
    c.lpszClassName = L"welcome";
    RegisterClassW(&c);
    constexpr DWORD style = WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX;
    RECT r{0, 0, 523, 321};
    AdjustWindowRect(&r, style, TRUE);
    HWND window =
        CreateWindowW(L"welcome", L" 晨光視窗", style, CW_USEDEFAULT, CW_USEDEFAULT,
                      r.right - r.left, r.bottom - r.top, nullptr, menus(), instance, nullptr);
    ShowWindow(window, show);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
