// A small stand-in for the Windows multimedia command-string interpreter,
// for platforms that have none. It understands the two tray commands this
// program sends, "set cdaudio door open" and "set cdaudio door closed"
// (keywords in any case), and carries them out with the kernel's CD-ROM
// ioctls. It never blocks on a missing disc and never shows anything.
#pragma once

#include <cstdint>
#include <span>

namespace ws::mci {

enum Status : std::uint32_t {
    Ok = 0,
    UnrecognizedCommand = 261,  // not a "set" command, or no command at all
    UnknownDevice = 263,        // a device type other than cdaudio
    BadParameters = 274,        // "set cdaudio" followed by anything but door open/closed
    NoDrive = 275,              // no optical drive at any of the device paths
    NoPermission = 276,         // a drive exists but may not be opened
    NoTrayMotor = 277,          // the drive cannot move its tray by itself
    DeviceFailed = 278,         // the drive refused or failed the command
};

// The same four arguments and status as mciSendStringA. A reply buffer, if
// given, receives an empty text; the callback window is ignored.
std::uint32_t mciSendStringA(const char* command, char* reply, std::uint32_t replyLength,
                             std::uintptr_t callback);

// As above with the drive looked for at the given paths, in order.
std::uint32_t sendString(const char* command, std::span<const char* const> devicePaths);

}  // namespace ws::mci
