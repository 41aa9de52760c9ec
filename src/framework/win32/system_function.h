// Functions of newer Windows versions, looked up at run time so that the
// program still starts on systems without them.
#pragma once

#include <windows.h>

namespace ws::win32 {

// The function of that name in a DLL the process has loaded, or null.
template <typename Function>
Function systemFunction(const wchar_t* module, const char* name) {
    HMODULE dll = GetModuleHandleW(module);
    if (!dll) return nullptr;
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

}  // namespace ws::win32
