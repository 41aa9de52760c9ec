// What the windows' handlers may ask of the forms platform, and how handlers
// are bound to a window's controls by control name and event name.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "framework/window_description.h"

namespace ws {

class WindowServices {
public:
    // The one instance per description: built on first use, when its Load
    // handler runs, before it is first visible. Hidden windows stay built.
    virtual void load(const FormDescription& form) = 0;
    // Builds the window if needed, then makes it visible, in front and
    // active; modeless, without an owner. Returns at once.
    virtual void show(const FormDescription& form) = 0;
    virtual void hide(const FormDescription& form) = 0;
    virtual void setCaption(const FormDescription& form, Text label, Text caption) = 0;
    // 0 stops the ticks.
    virtual void setInterval(const FormDescription& form, Text timer, std::uint32_t ms) = 0;
    // Modal over the whole program; returns the button pressed.
    virtual int messageBox(Text prompt, int style, Text title) = 0;
    // The local time in the user's locale format, to the second, no date.
    virtual std::string timeOfDay() = 0;
    // Every window goes away and the process exits with status 0.
    [[noreturn]] virtual void endProgram() = 0;

protected:
    ~WindowServices() = default;
};

// Message box styles and results, as the handlers pass and receive them.
namespace MessageBoxStyle {
inline constexpr int OkOnly = 0;
inline constexpr int Information = 64;
}  // namespace MessageBoxStyle
inline constexpr int MessageBoxOk = 1;

// Load: once, after the window is built and before it is first visible.
// Activate: each time the window becomes the program's active window.
// Unload: the user closed the window from its title bar; it is going away.
// Click: a button pressed or a menu command chosen. Timer: a timer's period.
namespace Event {
inline constexpr Text Load = "Load";
inline constexpr Text Unload = "Unload";
inline constexpr Text Activate = "Activate";
inline constexpr Text Click = "Click";
inline constexpr Text Timer = "Timer";
}  // namespace Event

// The control name that a window's own events (Load, Activate) are bound to.
inline constexpr Text ThisWindow = "Form";

using Handler = void (*)(WindowServices&);

struct EventBinding {
    Text Control;
    Text Event;
    Handler Run = nullptr;
};

struct FormBinding {
    const FormDescription* Form = nullptr;
    std::span<const EventBinding> Handlers;
};

// The whole program as a platform runs it: its windows with their handlers,
// and the one it starts with.
struct Program {
    const FormDescription* StartUp = nullptr;
    std::span<const FormBinding> Forms;
};

constexpr Handler findHandler(std::span<const EventBinding> handlers, Text control, Text event) {
    for (const EventBinding& b : handlers)
        if (b.Control == control && b.Event == event) return b.Run;
    return nullptr;
}

constexpr const FormBinding* findBinding(const Program& program, const FormDescription& form) {
    for (const FormBinding& b : program.Forms)
        if (b.Form == &form) return &b;
    return nullptr;
}

// Every handler is bound to something that raises that event: the window
// (Load, Activate, Unload), a button or menu item (Click), a timer (Timer); and no
// pair is bound twice.
constexpr bool bindsOnlyRealEvents(const FormBinding& binding) {
    const FormDescription& form = *binding.Form;
    for (std::size_t i = 0; i < binding.Handlers.size(); ++i) {
        const EventBinding& b = binding.Handlers[i];
        if (b.Run == nullptr) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (binding.Handlers[j].Control == b.Control && binding.Handlers[j].Event == b.Event)
                return false;
        bool real = false;
        if (b.Control == ThisWindow) {
            real = b.Event == Event::Load || b.Event == Event::Activate || b.Event == Event::Unload;
        } else if (const ControlDescription* c = findControl(form, b.Control)) {
            real = (c->Kind == ControlKind::CommandButton && b.Event == Event::Click) ||
                   (c->Kind == ControlKind::Timer && b.Event == Event::Timer);
        } else if (findMenuItem(form, b.Control) != nullptr) {
            real = b.Event == Event::Click;
        }
        if (!real) return false;
    }
    return true;
}

// Tells the user which service failed, then ends the process with a non-zero
// status. Provided by the platform; never returns.
[[noreturn]] void reportServiceFailure(Text what);

// Starts the platform with the program's start-up window and runs it until
// the program ends; returns the process's exit status.
int runProgram(const Program& program, int argc, char** argv);

}  // namespace ws
