// The tray command interpreter that stands in for the multimedia command
// interpreter on Linux.
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "station/mci_command.h"

namespace ws::mci {
namespace {

TEST(TrayCommands, UnderstandsTheTwoDoorCommandsInAnyCaseAndRejectsTheRest) {
    // No drive at these paths: a command that parses reaches the device.
    const std::string missing = (std::filesystem::temp_directory_path() / "no-such-drive").string();
    const char* const paths[] = {missing.c_str()};
    struct Case {
        const char* command;
        std::uint32_t status;
    } cases[] = {
        {"set CDAudio door open", NoDrive},
        {"set CDAudio door closed", NoDrive},
        {"SET cdaudio DOOR Open", NoDrive},
        {"  set\tcdaudio   door closed  ", NoDrive},
        {"", UnrecognizedCommand},
        {"open cdaudio", UnrecognizedCommand},
        {"setx cdaudio door open", UnrecognizedCommand},
        {"set", BadParameters},
        {"set waveaudio door open", UnknownDevice},
        {"set cdaudio", BadParameters},
        {"set cdaudio door", BadParameters},
        {"set cdaudio door ajar", BadParameters},
        {"set cdaudio door open now", BadParameters},
        {"set cdaudio window open", BadParameters},
    };
    for (const Case& c : cases) EXPECT_EQ(sendString(c.command, paths), c.status) << c.command;
    EXPECT_EQ(sendString(nullptr, paths), UnrecognizedCommand);
}

TEST(TrayCommands, APathThatIsNoDriveIsPassedOver) {
    // A plain file and a character device that is no CD-ROM both refuse the
    // tray ioctls; the interpreter goes on to the next path, then gives up.
    const auto file = std::filesystem::temp_directory_path() / "not-a-drive";
    std::FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const char* const paths[] = {file.c_str(), "/dev/null"};
    EXPECT_EQ(sendString("set cdaudio door open", paths), NoDrive);
    std::filesystem::remove(file);
}

TEST(TrayCommands, TheRealCallClearsTheReplyAndNeverFailsLoudly) {
    char reply[8] = "stale";
    const std::uint32_t status = mciSendStringA("set CDAudio door closed", reply, sizeof reply, 0);
    EXPECT_STREQ(reply, "");
    // On a machine without an optical drive the status says so.
    if (!std::filesystem::exists("/dev/cdrom") && !std::filesystem::exists("/dev/sr0")) {
        EXPECT_EQ(status, NoDrive);
    }
    EXPECT_EQ(mciSendStringA("play cdaudio", nullptr, 0, 0), UnrecognizedCommand);
}

}  // namespace
}  // namespace ws::mci
