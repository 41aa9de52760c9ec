// The least a Windows program can do to greet: the same message box, alone.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"歡迎使用本系統!", L"確認訊息",
                MB_OK | MB_ICONINFORMATION | MB_APPLMODAL);
    return 0;
}
