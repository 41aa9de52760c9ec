#include "station/drive_tray.h"

namespace ws {

namespace {
DriveTray::Sender redirected = nullptr;
}

void DriveTray::OpenDriveTray() { send("set CDAudio door open"); }
void DriveTray::CloseDriveTray() { send("set CDAudio door closed"); }

void DriveTray::send(Text command) {
    // Every outcome is silent: no drive, no tray motor, a tray already there.
    if (redirected)
        static_cast<void>(redirected(command));
    else
        static_cast<void>(sendMciCommand(command));
}

DriveTray::Redirect::Redirect(Sender to) : previous_(redirected) { redirected = to; }
DriveTray::Redirect::~Redirect() { redirected = previous_; }

}  // namespace ws
