// The welcome window: the station's notices, a clock, the help button and
// the program's menu.
#pragma once

#include <span>

#include "framework/window_services.h"

namespace ws {

extern const FormDescription Form1;
extern const std::span<const EventBinding> Form1Handlers;

}  // namespace ws
