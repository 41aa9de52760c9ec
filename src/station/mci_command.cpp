#include "station/mci_command.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <string_view>
#include <sys/ioctl.h>
#include <unistd.h>

#include "station/drive_tray.h"

namespace ws::mci {

namespace {

constexpr const char* systemDrives[] = {"/dev/cdrom", "/dev/sr0"};

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Splits at blanks; more words than fit are counted but not kept.
struct Words {
    std::string_view word[5];
    int count = 0;
};

Words split(std::string_view text) {
    Words w;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) {
            if (w.count < 5) w.word[w.count] = text.substr(start, i - start);
            ++w.count;
        }
    }
    return w;
}

Status statusOf(int error) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case ENOTTY:  // the path exists but is no CD-ROM drive
            return NoDrive;
        case EACCES:
        case EPERM:
            return NoPermission;
        case ENOSYS:
            return NoTrayMotor;
        default:
            return DeviceFailed;
    }
}

Status moveTray(unsigned long request, std::span<const char* const> devicePaths) {
    Status status = NoDrive;
    for (const char* path : devicePaths) {
        // Non-blocking: opening must not wait for a disc to spin up.
        const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            const Status s = statusOf(errno);
            if (s != NoDrive) status = s;
            continue;
        }
        const int result = ::ioctl(fd, request, 0);
        const int error = errno;
        ::close(fd);
        if (result == 0) return Ok;
        const Status s = statusOf(error);
        if (s != NoDrive) return s;
    }
    return status;
}

}  // namespace

std::uint32_t sendString(const char* command, std::span<const char* const> devicePaths) {
    if (command == nullptr) return UnrecognizedCommand;
    const Words w = split(command);
    if (w.count == 0 || !sameWord(w.word[0], "set")) return UnrecognizedCommand;
    if (w.count < 2) return BadParameters;
    if (!sameWord(w.word[1], "cdaudio")) return UnknownDevice;
    if (w.count != 4 || !sameWord(w.word[2], "door")) return BadParameters;
    if (sameWord(w.word[3], "open")) return moveTray(CDROMEJECT, devicePaths);
    if (sameWord(w.word[3], "closed")) return moveTray(CDROMCLOSETRAY, devicePaths);
    return BadParameters;
}

std::uint32_t mciSendStringA(const char* command, char* reply, std::uint32_t replyLength,
                             std::uintptr_t /*callback*/) {
    if (reply != nullptr && replyLength > 0) reply[0] = '\0';
    return sendString(command, systemDrives);
}

}  // namespace ws::mci

namespace ws {

// The command strings are ASCII, which every ANSI code page keeps as it is.
std::uint32_t sendMciCommand(Text command) {
    char ansi[64];
    if (command.size() >= sizeof ansi) return mci::BadParameters;
    std::memcpy(ansi, command.data(), command.size());
    ansi[command.size()] = '\0';
    return mci::mciSendStringA(ansi, nullptr, 0, 0);
}

}  // namespace ws
