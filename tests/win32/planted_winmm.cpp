// A winmm.dll that no program should ever load from its own directory. It
// marks itself with an export the probe looks for.
#define WIN32_LEAN_AND_MEAN  // no mmsystem.h: this file defines its own mciSendStringA
#include <windows.h>

extern "C" __declspec(dllexport) int planted_winmm_marker() { return 1; }

extern "C" __declspec(dllexport) DWORD WINAPI mciSendStringA(LPCSTR, LPSTR, UINT, HWND) {
    return 0;
}
