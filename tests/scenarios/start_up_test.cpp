// Start-up: the greeting box, then the welcome window with its focus and
// its clock.
#include "scenarios/station.h"

namespace ws::testing {
namespace {

using StartUp = Station;

TEST_F(StartUp, GreetsWithTheBoxBeforeTheWindowAndStartsTheClockOnlyAfterOk) {
    start();
    ASSERT_EQ(boxes.size(), 1u);
    const MessageBoxSeen& box = boxes.front();
    EXPECT_EQ(box.prompt, "歡迎使用本系統!");
    EXPECT_EQ(box.title, "確認訊息");
    EXPECT_TRUE(box.informationIcon);
    EXPECT_EQ(box.buttons.size(), 1u);
    EXPECT_TRUE(box.blocksOtherWindows);
    // While the box was up the window was built but hidden, its clock stopped.
    EXPECT_FALSE(welcomeVisibleDuringBox);
    EXPECT_EQ(clockDuringBox, 0u);

    EXPECT_TRUE(app->isVisible(Form1));
    EXPECT_EQ(app->focusedControl(Form1), "Text1");
    EXPECT_EQ(app->intervalOf(Form1, "Timer1"), 1000u);
}

TEST_F(StartUp, TheClockIsEmptyAtFirstThenShowsTheTimeEverySecond) {
    start();
    EXPECT_EQ(app->textOf(Form1, "Label3"), "");
    app->runFor(400);
    EXPECT_EQ(app->textOf(Form1, "Label3"), "") << "ticked well before its first second";

    // Each tick writes the time of day as it is at that moment.
    std::vector<std::string> shown;
    for (int tick = 0; tick < 3; ++tick) {
        const std::string before = app->textOf(Form1, "Label3");
        std::string earlier = app->services().timeOfDay(), now = before, later;
        const bool ticked = app->runUntil(
            [&] {
                if ((now = app->textOf(Form1, "Label3")) != before) return true;
                earlier = app->services().timeOfDay();
                return false;
            },
            patience);
        later = app->services().timeOfDay();
        ASSERT_TRUE(ticked) << "no tick " << tick;
        EXPECT_TRUE(now == earlier || now == later)
            << now << " not in " << earlier << ".." << later;
        shown.push_back(now);
    }
    EXPECT_NE(shown[0], shown[1]);
    EXPECT_NE(shown[1], shown[2]);
}

TEST_F(StartUp, TheTimeOfDayIsToTheSecondWithoutADate) {
    const std::string time = app->services().timeOfDay();
    int digits = 0;
    for (char c : time) digits += c >= '0' && c <= '9';
    EXPECT_GE(digits, 5) << time;  // hours, minutes and seconds
    EXPECT_LE(digits, 6) << time;  // and no date
}

TEST_F(StartUp, TabCyclesOverTheTextBoxAndTheButtonOnly) {
    start();
    const struct {
        Key key;
        const char* focus;
    } steps[] = {
        {Key::Tab, "Command1"},   {Key::Tab, "Text1"},         {Key::Tab, "Command1"},
        {Key::ShiftTab, "Text1"}, {Key::ShiftTab, "Command1"}, {Key::ShiftTab, "Text1"},
    };
    for (const auto& step : steps) {
        app->pressKey(Form1, step.key);
        app->runFor(20);
        EXPECT_EQ(app->focusedControl(Form1), step.focus);
    }
}

TEST_F(StartUp, TheWelcomeWindowHasItsSizeTitleMenusAndNoMaximiseBox) {
    start();
    const FrameSeen frame = app->frameOf(Form1);
    EXPECT_EQ(frame.caption, " 晨光視窗");
    EXPECT_FALSE(frame.hasMaximizeButton);
    EXPECT_TRUE(frame.hasMinimizeButton);
    EXPECT_TRUE(frame.resizable);
    EXPECT_EQ(frame.iconWidth, 255);
    EXPECT_EQ(frame.iconHeight, 255);

    const Image client = app->grabClient(Form1);
    const int dpi = app->dpi(Form1);
    EXPECT_EQ(client.width, toPixels(7845, dpi));
    EXPECT_EQ(client.height, toPixels(4815, dpi));

    const struct {
        const char* item;
        const char* caption;
    } menu[] = {{"cc", "功能"},      {"a", "關閉程式"},    {"b", "開啟光碟機"},
                {"c", "關閉光碟機"}, {"bb", "到其它程式"}, {"d", "星河板"}};
    for (const auto& m : menu) EXPECT_EQ(app->menuCaption(Form1, m.item), m.caption) << m.item;
}

TEST_F(StartUp, ControlsInTheFrameArePlacedFromTheFramesCorner) {
    start();
    const int dpi = app->dpi(Form1);
    const auto at = [dpi](int twips) { return toPixels(twips, dpi); };
    EXPECT_EQ(app->rectOf(Form1, "Frame1"), (Rect{at(120), at(2640), at(3735), at(2055)}));
    EXPECT_EQ(app->rectOf(Form1, "Command1"),
              (Rect{at(120) + at(600), at(2640) + at(720), at(2055), at(495)}));
    EXPECT_EQ(app->rectOf(Form1, "Label2"),
              (Rect{at(120) + at(240), at(2640) + at(360), at(3255), at(1215)}));
}

}  // namespace
}  // namespace ws::testing
