// The help window: the station's notes on the program.
#pragma once

#include "framework/window_description.h"

namespace ws {

extern const FormDescription Form3;

}  // namespace ws
