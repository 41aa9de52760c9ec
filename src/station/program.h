// The station program: its three windows with their handlers, starting with
// the welcome window.
#pragma once

#include "framework/window_services.h"

namespace ws {

const Program& stationProgram();

}  // namespace ws
