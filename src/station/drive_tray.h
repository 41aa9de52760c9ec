// The two commands for the optical drive's tray. Each sends one command
// string to the multimedia command interpreter; the status is dropped and
// nothing is shown.
#pragma once

#include <cstdint>

#include "framework/window_description.h"

namespace ws {

class DriveTray {
public:
    static void OpenDriveTray();
    static void CloseDriveTray();

    // Where the command strings go: the platform's command interpreter, or
    // for the lifetime of a Redirect, the function it names.
    using Sender = std::uint32_t (*)(Text command);
    class Redirect {
    public:
        explicit Redirect(Sender to);
        ~Redirect();
        Redirect(const Redirect&) = delete;
        Redirect& operator=(const Redirect&) = delete;

    private:
        Sender previous_;
    };

private:
    static void send(Text command);
};

// The platform's binding of mciSendStringA: converts the command to the
// ANSI code page and sends it with no reply buffer and no callback window.
std::uint32_t sendMciCommand(Text command);

}  // namespace ws
