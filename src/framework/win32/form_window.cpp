#include "framework/win32/form_window.h"

#include <algorithm>
#include <cwchar>

#include "framework/win32/display.h"
#include "framework/win32/line_breaking.h"
#include "framework/win32/text.h"
#include "framework/win32/win32_platform.h"

namespace ws::win32 {

namespace {

DWORD styleOf(const FormDescription& form) {
    DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    if (form.MaxButton) style |= WS_MAXIMIZEBOX;
    return style;
}

constexpr DWORD childStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

// A length given in pixels at 96 dpi, at the window's density.
int scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, USER_DEFAULT_SCREEN_DPI); }

void fillRect(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// Frames: a group box whose children are placed from its own top-left
// corner; the form paints it and handles what its children report.
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(frame, GWLP_USERDATA));
    if (!form) return DefWindowProcW(frame, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT paints everything
        case WM_PAINT:
            form->paintWindow(frame);
            return 0;
        case WM_PRINTCLIENT:
            form->printClient(reinterpret_cast<HDC>(wParam), frame);
            return 0;
        case WM_COMMAND:
            form->command(wParam, lParam);
            return 0;
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(form->controlBackground());
        default:
            return DefWindowProcW(frame, message, wParam, lParam);
    }
}

}  // namespace

void FormWindow::registerClasses(HINSTANCE instance) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = windowProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.lpszClassName = formClassName;
    RegisterClassExW(&form);  // fails harmlessly when already registered

    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = frameProc;
    frame.hInstance = instance;
    frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frame.lpszClassName = frameClassName;
    RegisterClassExW(&frame);
}

FormWindow::FormWindow(Win32Platform& platform, const FormDescription& form)
    : platform_(platform), form_(form) {
    back_ = CreateSolidBrush(toColorRef(form.BackColor));
    forEachControl(form.Controls, [&](const ControlDescription& d, const ControlDescription* in) {
        Control c;
        c.description = &d;
        c.container = in;
        c.caption = widen(d.Caption);
        c.interval = d.Interval;
        controls_.push_back(std::move(c));
    });
}

FormWindow::~FormWindow() {
    releasePaintBuffers();
    destroyFonts();
    DeleteObject(back_);
    if (picture_) DeleteObject(picture_);
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

HWND FormWindow::create(Win32Platform& platform, const FormDescription& form) {
    auto* self = new FormWindow(platform, form);
    HMENU menu = self->buildMenu();
    HWND window = CreateWindowExW(0, formClassName, widen(form.Caption).c_str(), styleOf(form),
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, menu, platform.instance(), self);
    if (!window) platform.fail("無法建立視窗 " + std::string(form.Name) + "。");
    self->dpi_ = dpiOf(window);
    // A timer given an interval at design time runs from the moment the
    // window is loaded.
    for (std::size_t i = 0; i < self->controls_.size(); ++i)
        if (self->controls_[i].description->Kind == ControlKind::Timer &&
            self->controls_[i].interval > 0)
            SetTimer(window, static_cast<UINT_PTR>(idOf(i)), self->controls_[i].interval, nullptr);
    return window;
}

void FormWindow::complete() {
    if (completed_) return;
    completed_ = true;
    KillTimer(window_, completionTimerId);
    loadImages();
    createFonts();
    buildControls();
    placeControls();
    // As in dialogs, the focus rectangle shows once the keyboard is used.
    SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    resizeClient(px(form_.ClientWidth), px(form_.ClientHeight));
}

void FormWindow::completeSoon() {
    if (completed_) return;
    completionArmed_ = false;
    SetTimer(window_, completionTimerId, USER_TIMER_MINIMUM, nullptr);
}

FormWindow* FormWindow::from(HWND window) {
    wchar_t name[64];
    if (!window || !GetClassNameW(window, name, 64) || std::wcscmp(name, formClassName) != 0)
        return nullptr;
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK FormWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT paints everything
        case WM_PAINT:
            paintWindow(window_);
            return 0;
        case WM_PRINTCLIENT:
            printClient(reinterpret_cast<HDC>(wParam), window_);
            return 0;
        case WM_ACTIVATE:
            onActivate(wParam);
            return 0;  // not DefWindowProc, which would take the focus from the controls
        case WM_SETFOCUS:
            onSetFocus();
            return 0;
        case WM_COMMAND:
            command(wParam, lParam);
            return 0;
        case WM_TIMER:
            onTimer(wParam);
            return 0;
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(back_);
        case WM_CLOSE:
            onClose();
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_NCDESTROY: {
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            Win32Platform& platform = platform_;
            const FormDescription& form = form_;
            delete this;
            platform.windowDestroyed(form);
            return 0;
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void FormWindow::loadImages() {
    const HINSTANCE instance = platform_.instance();
    if (form_.Picture.present()) {
        picture_ = static_cast<HBITMAP>(LoadImageW(instance, widen(form_.Picture.name).c_str(),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!picture_) platform_.fail("無法載入圖片「" + std::string(form_.Picture.name) + "」。");
    }
    if (form_.Icon.present()) {
        const std::wstring name = widen(form_.Icon.name);
        // The large icon at its own size, for the task switcher to scale; the
        // small one at the title bar's.
        bigIcon_ = static_cast<HICON>(LoadImageW(instance, name.c_str(), IMAGE_ICON, 0, 0, 0));
        const int small = systemMetric(SM_CXSMICON, dpi_);
        smallIcon_ =
            static_cast<HICON>(LoadImageW(instance, name.c_str(), IMAGE_ICON, small, small, 0));
        if (!bigIcon_ || !smallIcon_)
            platform_.fail("無法載入圖示「" + std::string(form_.Icon.name) + "」。");
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    }
}

HMENU FormWindow::buildMenu() {
    if (form_.Menus.empty()) return nullptr;
    forEachMenuItem(form_.Menus, [&](const MenuItemDescription& m) { menuItems_.push_back(&m); });
    const auto append = [this](auto& self, HMENU menu,
                               std::span<const MenuItemDescription> items) -> void {
        for (const MenuItemDescription& item : items) {
            const std::wstring caption = widen(item.Caption);
            if (item.Children.empty()) {
                AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(menuIdOf(item)),
                            caption.c_str());
            } else {
                HMENU popup = CreatePopupMenu();
                self(self, popup, item.Children);
                AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                            caption.c_str());
            }
        }
    };
    HMENU bar = CreateMenu();
    append(append, bar, form_.Menus);
    return bar;
}

int FormWindow::menuIdOf(const MenuItemDescription& item) const {
    const auto it = std::find(menuItems_.begin(), menuItems_.end(), &item);
    return firstMenuId + static_cast<int>(it - menuItems_.begin());
}

void FormWindow::buildControls() {
    const HINSTANCE instance = platform_.instance();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        Control& c = controls_[i];
        const ControlDescription& d = *c.description;
        HWND parent = window_;
        if (c.container)
            for (const Control& other : controls_)
                if (other.description == c.container) parent = other.window;
        const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(i)));
        switch (d.Kind) {
            case ControlKind::CommandButton:
                c.window = CreateWindowExW(
                    0, L"BUTTON", c.caption.c_str(),
                    childStyle | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER,
                    0, 0, 0, 0, parent, id, instance, nullptr);
                break;
            case ControlKind::TextBox:
                c.window = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", c.caption.c_str(),
                                           childStyle | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0, 0,
                                           0, 0, parent, id, instance, nullptr);
                break;
            case ControlKind::Frame:
                c.window = CreateWindowExW(0, frameClassName, c.caption.c_str(),
                                           childStyle | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, id,
                                           instance, this);
                break;
            case ControlKind::Label:
            case ControlKind::Timer:
            case ControlKind::Line:
                break;
        }
        if (!c.window) {
            if (d.takesFocus() || d.Kind == ControlKind::Frame)
                platform_.fail("無法建立 " + std::string(form_.Name) + " 的 " +
                               std::string(d.Name) + "。");
            continue;
        }
        SendMessageW(c.window, WM_SETFONT, reinterpret_cast<WPARAM>(font(d.Font)), FALSE);
        // Each new control goes beneath the ones before it: the earlier
        // listed is drawn above.
        SetWindowPos(c.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void FormWindow::placeControls() {
    for (const Control& c : controls_) {
        if (!c.window) continue;
        const RECT r = rectOf(*c.description);
        SetWindowPos(c.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::createFonts() {
    destroyFonts();
    fonts_[nullptr] = nullptr;
    for (const Control& c : controls_) fonts_[c.description->Font] = nullptr;
    for (auto& [description, handle] : fonts_) {
        const LOGFONTW lf = toLogFont(description, dpi_);
        handle = CreateFontIndirectW(&lf);
    }
}

void FormWindow::destroyFonts() {
    // The buffer keeps the last font drawn with selected.
    if (buffer_) SelectObject(buffer_, GetStockObject(SYSTEM_FONT));
    for (auto& [description, handle] : fonts_)
        if (handle) DeleteObject(handle);
    fonts_.clear();
}

HFONT FormWindow::font(const FontDescription* f) const {
    const auto it = fonts_.find(f);
    return it == fonts_.end() ? nullptr : it->second;
}

RECT FormWindow::rectOf(const ControlDescription& d) const {
    const int left = px(d.Left), top = px(d.Top);
    return {left, top, left + px(d.Width), top + px(d.Height)};
}

void FormWindow::resizeClient(int width, int height) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
    const SIZE outer = frameSizeFor(width, height, style, exStyle, GetMenu(window_), dpi_);
    constexpr UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy, flags);
    // A menu bar that wraps onto a second line takes height the estimate
    // did not allow for.
    RECT client;
    GetClientRect(window_, &client);
    if (client.right != width || client.bottom != height)
        SetWindowPos(window_, nullptr, 0, 0, outer.cx + width - client.right,
                     outer.cy + height - client.bottom, flags);
}

void FormWindow::paintWindow(HWND container) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(container, &ps);
    paintThroughBuffer(dc, container, ps.rcPaint);
    EndPaint(container, &ps);
}

void FormWindow::paintThroughBuffer(HDC dc, HWND container, const RECT& r) {
    // Only the part that needs it is painted: the clock's label each second
    // must not cost a repaint of the whole window.
    const int width = std::max<LONG>(r.right - r.left, 1),
              height = std::max<LONG>(r.bottom - r.top, 1);
    HDC buffer = paintBuffer(dc, width, height);
    if (!buffer) return printClient(dc, container, &r);  // short of memory: straight on
    SetViewportOrgEx(buffer, -r.left, -r.top, nullptr);
    SelectClipRgn(buffer, nullptr);
    IntersectClipRect(buffer, r.left, r.top, r.right, r.bottom);
    paintContainer(buffer, container, &r);
    SetViewportOrgEx(buffer, 0, 0, nullptr);
    BitBlt(dc, r.left, r.top, width, height, buffer, 0, 0, SRCCOPY);
    // The paints that recur are a line of text, the clock's: a buffer the
    // size of the whole window is not worth its memory between paints.
    if (width * height > keptBufferPixels) releaseBufferBitmap();
}

void FormWindow::printClient(HDC dc, HWND container, const RECT* dirty) {
    const int saved = SaveDC(dc);
    paintContainer(dc, container, dirty);
    RestoreDC(dc, saved);
}

HDC FormWindow::paintBuffer(HDC screen, int width, int height) {
    if (buffer_ && width <= bufferSize_.cx && height <= bufferSize_.cy) return buffer_;
    if (!buffer_) {
        buffer_ = CreateCompatibleDC(screen);
        if (!buffer_) return nullptr;
        bufferInitial_ = GetCurrentObject(buffer_, OBJ_BITMAP);
    }
    // A DIB section: GDI draws that in the program's own memory, where a
    // bitmap compatible with the screen could send every fill and every line
    // of text to the display on its own.
    const SIZE size{std::max(width, int(bufferSize_.cx)), std::max(height, int(bufferSize_.cy))};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    SelectObject(buffer_, bitmap);
    if (bufferBitmap_) DeleteObject(bufferBitmap_);
    bufferBitmap_ = bitmap;
    bufferSize_ = size;
    return buffer_;
}

void FormWindow::releaseBufferBitmap() {
    if (!bufferBitmap_) return;
    SelectObject(buffer_, bufferInitial_);
    DeleteObject(bufferBitmap_);
    bufferBitmap_ = nullptr;
    bufferSize_ = {0, 0};
}

void FormWindow::releasePaintBuffers() {
    releaseBufferBitmap();
    if (buffer_) {
        SelectObject(buffer_, GetStockObject(SYSTEM_FONT));
        DeleteDC(buffer_);
    }
    if (pictureSource_) {
        SelectObject(pictureSource_, pictureInitial_);
        DeleteDC(pictureSource_);
    }
    buffer_ = pictureSource_ = nullptr;
}

void FormWindow::paintContainer(HDC dc, HWND container, const RECT* dirty) {
    const Control* frame = container == window_ ? nullptr : ofWindow(container);
    RECT client;
    GetClientRect(container, &client);
    FillRect(dc, &client, back_);
    if (picture_) {
        // The picture lies at the window's client origin, under the frames too.
        POINT origin{0, 0};
        MapWindowPoints(container, window_, &origin, 1);
        BITMAP size{};
        GetObjectW(picture_, sizeof size, &size);
        if (!pictureSource_ && (pictureSource_ = CreateCompatibleDC(dc)))
            pictureInitial_ = SelectObject(pictureSource_, picture_);
        if (pictureSource_)
            BitBlt(dc, -origin.x, -origin.y, size.bmWidth, size.bmHeight, pictureSource_, 0, 0,
                   SRCCOPY);
    }
    if (frame) drawGroupBox(dc, container);
    const std::span<const ControlDescription> inside =
        frame ? frame->description->Children : form_.Controls;
    for (auto it = inside.rbegin(); it != inside.rend(); ++it) {
        if (it->Kind == ControlKind::Line) drawLine(dc, *it);
        if (it->Kind != ControlKind::Label) continue;
        const RECT place = rectOf(*it);
        RECT overlap;
        if (dirty && !IntersectRect(&overlap, &place, dirty)) continue;
        for (const Control& c : controls_) {
            if (c.description != &*it) continue;
            // A transparent label draws only its caption: where the caption
            // lies outside the dirty part, it has nothing to paint there.
            if (dirty && c.drawn && !IntersectRect(&overlap, &*c.drawn, dirty)) continue;
            drawLabel(dc, c);
        }
    }
}

void FormWindow::drawGroupBox(HDC dc, HWND frame) const {
    const Control* c = ofWindow(frame);
    RECT r;
    GetClientRect(frame, &r);
    const int saved = SaveDC(dc);
    SelectObject(dc, font(c->description->Font));
    const std::wstring caption = windowText(frame);
    SIZE text{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    text.cy = metrics.tmHeight;
    RECT box = r;
    box.top += text.cy / 2;
    const int left = r.left + scaled(8, dpi_), pad = scaled(2, dpi_);
    if (!caption.empty())
        ExcludeClipRect(dc, left, r.top, left + text.cx + 2 * pad, r.top + text.cy);
    DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
    RestoreDC(dc, saved);

    const int again = SaveDC(dc);
    SelectObject(dc, font(c->description->Font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    ExtTextOutW(dc, left + pad, r.top, ETO_CLIPPED, &r, caption.c_str(),
                static_cast<UINT>(caption.size()), nullptr);
    RestoreDC(dc, again);
}

void FormWindow::drawLabel(HDC dc, const Control& label) const {
    const ControlDescription& d = *label.description;
    const RECT r = rectOf(d);
    const COLORREF fore = toColorRef(d.ForeColor.value_or(ColorValue{0x80000008}));
    const bool filled =
        d.BackStyle == LabelBackStyle::Opaque || d.BorderStyle == LabelBorderStyle::Single;
    RECT drawn = filled ? r : RECT{r.left, r.top, r.left, r.top};
    // A label that names no background takes its window's.
    if (d.BackStyle == LabelBackStyle::Opaque)
        fillRect(dc, r, toColorRef(d.BackColor.value_or(form_.BackColor)));
    RECT text = r;
    if (d.BorderStyle == LabelBorderStyle::Single) {
        HBRUSH border = CreateSolidBrush(fore);
        FrameRect(dc, &r, border);
        DeleteObject(border);
        InflateRect(&text, -scaled(2, dpi_), -scaled(1, dpi_));
    }
    // Selecting a font costs the display driver a lookup of its settings
    // each time: labels sharing a font share one selection.
    if (const HFONT f = font(d.Font); GetCurrentObject(dc, OBJ_FONT) != f) SelectObject(dc, f);
    SetTextColor(dc, fore);
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const std::wstring& s = label.caption;
    const auto width = [&](std::size_t from, std::size_t to) {
        SIZE size{};
        GetTextExtentPoint32W(dc, s.data() + from, static_cast<int>(to - from), &size);
        return static_cast<int>(size.cx);
    };
    int y = text.top;
    for (const LineSpan line : breakLines(s, text.right - text.left, width)) {
        if (y >= r.bottom) break;
        ExtTextOutW(dc, text.left, y, ETO_CLIPPED, &r, s.data() + line.begin,
                    static_cast<UINT>(line.end - line.begin), nullptr);
        const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        RECT ink{text.left, y, text.left + width(line.begin, line.end) + metrics.tmOverhang,
                 y + lineHeight};
        // Glyphs may reach a little beyond their advance.
        InflateRect(&ink, scaled(3, dpi_), 0);
        if (IntersectRect(&ink, &ink, &r)) UnionRect(&drawn, &drawn, &ink);
        y += lineHeight;
    }
    label.drawn = drawn;
}

void FormWindow::drawLine(HDC dc, const ControlDescription& line) const {
    const COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
    const int saved = SaveDC(dc);
    SelectObject(dc, CreatePen(PS_SOLID, 1, colour));
    const int x1 = px(line.X1), y1 = px(line.Y1), x2 = px(line.X2), y2 = px(line.Y2);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SetPixelV(dc, x2, y2, colour);  // LineTo leaves out the end point
    DeleteObject(SelectObject(dc, GetStockObject(BLACK_PEN)));
    RestoreDC(dc, saved);
}

void FormWindow::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focused = GetFocus();
        if (focused && IsChild(window_, focused)) focus_ = focused;
        return;
    }
    if (!HIWORD(wParam)) {  // not minimised
        if (focus_ && IsChild(window_, focus_))
            SetFocus(focus_);
        else
            SetFocus(window_);
    }
    platform_.windowActivated(form_);
}

void FormWindow::onSetFocus() {
    if (focus_ && IsChild(window_, focus_)) SetFocus(focus_);
}

void FormWindow::onTimer(UINT_PTR id) {
    if (id == completionTimerId) {
        // A timer message comes only once no other message waits: the box
        // has been made and painted. Waiting once more lets the thread block,
        // which under Wine is when the request to map the box leaves for the
        // X server; then the window is completed.
        if (!completionArmed_) {
            completionArmed_ = true;
            SetTimer(window_, completionTimerId, USER_TIMER_MINIMUM, nullptr);
            return;
        }
        complete();
        return;
    }
    const std::size_t index = id - firstControlId;
    if (index < controls_.size() && controls_[index].description->Kind == ControlKind::Timer)
        platform_.dispatch(form_, controls_[index].description->Name, Event::Timer);
}

void FormWindow::command(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (lParam == 0) {  // a menu command
        const std::size_t index = static_cast<std::size_t>(id - firstMenuId);
        if (id >= firstMenuId && index < menuItems_.size())
            platform_.dispatch(form_, menuItems_[index]->Name, Event::Click);
        return;
    }
    const std::size_t index = static_cast<std::size_t>(id - firstControlId);
    if (HIWORD(wParam) == BN_CLICKED && id >= firstControlId && index < controls_.size() &&
        controls_[index].description->Kind == ControlKind::CommandButton)
        platform_.dispatch(form_, controls_[index].description->Name, Event::Click);
}

void FormWindow::onClose() {
    platform_.windowClosing(form_);
    DestroyWindow(window_);  // deletes this
}

void FormWindow::onDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    createFonts();
    for (const Control& c : controls_) c.drawn.reset();
    for (const Control& c : controls_)
        if (c.window)
            SendMessageW(c.window, WM_SETFONT, reinterpret_cast<WPARAM>(font(c.description->Font)),
                         FALSE);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    placeControls();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void FormWindow::focusFirstControl() {
    const Control* first = nullptr;
    for (const Control& c : controls_)
        if (c.window && c.description->takesFocus() &&
            (!first || c.description->TabIndex < first->description->TabIndex))
            first = &c;
    focus_ = first ? first->window : nullptr;
    if (focus_ && GetActiveWindow() == window_) SetFocus(focus_);
}

void FormWindow::moveFocus(bool forward) {
    std::vector<const Control*> order;
    for (const Control& c : controls_)
        if (c.window && c.description->takesFocus() && IsWindowVisible(c.window) &&
            IsWindowEnabled(c.window))
            order.push_back(&c);
    if (order.empty()) return;
    std::sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return a->description->TabIndex < b->description->TabIndex;
    });
    const HWND focused = GetFocus();
    const auto at = std::find_if(order.begin(), order.end(),
                                 [&](const Control* c) { return c->window == focused; });
    const std::size_t n = order.size();
    std::size_t next = forward ? 0 : n - 1;
    if (at != order.end()) {
        const auto i = static_cast<std::size_t>(at - order.begin());
        next = forward ? (i + 1) % n : (i + n - 1) % n;
    }
    const Control& target = *order[next];
    focus_ = target.window;
    SetFocus(target.window);
    // As in dialogs: a text box reached by Tab has its text selected.
    if (target.description->Kind == ControlKind::TextBox)
        SendMessageW(target.window, EM_SETSEL, 0, -1);
}

std::string FormWindow::focusedControl() const {
    HWND focused = GetActiveWindow() == window_ ? GetFocus() : focus_;
    const Control* c = focused ? ofWindow(focused) : nullptr;
    return c ? std::string(c->description->Name) : std::string();
}

bool FormWindow::setLabelCaption(Text label, std::wstring caption) {
    Control* c = find(label, ControlKind::Label);
    if (!c) return false;
    if (c->caption == caption) return true;
    c->caption = std::move(caption);
    c->drawn.reset();
    if (!completed_) return true;  // painted when the window is first shown
    HWND container = window_;
    if (c->container)
        for (const Control& other : controls_)
            if (other.description == c->container) container = other.window;
    const RECT r = rectOf(*c->description);
    if (!IsWindowVisible(container) || IsIconic(window_)) {
        InvalidateRect(container, &r, FALSE);
        return true;
    }
    // Painted at once, as a static control paints a new text: the clock
    // sets its label every second, and a trip through WM_PAINT costs an
    // update region kept and handed back by the window manager.
    if (HDC dc = GetDC(container)) {
        paintThroughBuffer(dc, container, r);
        ReleaseDC(container, dc);
    }
    return true;
}

const std::wstring* FormWindow::labelCaption(Text label) const {
    const Control* c = find(label, ControlKind::Label);
    return c ? &c->caption : nullptr;
}

bool FormWindow::setTimerInterval(Text timer, std::uint32_t ms) {
    Control* c = find(timer, ControlKind::Timer);
    if (!c) return false;
    const auto id = static_cast<UINT_PTR>(idOf(static_cast<std::size_t>(c - controls_.data())));
    if (ms == 0)
        KillTimer(window_, id);
    else if (ms != c->interval)  // the same period keeps its phase
        SetTimer(window_, id, std::min<std::uint32_t>(ms, USER_TIMER_MAXIMUM), nullptr);
    c->interval = ms;
    return true;
}

std::optional<std::uint32_t> FormWindow::timerInterval(Text timer) const {
    const Control* c = find(timer, ControlKind::Timer);
    if (!c) return std::nullopt;
    return c->interval;
}

std::optional<UINT_PTR> FormWindow::tickingTimer(Text timer) const {
    const Control* c = find(timer, ControlKind::Timer);
    if (!c || c->interval == 0) return std::nullopt;
    return static_cast<UINT_PTR>(idOf(static_cast<std::size_t>(c - controls_.data())));
}

std::optional<RECT> FormWindow::placement(Text name) const {
    for (const Control& c : controls_) {
        const ControlDescription& d = *c.description;
        if (d.Name != name || d.Kind == ControlKind::Timer) continue;
        RECT r = rectOf(d);
        if (d.Kind == ControlKind::Line)
            r = {std::min(px(d.X1), px(d.X2)), std::min(px(d.Y1), px(d.Y2)),
                 std::max(px(d.X1), px(d.X2)) + 1, std::max(px(d.Y1), px(d.Y2)) + 1};
        for (const ControlDescription* in = c.container; in;) {
            const Control* frame = nullptr;
            for (const Control& other : controls_)
                if (other.description == in) frame = &other;
            OffsetRect(&r, px(in->Left), px(in->Top));
            in = frame ? frame->container : nullptr;
        }
        return r;
    }
    return std::nullopt;
}

HWND FormWindow::controlWindow(Text name) {
    complete();
    for (const Control& c : controls_)
        if (c.description->Name == name) return c.window;
    return nullptr;
}

std::optional<UINT> FormWindow::menuCommand(Text item) const {
    for (const MenuItemDescription* m : menuItems_)
        if (m->Name == item && m->Children.empty()) return static_cast<UINT>(menuIdOf(*m));
    return std::nullopt;
}

std::wstring FormWindow::menuCaption(Text item) const {
    HMENU bar = GetMenu(window_);
    if (!bar) return {};
    wchar_t caption[256] = {};
    for (std::size_t i = 0; i < form_.Menus.size(); ++i)
        if (form_.Menus[i].Name == item) {
            GetMenuStringW(bar, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
            return caption;
        }
    if (const auto id = menuCommand(item)) GetMenuStringW(bar, *id, caption, 256, MF_BYCOMMAND);
    return caption;
}

const FormWindow::Control* FormWindow::find(Text name, ControlKind kind) const {
    for (const Control& c : controls_)
        if (c.description->Name == name && c.description->Kind == kind) return &c;
    return nullptr;
}

FormWindow::Control* FormWindow::find(Text name, ControlKind kind) {
    for (Control& c : controls_)
        if (c.description->Name == name && c.description->Kind == kind) return &c;
    return nullptr;
}

const FormWindow::Control* FormWindow::ofWindow(HWND window) const {
    for (const Control& c : controls_)
        if (c.window == window) return &c;
    return nullptr;
}

}  // namespace ws::win32
