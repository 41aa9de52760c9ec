// A failing service is reported in a box that says what failed; the
// process then ends with a non-zero status.
#include <cstdio>

#include <windows.h>

#include "framework/win32/text.h"
#include "framework/window_services.h"

namespace ws {

void reportServiceFailure(Text what) {
    std::fprintf(stderr, "welcome-station: %.*s\n", static_cast<int>(what.size()), what.data());
    std::fflush(stderr);
    const std::wstring message = L"程式無法繼續執行，即將結束：" + win32::widen(what);
    MessageBoxW(nullptr, message.c_str(), L"welcome-station", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(1);
}

}  // namespace ws
