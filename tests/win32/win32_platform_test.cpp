// What the Windows platform builds beneath the behaviour the scenarios
// see: GDI fonts and colours, and the window structure.
#include <cwchar>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "framework/automation.h"
#include "framework/win32/display.h"
#include "framework/win32/form_window.h"
#include "station/form1.h"
#include "station/program.h"
#include "windows/form2.h"

namespace ws::win32 {
namespace {

TEST(Display, FontsTakeTheirHeightFromThePointsAtTheWindowsDensity) {
    const FontDescription ming{"新細明體", 11.25, 700, 136};
    const FontDescription kai{"標楷體", 15.75, 400, 136};
    struct Case {
        const FontDescription* font;
        int dpi;
        LONG height;
    } cases[] = {
        {&ming, 96, -15}, {&ming, 144, -23}, {&kai, 96, -21}, {&kai, 120, -26}, {nullptr, 96, -12},
    };
    for (const Case& c : cases) {
        const LOGFONTW lf = toLogFont(c.font, c.dpi);
        EXPECT_EQ(lf.lfHeight, c.height) << c.dpi;
        EXPECT_EQ(lf.lfCharSet, 136);
    }
    EXPECT_EQ(toLogFont(&ming, 96).lfWeight, 700);
    EXPECT_STREQ(toLogFont(&kai, 96).lfFaceName, L"標楷體");
    EXPECT_STREQ(toLogFont(nullptr, 96).lfFaceName, L"新細明體");
}

TEST(Display, SystemColoursComeFromTheSystemsTable) {
    for (const int index : {5, 8, 15, 20})
        EXPECT_EQ(toColorRef(ColorValue{0x80000000u | static_cast<unsigned>(index)}),
                  GetSysColor(index))
            << index;
    EXPECT_EQ(toColorRef(ColorValue{0x00C0FFFF}), RGB(255, 255, 192));
}

HWND childWithText(HWND parent, const wchar_t* text) {
    struct Search {
        const wchar_t* text;
        HWND found;
    } search{text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t caption[64] = {};
            GetWindowTextW(child, caption, 64);
            if (std::wcscmp(caption, s->text) != 0) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Win32Windows : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = automate(stationProgram());
        program_->onMessageBox([](const MessageBoxSeen&) {});
        program_->startUp();
    }
    HWND form(const wchar_t* caption) { return FindWindowW(formClassName, caption); }
    std::unique_ptr<Automation> program_;
};

TEST_F(Win32Windows, TheClientAreaBelowTheMenuBarHasTheDescribedSize) {
    const HWND form1 = form(L" 晨光視窗");
    ASSERT_TRUE(form1);
    ASSERT_TRUE(GetMenu(form1));
    RECT client;
    GetClientRect(form1, &client);
    EXPECT_EQ(client.right, 523);
    EXPECT_EQ(client.bottom, 321);
    program_->resizeClient(Form1, 600, 400);
    GetClientRect(form1, &client);
    EXPECT_EQ(client.right, 600);
    EXPECT_EQ(client.bottom, 400);
}

TEST_F(Win32Windows, TheFrameIsAContainerOfItsOwnAndNotAGroupBoxButton) {
    const HWND form1 = form(L" 晨光視窗");
    const HWND frame = childWithText(form1, L"電腦機台說明");
    const HWND button = childWithText(form1, L"看說明。");
    ASSERT_TRUE(frame && button);
    EXPECT_EQ(GetParent(button), frame);
    wchar_t kind[64] = {};
    GetClassNameW(frame, kind, 64);
    EXPECT_STREQ(kind, frameClassName);

    // Children are placed from the frame's own top-left corner.
    RECT r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 48);
    EXPECT_EQ(r.right - r.left, 137);
    GetWindowRect(frame, &r);
    MapWindowPoints(nullptr, form1, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 8);
    EXPECT_EQ(r.top, 176);
}

// A themed button has its parent paint its background into the button's own
// device context, after selecting its font there: the parent must leave that
// context as it found it, or the caption comes out in the parent's fonts.
TEST_F(Win32Windows, PaintingAChildsBackgroundLeavesTheChildsDeviceContextAsItWas) {
    const HWND form1 = form(L" 晨光視窗");
    const HWND frame = childWithText(form1, L"電腦機台說明");
    const HWND button = childWithText(form1, L"看說明。");
    ASSERT_TRUE(frame && button);
    const auto buttonFont = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
    ASSERT_TRUE(buttonFont);
    for (const HWND parent : {frame, form1}) {
        HDC screen = GetDC(button);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 60);
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HGDIOBJ oldFont = SelectObject(dc, buttonFont);
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkMode(dc, OPAQUE);
        SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), buttonFont);
        EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
        EXPECT_EQ(GetBkMode(dc), OPAQUE);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(button, screen);
    }
}

TEST_F(Win32Windows, EarlierListedControlsLieAboveLaterOnes) {
    program_->chooseMenuItem(Form1, "d");
    const HWND form2 = form(L"星河板");
    ASSERT_TRUE(form2);
    const HWND clear = childWithText(form2, L"清除畫面");
    const HWND close = childWithText(form2, L"關閉程式");
    ASSERT_TRUE(clear && close);
    // Z-order runs from the top: the clear button, listed first, comes first.
    bool closeBelowClear = false;
    for (HWND h = GetWindow(clear, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
        closeBelowClear = closeBelowClear || h == close;
    EXPECT_TRUE(closeBelowClear);
    EXPECT_TRUE(GetWindowLongPtrW(clear, GWL_STYLE) & BS_MULTILINE);
}

// Run with WINEDEBUG=+mci, Wine's winmm traces the strings it receives.
TEST_F(Win32Windows, TrayCommandsGoToWinmmAndLeaveTheWindowAsItWas) {
    program_->services().setInterval(Form1, "Timer1", 0);  // a still clock
    program_->runFor(100);
    const Image before = program_->grabClient(Form1);
    program_->chooseMenuItem(Form1, "b");
    program_->chooseMenuItem(Form1, "c");
    program_->runFor(100);
    const Image after = program_->grabClient(Form1);
    EXPECT_TRUE(before.pixels == after.pixels);
    EXPECT_TRUE(program_->isActive(Form1));
    EXPECT_EQ(program_->focusedControl(Form1), "Text1");
    EXPECT_EQ(program_->windowsOnScreen(), 1);
}

}  // namespace
}  // namespace ws::win32
