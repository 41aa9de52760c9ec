// The rules of event delivery that every platform shares: the handler bound
// to a control's event runs, unless the program is ending; Activate runs
// only when the active window changes among the program's own windows.
#pragma once

#include "framework/window_services.h"

namespace ws {

class EventRouter {
public:
    explicit EventRouter(const Program& program) : program_(program) {}

    const Program& program() const { return program_; }

    void deliver(WindowServices& services, const FormDescription& form, Text control,
                 Text event) const {
        if (ending_) return;
        const FormBinding* binding = findBinding(program_, form);
        if (!binding) return;
        if (Handler h = findHandler(binding->Handlers, control, event)) h(services);
    }

    // Coming back from another application, or from a message box, is no
    // new activation.
    void activated(WindowServices& services, const FormDescription& form) {
        if (lastActive_ == &form) return;
        lastActive_ = &form;
        deliver(services, form, ThisWindow, Event::Activate);
    }

    // The window is gone: the next window to become active, even one built
    // anew from the same description, is a change.
    void forget(const FormDescription& form) {
        if (lastActive_ == &form) lastActive_ = nullptr;
    }

    // From now on no handler runs.
    void stop() { ending_ = true; }
    bool stopped() const { return ending_; }

private:
    const Program& program_;
    const FormDescription* lastActive_ = nullptr;
    bool ending_ = false;
};

}  // namespace ws
