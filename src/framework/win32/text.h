// UTF-8 texts of the descriptions to and from the UTF-16 of the Windows API.
#pragma once

#include <string>
#include <string_view>

#include "framework/window_description.h"

namespace ws::win32 {

std::wstring widen(Text text);
std::string narrow(std::wstring_view text);

}  // namespace ws::win32
