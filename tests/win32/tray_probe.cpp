// Sends one tray command, or with --plain loads winmm.dll the careless way,
// then tells by its exit status which winmm.dll the process holds: 0 the
// system's, 3 the one planted beside this executable, 2 none.
#include <cstring>

#include <windows.h>

#include "station/drive_tray.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--plain") == 0)
        LoadLibraryW(L"winmm.dll");
    else
        ws::sendMciCommand("set CDAudio door open");
    HMODULE winmm = GetModuleHandleW(L"winmm.dll");
    if (!winmm) return 2;
    return GetProcAddress(winmm, "planted_winmm_marker") ? 3 : 0;
}
