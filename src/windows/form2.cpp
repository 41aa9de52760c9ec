#include "windows/form2.h"

#include "station/form1.h"

namespace ws {

namespace {

constexpr ControlDescription controls[] = {
    {.Name = "Command2",
     .Kind = ControlKind::CommandButton,
     .Caption = "清除畫面",
     .Left = 3360,
     .Top = 600,
     .Width = 615,
     .Height = 615,
     .TabIndex = 3},
    {.Name = "Command1",
     .Kind = ControlKind::CommandButton,
     .Caption = "關閉程式",
     .Left = 6360,
     .Top = 120,
     .Width = 1455,
     .Height = 375,
     .TabIndex = 1},
    {.Name = "Label2",
     .Kind = ControlKind::Label,
     .Caption = "",
     .Left = 360,
     .Top = 720,
     .Width = 2895,
     .Height = 375,
     .BackColor = ColorValue{0x80000014},
     .BorderStyle = LabelBorderStyle::Single,
     .TabIndex = 2},
    {.Name = "Line1", .Kind = ControlKind::Line, .X1 = 4080, .Y1 = 480, .X2 = 4080, .Y2 = 5760},
    {.Name = "Label1",
     .Kind = ControlKind::Label,
     .Caption = "本程式叫星河板，不是打錯字，是因為本程式有加減功能!",
     .Left = 240,
     .Top = 120,
     .Width = 6615,
     .Height = 495,
     .BackStyle = LabelBackStyle::Transparent,
     .TabIndex = 0},
};

void endProgram(WindowServices& ws) { ws.endProgram(); }
void clearDisplay(WindowServices& ws) { ws.setCaption(Form2, "Label2", ""); }
// Closed from its title bar, the side tool gives the screen back to the
// welcome window, so that the station never runs with no window to show.
void returnToWelcome(WindowServices& ws) { ws.show(Form1); }

constexpr EventBinding handlers[] = {
    {"Command1", Event::Click, endProgram},
    {"Command2", Event::Click, clearDisplay},
    {ThisWindow, Event::Unload, returnToWelcome},
};

}  // namespace

constexpr FormDescription Form2{
    .Name = "Form2",
    .Caption = "星河板",
    .BackColor = {0x00C0C0FF},
    .Icon = {"icon"},
    .MaxButton = true,
    .ClientWidth = 8460,
    .ClientHeight = 5790,
    .StartUpPosition = 3,
    .Controls = controls,
};
static_assert(hasValidTabOrder(Form2));

const std::span<const EventBinding> Form2Handlers = handlers;

}  // namespace ws
