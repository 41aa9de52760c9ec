// The description records: units, colours, and the invariants every window
// of the program keeps.
#include <gtest/gtest.h>

#include "framework/window_services.h"
#include "station/program.h"

namespace ws {
namespace {

TEST(Twips, ConvertToPixelsAtTheWindowsDensity) {
    struct Case {
        int twips, dpi, pixels;
    } cases[] = {
        {15, 96, 1},  {7845, 96, 523},  {4815, 96, 321},  {30, 96, 2},
        {15, 144, 2}, {7845, 144, 785}, {1440, 120, 120}, {7, 96, 0},  // under half a pixel
        {8, 96, 1},   {0, 96, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
}

TEST(ColorValue, DecodesLiteralsAsBlueGreenRedAndSystemColoursByIndex) {
    EXPECT_EQ((ColorValue{0x00C0FFFF}.literal()), (Rgb{255, 255, 192}));
    EXPECT_EQ((ColorValue{0x00C0C0FF}.literal()), (Rgb{255, 192, 192}));
    EXPECT_EQ((ColorValue{0x000000FF}.literal()), (Rgb{255, 0, 0}));
    EXPECT_FALSE(ColorValue{0x00C0FFC0}.isSystem());

    EXPECT_TRUE(ColorValue{0x80000005}.isSystem());
    EXPECT_EQ(ColorValue{0x80000005}.systemIndex(), ColorValue::WindowBackground);
    EXPECT_EQ(ColorValue{0x80000008}.systemIndex(), ColorValue::WindowText);
    EXPECT_EQ(ColorValue{0x80000014}.systemIndex(), ColorValue::Highlight3D);
}

TEST(Program, EveryWindowKeepsItsTabOrderAndBindsOnlyRealEvents) {
    const Program& program = stationProgram();
    ASSERT_EQ(program.Forms.size(), 3u);
    for (const FormBinding& b : program.Forms) {
        EXPECT_TRUE(hasValidTabOrder(*b.Form)) << b.Form->Name;
        EXPECT_TRUE(bindsOnlyRealEvents(b)) << b.Form->Name;
    }
}

// The checks must be able to fail: small broken descriptions.
constexpr ControlDescription gap[] = {
    {.Name = "Label1", .Kind = ControlKind::Label, .TabIndex = 0},
    {.Name = "Label2", .Kind = ControlKind::Label, .TabIndex = 2},
};
constexpr ControlDescription twice[] = {
    {.Name = "Label1", .Kind = ControlKind::Label, .TabIndex = 0},
    {.Name = "Command1", .Kind = ControlKind::CommandButton, .TabIndex = 0},
};
constexpr ControlDescription timerWithIndex[] = {
    {.Name = "Timer1", .Kind = ControlKind::Timer, .TabIndex = 0},
};
constexpr ControlDescription inFrame[] = {
    {.Name = "Command1", .Kind = ControlKind::CommandButton, .TabIndex = 1},
};
constexpr ControlDescription frameAndChild[] = {
    {.Name = "Frame1", .Kind = ControlKind::Frame, .TabIndex = 0, .Children = inFrame},
    {.Name = "Timer1", .Kind = ControlKind::Timer},
};

TEST(Program, TabOrderCheckRejectsGapsDuplicatesAndIndexedTimers) {
    EXPECT_FALSE(hasValidTabOrder({.Name = "F", .Controls = gap}));
    EXPECT_FALSE(hasValidTabOrder({.Name = "F", .Controls = twice}));
    EXPECT_FALSE(hasValidTabOrder({.Name = "F", .Controls = timerWithIndex}));
    EXPECT_TRUE(hasValidTabOrder({.Name = "F", .Controls = frameAndChild}));
}

void nothing(WindowServices&) {}

TEST(Program, BindingCheckRejectsEventsNothingRaises) {
    constexpr MenuItemDescription items[] = {{"a", "A", {}}};
    const FormDescription form{.Name = "F", .Controls = frameAndChild, .Menus = items};
    struct Case {
        EventBinding binding;
        bool real;
    } cases[] = {
        {{ThisWindow, Event::Load, nothing}, true},   {{ThisWindow, Event::Unload, nothing}, true},
        {{"Command1", Event::Click, nothing}, true},  // inside the frame
        {{"Timer1", Event::Timer, nothing}, true},    {{"a", Event::Click, nothing}, true},
        {{ThisWindow, Event::Click, nothing}, false}, {{"Frame1", Event::Click, nothing}, false},
        {{"Timer1", Event::Click, nothing}, false},   {{"Command9", Event::Click, nothing}, false},
        {{"Command1", Event::Click, nullptr}, false},
    };
    for (const Case& c : cases) {
        const EventBinding one[] = {c.binding};
        EXPECT_EQ(bindsOnlyRealEvents({&form, one}), c.real)
            << c.binding.Control << "." << c.binding.Event;
    }
    const EventBinding doubled[] = {{"a", Event::Click, nothing}, {"a", Event::Click, nothing}};
    EXPECT_FALSE(bindsOnlyRealEvents({&form, doubled}));
}

}  // namespace
}  // namespace ws
