// Paths the build wrote into the tests, as Windows opens them: under Wine
// the host's root directory is drive Z.
#pragma once

#include <string>

namespace ws::win32 {

inline std::wstring hostPath(const char* built) {
    std::wstring path;
    for (const char* c = built; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return built[0] == '/' ? L"Z:" + path : path;
}

}  // namespace ws::win32
