// Drives the Windows platform's real windows for the tests, through window
// messages: keyboard input from outside the process may not reach them.
#include <algorithm>
#include <chrono>
#include <stdexcept>

#include <windows.h>

#include "framework/automation.h"
#include "framework/win32/display.h"
#include "framework/win32/form_window.h"
#include "framework/win32/text.h"
#include "framework/win32/win32_platform.h"
#include "framework/win32/window_capture.h"

namespace ws {

namespace {

using win32::FormWindow;
using win32::narrow;
using win32::Win32Platform;

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

class Win32Automation;

// The automation whose message boxes this thread answers. Hook procedures
// carry no context of their own.
thread_local Win32Automation* answering = nullptr;

class Win32Automation final : public Automation {
public:
    explicit Win32Automation(const Program& program) : program_(program), platform_(program) {
        platform_.onProgramEnded([this] { ended_ = true; });
        previous_ = answering;
        answering = this;
        hook_ = SetWindowsHookExW(WH_CBT, watchWindows, nullptr, GetCurrentThreadId());
    }
    ~Win32Automation() override {
        if (hook_) UnhookWindowsHookEx(hook_);
        answering = previous_;
    }

    WindowServices& services() override { return platform_; }
    void startUp() override { platform_.startUp(); }
    void onMessageBox(std::function<void(const MessageBoxSeen&)> seen) override {
        seen_ = std::move(seen);
    }

    void runFor(int ms) override {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            platform_.dispatchPending();
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()), QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE);
        }
    }

    bool runUntil(const std::function<bool()>& condition, int timeoutMs) override {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            platform_.dispatchPending();
            if (condition()) return true;
            if (std::chrono::steady_clock::now() > until) return false;
            MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }

    bool programEnded() override { return ended_; }

    bool isBuilt(const FormDescription& f) override { return platform_.window(f) != nullptr; }
    bool isVisible(const FormDescription& f) override {
        const FormWindow* w = platform_.window(f);
        return w && IsWindowVisible(w->handle()) && !IsIconic(w->handle());
    }
    bool isActive(const FormDescription& f) override {
        const FormWindow* w = platform_.window(f);
        return w && GetActiveWindow() == w->handle();
    }
    int windowsOnScreen() override {
        int count = 0;
        forEachForm([&](HWND h) { count += IsWindowVisible(h) ? 1 : 0; });
        return count;
    }
    int instancesOf(const FormDescription& f) override {
        int count = 0;
        forEachForm([&](HWND h) { count += &FormWindow::from(h)->form() == &f ? 1 : 0; });
        return count;
    }
    Rect rectOf(const FormDescription& f, Text control) override {
        const auto r = window(f).placement(control);
        if (!r) throw std::logic_error(std::string(f.Name) + " has no " + std::string(control));
        return {r->left, r->top, r->right - r->left, r->bottom - r->top};
    }
    std::string focusedControl(const FormDescription& f) override {
        return window(f).focusedControl();
    }

    std::string textOf(const FormDescription& f, Text control) override {
        FormWindow& w = window(f);
        if (const std::wstring* caption = w.labelCaption(control)) return narrow(*caption);
        return narrow(windowText(controlWindow(f, control)));
    }
    std::uint32_t intervalOf(const FormDescription& f, Text timer) override {
        const auto interval = window(f).timerInterval(timer);
        if (!interval)
            throw std::logic_error(std::string(f.Name) + " has no " + std::string(timer));
        return *interval;
    }
    std::string menuCaption(const FormDescription& f, Text item) override {
        return narrow(window(f).menuCaption(item));
    }
    FrameSeen frameOf(const FormDescription& f) override {
        const HWND h = window(f).handle();
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
        FrameSeen seen{
            .hasMaximizeButton = (style & WS_MAXIMIZEBOX) != 0,
            .hasMinimizeButton = (style & WS_MINIMIZEBOX) != 0,
            .resizable = (style & WS_THICKFRAME) != 0,
            .caption = narrow(windowText(h)),
        };
        const auto icon = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_BIG, 0));
        ICONINFO info{};
        if (icon && GetIconInfo(icon, &info)) {
            BITMAP bitmap{};
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            seen.iconWidth = bitmap.bmWidth;
            // A monochrome icon keeps its mask and image one above the other.
            seen.iconHeight = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
        return seen;
    }
    int dpi(const FormDescription& f) override { return window(f).dpi(); }

    Image grabClient(const FormDescription& f) override {
        return win32::captureWindow(window(f).handle(), true);
    }
    Image grabShown(const FormDescription& f) override {
        return win32::captureWindow(window(f).handle(), true, false);
    }

    void click(const FormDescription& f, Text control) override {
        const HWND target = controlWindow(f, control);
        RECT r;
        GetClientRect(target, &r);
        const LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
        PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        PostMessageW(target, WM_LBUTTONUP, 0, centre);
        platform_.dispatchPending();
    }
    void chooseMenuItem(const FormDescription& f, Text item) override {
        FormWindow& w = window(f);
        const auto id = w.menuCommand(item);
        if (!id)
            throw std::logic_error(std::string(f.Name) + " has no command " + std::string(item));
        PostMessageW(w.handle(), WM_COMMAND, MAKEWPARAM(*id, 0), 0);
        platform_.dispatchPending();
    }
    void pressKey(const FormDescription& f, Key key) override {
        FormWindow& w = window(f);
        HWND target = GetFocus();
        if (!target || (target != w.handle() && !IsChild(w.handle(), target))) target = w.handle();
        switch (key) {
            case Key::Tab:
                return postKey(target, VK_TAB, 0);
            case Key::ShiftTab:
                return postKey(target, VK_TAB, VK_SHIFT);
            case Key::Space:
                return postKey(target, VK_SPACE, 0);
            case Key::Enter:
                return postKey(target, VK_RETURN, 0);
        }
    }
    void typeText(const FormDescription& f, Text control, Text text) override {
        const HWND edit = controlWindow(f, control);
        SetFocus(edit);
        for (const wchar_t c : win32::widen(text)) PostMessageW(edit, WM_CHAR, c, 1);
        platform_.dispatchPending();
    }
    void paste(const FormDescription& f, Text control, Text text) override {
        const HWND edit = controlWindow(f, control);
        const std::wstring wide = win32::widen(text);
        const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (!data || !OpenClipboard(window(f).handle())) throw std::runtime_error("no clipboard");
        std::copy_n(wide.c_str(), wide.size() + 1, static_cast<wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, data);  // the clipboard owns it now
        CloseClipboard();
        SetFocus(edit);
        postKey(edit, 'V', VK_CONTROL);
    }
    void fireTimer(const FormDescription& f, Text timer) override {
        FormWindow& w = window(f);
        if (const auto id = w.tickingTimer(timer)) SendMessageW(w.handle(), WM_TIMER, *id, 0);
    }
    void minimize(const FormDescription& f) override {
        ShowWindow(window(f).handle(), SW_MINIMIZE);
        platform_.dispatchPending();
    }
    void activate(const FormDescription& f) override {
        const HWND h = window(f).handle();
        SetForegroundWindow(h);
        SetActiveWindow(h);
        platform_.dispatchPending();
    }
    void resizeClient(const FormDescription& f, int width, int height) override {
        window(f).resizeClient(width, height);
        platform_.dispatchPending();
    }
    void closeFromTitleBar(const FormDescription& f) override {
        PostMessageW(window(f).handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        platform_.dispatchPending();
    }

private:
    // Posts a key press and release, with a modifier held down in the
    // keyboard state while the event loop handles them: posted keys leave
    // that state alone.
    void postKey(HWND target, WPARAM key, int modifier) {
        BYTE keys[256];
        GetKeyboardState(keys);
        BYTE held[256];
        std::copy(std::begin(keys), std::end(keys), std::begin(held));
        if (modifier) held[modifier] = 0x80;
        SetKeyboardState(held);
        const auto scan =
            static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
        PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
        PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (LPARAM{3} << 30));
        platform_.dispatchPending();
        SetKeyboardState(keys);
    }
    template <typename Visit>
    void forEachForm(Visit visit) {
        for (const FormBinding& b : program_.Forms)
            if (const FormWindow* w = platform_.window(*b.Form)) visit(w->handle());
    }

    FormWindow& window(const FormDescription& f) {
        FormWindow* w = platform_.window(f);
        if (!w) throw std::logic_error(std::string(f.Name) + " is not built");
        return *w;
    }
    HWND controlWindow(const FormDescription& f, Text name) {
        const HWND h = window(f).controlWindow(name);
        if (!h) throw std::logic_error(std::string(f.Name) + " has no window " + std::string(name));
        return h;
    }

    // Every dialog box the thread creates may be a message box: once its
    // modal loop runs, it is read and answered.
    static LRESULT CALLBACK watchWindows(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && answering) {
            const auto h = reinterpret_cast<HWND>(wParam);
            if (classOf(h) == L"#32770") SetTimer(h, answerTimer, 10, answerBox);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK answerBox(HWND box, UINT, UINT_PTR id, DWORD) {
        KillTimer(box, id);
        if (answering) answering->answer(box);
    }

    void answer(HWND box) {
        MessageBoxSeen seen;
        seen.title = narrow(windowText(box));
        std::vector<std::pair<LONG, HWND>> buttons;
        const HICON information = LoadIconW(nullptr, IDI_INFORMATION);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;
            const std::wstring kind = classOf(child);
            const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
            if (_wcsicmp(kind.c_str(), L"Button") == 0) {
                RECT r;
                GetWindowRect(child, &r);
                buttons.emplace_back(r.left, child);
            } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
                if ((style & SS_TYPEMASK) == SS_ICON)
                    seen.informationIcon = reinterpret_cast<HICON>(SendMessageW(
                                               child, STM_GETICON, 0, 0)) == information;
                else if (!windowText(child).empty())
                    seen.prompt = narrow(windowText(child));
            }
        }
        std::sort(buttons.begin(), buttons.end());
        for (const auto& [left, button] : buttons)
            seen.buttons.push_back(narrow(windowText(button)));
        // Modal over the whole program: every built window waits for it.
        seen.blocksOtherWindows = true;
        for (const FormBinding& b : program_.Forms)
            if (const FormWindow* w = platform_.window(*b.Form))
                seen.blocksOtherWindows = seen.blocksOtherWindows && !IsWindowEnabled(w->handle());
        if (seen_) seen_(seen);
        if (HWND ok = GetDlgItem(box, IDOK))
            SendMessageW(ok, BM_CLICK, 0, 0);
        else
            PostMessageW(box, WM_CLOSE, 0, 0);
    }
    static constexpr UINT_PTR answerTimer = 0x5753;

    const Program& program_;
    Win32Platform platform_;
    std::function<void(const MessageBoxSeen&)> seen_;
    HHOOK hook_ = nullptr;
    Win32Automation* previous_ = nullptr;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<Automation> automate(const Program& program) {
    return std::make_unique<Win32Automation>(program);
}

}  // namespace ws
