// Renders the greeting box and the three windows as the Windows build
// shows them, whole with their title bars, into BMP files:
//   snapshots <directory>
#include <cstdio>
#include <string>

#include <windows.h>

#include "framework/automation.h"
#include "framework/win32/form_window.h"
#include "framework/win32/window_capture.h"
#include "station/form1.h"
#include "station/program.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace {

bool save(HWND window, const std::wstring& path) {
    if (!window) return false;
    const bool saved = ws::win32::writeBitmapFile(ws::win32::captureWindow(window, false), path);
    if (!saved) std::fprintf(stderr, "snapshots: cannot write %ls\n", path.c_str());
    return saved;
}

HWND form(const wchar_t* caption) { return FindWindowW(ws::win32::formClassName, caption); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: snapshots <directory>\n");
        return 2;
    }
    wchar_t directory[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, directory, MAX_PATH);
    const std::wstring dir = std::wstring(directory) + L"\\";
    auto program = ws::automate(ws::stationProgram());
    bool ok = true;
    program->onMessageBox([&](const ws::MessageBoxSeen&) {
        ok = save(FindWindowW(L"#32770", L"確認訊息"), dir + L"windows-greeting.bmp") && ok;
    });
    program->startUp();
    program->runFor(1500);  // the clock shows the time
    ok = save(form(L" 晨光視窗"), dir + L"windows-form1.bmp") && ok;
    program->click(ws::Form1, "Command1");
    program->runFor(300);
    ok = save(form(L"Form3"), dir + L"windows-form3.bmp") && ok;
    program->chooseMenuItem(ws::Form1, "d");
    program->runFor(300);
    ok = save(form(L"星河板"), dir + L"windows-form2.bmp") && ok;
    return ok ? 0 : 1;
}
