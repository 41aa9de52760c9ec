#include "framework/win32/win32_platform.h"

#include <cstdio>
#include <vector>

#include <commctrl.h>

#include "framework/win32/form_window.h"
#include "framework/win32/text.h"

namespace ws::win32 {

Win32Platform::Win32Platform(const Program& program)
    : router_(program), instance_(GetModuleHandleW(nullptr)) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    FormWindow::registerClasses(instance_);
    ended_ = [] { PostQuitMessage(0); };
}

Win32Platform::~Win32Platform() {
    router_.stop();
    destroyAll();
}

void Win32Platform::destroyAll() {
    std::vector<HWND> built;
    for (const auto& [form, window] : windows_) built.push_back(window);
    for (HWND window : built) DestroyWindow(window);
    windows_.clear();
}

FormWindow* Win32Platform::window(const FormDescription& form) const {
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : FormWindow::from(it->second);
}

void Win32Platform::startUp() {
    load(*router_.program().StartUp);
    show(*router_.program().StartUp);
}

void Win32Platform::load(const FormDescription& form) {
    if (router_.stopped() || window(form)) return;
    windows_[&form] = FormWindow::create(*this, form);
    dispatch(form, ThisWindow, Event::Load);
}

void Win32Platform::show(const FormDescription& form) {
    load(form);
    FormWindow* w = window(form);
    if (!w) return;
    const HWND h = w->handle();
    w->complete();
    if (!w->shownBefore()) w->focusFirstControl();
    w->markShown();
    if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
    ShowWindow(h, SW_SHOW);
    BringWindowToTop(h);
    SetForegroundWindow(h);
    SetActiveWindow(h);
}

void Win32Platform::hide(const FormDescription& form) {
    if (FormWindow* w = window(form)) ShowWindow(w->handle(), SW_HIDE);
}

void Win32Platform::setCaption(const FormDescription& form, Text label, Text caption) {
    load(form);
    FormWindow* w = window(form);
    if (!w) return;
    if (!w->setLabelCaption(label, widen(caption)))
        fail(std::string(form.Name) + " 沒有名為 " + std::string(label) + " 的標籤。");
}

void Win32Platform::setInterval(const FormDescription& form, Text timer, std::uint32_t ms) {
    load(form);
    FormWindow* w = window(form);
    if (!w) return;
    if (!w->setTimerInterval(timer, ms))
        fail(std::string(form.Name) + " 沒有名為 " + std::string(timer) + " 的計時器。");
}

int Win32Platform::messageBox(Text prompt, int style, Text title) {
    // Task-modal: every window of the program waits for the box, hidden
    // ones included.
    const UINT type = static_cast<UINT>(style) | MB_TASKMODAL | MB_SETFOREGROUND;
    for (const auto& [form, window] : windows_) FormWindow::from(window)->completeSoon();
    const int pressed = MessageBoxW(nullptr, widen(prompt).c_str(), widen(title).c_str(), type);
    if (pressed == 0) fail("無法顯示訊息方塊。");
    return pressed;
}

std::string Win32Platform::timeOfDay() {
    wchar_t text[128];
    if (!GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 128))
        fail("無法取得目前時間。");
    return narrow(text);
}

void Win32Platform::endProgram() {
    router_.stop();
    destroyAll();
    std::fflush(nullptr);
    ExitProcess(0);
}

void Win32Platform::fail(const std::string& what) {
    router_.stop();
    reportServiceFailure(what);
}

void Win32Platform::dispatch(const FormDescription& form, Text control, Text event) {
    router_.deliver(*this, form, control, event);
}

void Win32Platform::windowActivated(const FormDescription& form) { router_.activated(*this, form); }

void Win32Platform::windowClosing(const FormDescription& form) {
    dispatch(form, ThisWindow, Event::Unload);
}

void Win32Platform::windowDestroyed(const FormDescription& form) {
    const auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    windows_.erase(it);
    router_.forget(form);
    if (windows_.empty() && !router_.stopped() && ended_) ended_();
}

bool Win32Platform::preTranslate(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.wParam != VK_TAB && message.wParam != VK_RETURN) return false;
    FormWindow* form = FormWindow::from(GetAncestor(message.hwnd, GA_ROOT));
    if (!form || window(form->form()) != form) return false;
    if (message.wParam == VK_TAB) {
        SendMessageW(form->handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        form->moveFocus(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    // Enter presses the focused button, as Space does.
    wchar_t kind[16];
    if (!GetClassNameW(message.hwnd, kind, 16) || lstrcmpiW(kind, L"Button") != 0) return false;
    SendMessageW(message.hwnd, BM_CLICK, 0, 0);
    return true;
}

void Win32Platform::dispatchPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (preTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace ws::win32
