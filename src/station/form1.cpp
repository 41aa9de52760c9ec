#include "station/form1.h"

#include "station/drive_tray.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace ws {

namespace {

constexpr FontDescription mingBold18{"新細明體", 18, 700, 136};
constexpr FontDescription mingBold15{"新細明體", 15.75, 700, 136};
constexpr FontDescription ming24{"新細明體", 24, 400, 136};
constexpr FontDescription kai14{"標楷體", 14.25, 400, 136};

constexpr ControlDescription frame1Children[] = {
    {.Name = "Command1",
     .Kind = ControlKind::CommandButton,
     .Caption = "看說明。",
     .Left = 600,
     .Top = 720,
     .Width = 2055,
     .Height = 495,
     .Font = &mingBold18,
     .TabIndex = 8},
    {.Name = "Timer1", .Kind = ControlKind::Timer, .Interval = 0},
    {.Name = "Label2",
     .Kind = ControlKind::Label,
     .Caption = "本程式目前是開源軟體。",
     .Left = 240,
     .Top = 360,
     .Width = 3255,
     .Height = 1215,
     .TabIndex = 3},
};

constexpr ControlDescription controls[] = {
    {.Name = "Frame1",
     .Kind = ControlKind::Frame,
     .Caption = "電腦機台說明",
     .Left = 120,
     .Top = 2640,
     .Width = 3735,
     .Height = 2055,
     .TabIndex = 2,
     .Children = frame1Children},
    {.Name = "Text1",
     .Kind = ControlKind::TextBox,
     .Caption = "本台電腦乃為開放式電腦，歡迎使用！\u3000",
     .Left = 4320,
     .Top = 120,
     .Width = 3375,
     .Height = 270,
     .TabIndex = 1},
    {.Name = "Label6",
     .Kind = ControlKind::Label,
     .Caption = "﹝正式版﹞",
     .Left = 4200,
     .Top = 3240,
     .Width = 2895,
     .Height = 495,
     .ForeColor = ColorValue{0x000000FF},
     .BackStyle = LabelBackStyle::Transparent,
     .Font = &mingBold15,
     .TabIndex = 7},
    {.Name = "Label5",
     .Kind = ControlKind::Label,
     .Caption = "2009 (第 4 代)  kv!",
     .Left = 4080,
     .Top = 2760,
     .Width = 3615,
     .Height = 975,
     .ForeColor = ColorValue{0x80000008},
     .BackColor = ColorValue{0x80000005},
     .BorderStyle = LabelBorderStyle::Single,
     .Font = &mingBold18,
     .TabIndex = 6},
    {.Name = "Label4",
     .Kind = ControlKind::Label,
     .Caption = "顯示目前時間",
     .Left = 3960,
     .Top = 3960,
     .Width = 3615,
     .Height = 375,
     .BackStyle = LabelBackStyle::Transparent,
     .Font = &kai14,
     .TabIndex = 5},
    {.Name = "Label3",
     .Kind = ControlKind::Label,
     .Caption = "",
     .Left = 6000,
     .Top = 3960,
     .Width = 3615,
     .Height = 255,
     .BackStyle = LabelBackStyle::Transparent,
     .TabIndex = 4},
    {.Name = "Label1",
     .Kind = ControlKind::Label,
     .Caption = "歡迎使用zo學    苑專用電腦             開放機台",
     .Left = 4320,
     .Top = 480,
     .Width = 3375,
     .Height = 1695,
     .ForeColor = ColorValue{0x000000FF},
     .BackStyle = LabelBackStyle::Transparent,
     .Font = &ming24,
     .TabIndex = 0},
};

constexpr MenuItemDescription functionsMenu[] = {
    {"a", "關閉程式", {}},
    {"b", "開啟光碟機", {}},
    {"c", "關閉光碟機", {}},
};
constexpr MenuItemDescription otherProgramsMenu[] = {
    {"d", "星河板", {}},
};
constexpr MenuItemDescription menus[] = {
    {"cc", "功能", functionsMenu},
    {"bb", "到其它程式", otherProgramsMenu},
};

void greet(WindowServices& ws) {
    ws.messageBox("歡迎使用本系統!", MessageBoxStyle::Information, "確認訊息");
}
void startClock(WindowServices& ws) { ws.setInterval(Form1, "Timer1", 1000); }
void tick(WindowServices& ws) { ws.setCaption(Form1, "Label3", ws.timeOfDay()); }
void endProgram(WindowServices& ws) { ws.endProgram(); }
void openTray(WindowServices&) { DriveTray::OpenDriveTray(); }
void closeTray(WindowServices&) { DriveTray::CloseDriveTray(); }
void showHelp(WindowServices& ws) { ws.show(Form3); }
void switchToSideTool(WindowServices& ws) {
    ws.hide(Form1);
    ws.show(Form2);
}

constexpr EventBinding handlers[] = {
    {ThisWindow, Event::Load, greet},     {ThisWindow, Event::Activate, startClock},
    {"Timer1", Event::Timer, tick},       {"a", Event::Click, endProgram},
    {"b", Event::Click, openTray},        {"c", Event::Click, closeTray},
    {"Command1", Event::Click, showHelp}, {"d", Event::Click, switchToSideTool},
};

}  // namespace

constexpr FormDescription Form1{
    .Name = "Form1",
    .Caption = " 晨光視窗",
    .BackColor = {0x00C0FFFF},
    .Picture = {"picture"},
    .Icon = {"icon"},
    .MaxButton = false,
    .ClientWidth = 7845,
    .ClientHeight = 4815,
    .StartUpPosition = 3,
    .Controls = controls,
    .Menus = menus,
};
static_assert(hasValidTabOrder(Form1));

const std::span<const EventBinding> Form1Handlers = handlers;

}  // namespace ws
