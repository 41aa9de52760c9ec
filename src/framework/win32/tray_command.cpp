// The tray commands go to the multimedia command interpreter of winmm.dll,
// bound at the first command. The DLL is taken from the system directory
// only: a winmm.dll planted beside the executable never runs.
#include <string>

#include <windows.h>

#include "framework/window_services.h"
#include "station/drive_tray.h"

namespace ws {

namespace {

using MciSendStringA = DWORD(WINAPI*)(LPCSTR command, LPSTR reply, UINT replyLength, HWND callback);

MciSendStringA bindMciSendString() {
    HMODULE winmm = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!winmm) return nullptr;
    return reinterpret_cast<MciSendStringA>(
        reinterpret_cast<void (*)()>(GetProcAddress(winmm, "mciSendStringA")));
}

std::string toAnsi(Text utf8) {
    const int size = static_cast<int>(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wideLength);
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

}  // namespace

std::uint32_t sendMciCommand(Text command) {
    static const MciSendStringA send = bindMciSendString();
    if (!send) reportServiceFailure("無法載入 winmm.dll 的 mciSendStringA。");
    const std::string ansi = toAnsi(command);
    return send(ansi.c_str(), nullptr, 0, nullptr);
}

}  // namespace ws
