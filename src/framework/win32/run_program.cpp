// The program's entry on Windows: the start-up window and the event loop.
#include <windows.h>

#include "framework/win32/win32_platform.h"

namespace ws {

int runProgram(const Program& program, int, char**) {
    win32::Win32Platform platform(program);
    platform.startUp();
    if (!platform.anyBuilt()) return 0;  // ended before the event loop began
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (platform.preTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace ws
