#include "windows/form3.h"

namespace ws {

namespace {

constexpr FontDescription mingBold11{"新細明體", 11.25, 700, 136};

constexpr ControlDescription controls[] = {
    {.Name = "Label1",
     .Kind = ControlKind::Label,
     .Caption = "1.本程式目前屬於開源軟體，歡迎需要的人跟製作者要源始碼。",
     .Left = 360,
     .Top = 360,
     .Width = 7095,
     .Height = 495,
     .BackStyle = LabelBackStyle::Transparent,
     .Font = &mingBold11,
     .TabIndex = 0},
};

}  // namespace

constexpr FormDescription Form3{
    .Name = "Form3",
    .Caption = "Form3",
    .BackColor = {0x00C0FFC0},
    .Icon = {"icon"},
    .MaxButton = true,
    .ClientWidth = 7815,
    .ClientHeight = 4965,
    .StartUpPosition = 3,
    .Controls = controls,
};
static_assert(hasValidTabOrder(Form3));

}  // namespace ws
