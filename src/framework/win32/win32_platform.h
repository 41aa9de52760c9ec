// The forms platform on the Windows API: builds windows from their
// descriptions, delivers their events to the bound handlers, and keeps the
// program alive exactly while one of its windows is built.
#pragma once

#include <functional>
#include <map>
#include <string>

#include <windows.h>

#include "framework/event_router.h"
#include "framework/window_services.h"

namespace ws::win32 {

class FormWindow;

class Win32Platform final : public WindowServices {
public:
    explicit Win32Platform(const Program& program);
    ~Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // Builds the start-up window, runs its Load, shows it.
    void startUp();

    void load(const FormDescription& form) override;
    void show(const FormDescription& form) override;
    void hide(const FormDescription& form) override;
    void setCaption(const FormDescription& form, Text label, Text caption) override;
    void setInterval(const FormDescription& form, Text timer, std::uint32_t ms) override;
    int messageBox(Text prompt, int style, Text title) override;
    std::string timeOfDay() override;
    [[noreturn]] void endProgram() override;

    // Reports the failure in a message box, then exits with status 1.
    [[noreturn]] void fail(const std::string& what);

    // The built window of a description, or null.
    FormWindow* window(const FormDescription& form) const;
    bool anyBuilt() const { return !windows_.empty(); }
    HINSTANCE instance() const { return instance_; }

    // Called when the last built window has gone; by default it posts the
    // message that ends the event loop.
    void onProgramEnded(std::function<void()> ended) { ended_ = std::move(ended); }

    // The keys the event loop handles before dispatching a message: Tab and
    // Shift+Tab move the focus, Enter presses the focused button. True when
    // the message was consumed.
    bool preTranslate(const MSG& message);
    // Handles every waiting message, as the event loop would.
    void dispatchPending();

    // From the windows.
    void dispatch(const FormDescription& form, Text control, Text event);
    void windowActivated(const FormDescription& form);
    void windowClosing(const FormDescription& form);
    void windowDestroyed(const FormDescription& form);

private:
    void destroyAll();

    EventRouter router_;
    HINSTANCE instance_;
    std::map<const FormDescription*, HWND> windows_;
    std::function<void()> ended_;
};

}  // namespace ws::win32
