// The side tool window that replaces the welcome window on screen.
#pragma once

#include <span>

#include "framework/window_services.h"

namespace ws {

extern const FormDescription Form2;
extern const std::span<const EventBinding> Form2Handlers;

}  // namespace ws
