// The commands of the three windows: menus, buttons, keys.
#include <cstdlib>

#include "scenarios/station.h"
#include "station/drive_tray.h"

namespace ws::testing {
namespace {

using Commands = Station;

// Ends the child process with an unexpected status if the statement before
// it came back: end program never returns.
#define EXPECT_PROGRAM_ENDS(statement) \
    EXPECT_EXIT(                       \
        {                              \
            statement;                 \
            std::_Exit(7);             \
        },                             \
        ::testing::ExitedWithCode(0), "")

TEST_F(Commands, MenuItemAEndsTheProgramAtOnce) {
    EXPECT_PROGRAM_ENDS({
        start();
        app->chooseMenuItem(Form1, "a");
    });
}

TEST_F(Commands, MenuItemAEndsTheProgramWithTheHelpWindowOpen) {
    EXPECT_PROGRAM_ENDS({
        start();
        app->click(Form1, "Command1");
        waitActive(Form3);
        app->chooseMenuItem(Form1, "a");
    });
}

std::vector<std::string> sent;
std::uint32_t record(Text command) {
    sent.emplace_back(command);
    return 263;  // whatever the interpreter says is dropped
}

TEST_F(Commands, TrayCommandsSendTheirExactStringsOnceEachAndChangeNothing) {
    start();
    const Rect clock = app->rectOf(Form1, "Label3");
    const auto before = pixelsOutside(app->grabClient(Form1), clock);
    sent.clear();
    {
        DriveTray::Redirect to(record);
        for (const char* item : {"b", "b", "c", "c"}) {
            app->chooseMenuItem(Form1, item);
            app->runFor(20);
        }
    }
    EXPECT_EQ(sent,
              (std::vector<std::string>{"set CDAudio door open", "set CDAudio door open",
                                        "set CDAudio door closed", "set CDAudio door closed"}));
    EXPECT_TRUE(app->isActive(Form1));
    EXPECT_EQ(app->focusedControl(Form1), "Text1");
    EXPECT_EQ(pixelsOutside(app->grabClient(Form1), clock), before);
    EXPECT_EQ(boxes.size(), 1u) << "only the greeting";
}

TEST_F(Commands, TrayCommandsReachTheRealInterpreterSilently) {
    start();
    app->chooseMenuItem(Form1, "b");
    app->chooseMenuItem(Form1, "c");
    app->runFor(50);
    EXPECT_TRUE(app->isActive(Form1));
    EXPECT_EQ(app->windowsOnScreen(), 1);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(Commands, TheHelpButtonOpensOneHelpWindowAndBringsItToTheFront) {
    start();
    app->click(Form1, "Command1");
    ASSERT_TRUE(waitActive(Form3));
    EXPECT_EQ(app->focusedControl(Form3), "") << "the help window has nothing to focus";
    EXPECT_EQ(app->frameOf(Form3).caption, "Form3");
    EXPECT_TRUE(app->frameOf(Form3).hasMaximizeButton);

    app->activate(Form1);
    ASSERT_TRUE(waitActive(Form1));
    app->runFor(20);
    // The button keeps the focus its click gave it; Enter presses it.
    ASSERT_EQ(app->focusedControl(Form1), "Command1");
    app->pressKey(Form1, Key::Enter);
    EXPECT_TRUE(app->isVisible(Form3));
    ASSERT_TRUE(waitActive(Form3));
    EXPECT_EQ(app->windowsOnScreen(), 2);
}

TEST_F(Commands, EveryReturnToTheWelcomeWindowRestartsItsClock) {
    start();
    app->click(Form1, "Command1");
    ASSERT_TRUE(waitActive(Form3));
    app->services().setInterval(Form1, "Timer1", 0);
    app->activate(Form1);
    ASSERT_TRUE(waitActive(Form1));
    EXPECT_EQ(app->intervalOf(Form1, "Timer1"), 1000u);

    app->closeFromTitleBar(Form3);
    ASSERT_TRUE(waitActive(Form1));
    EXPECT_FALSE(app->isBuilt(Form3));
    EXPECT_FALSE(nextTick().empty());
}

TEST_F(Commands, TheSideToolReplacesTheWelcomeWindowWhoseClockRunsOn) {
    start();
    app->click(Form1, "Command1");
    ASSERT_TRUE(waitActive(Form3));
    app->chooseMenuItem(Form1, "d");
    ASSERT_TRUE(waitActive(Form2));
    EXPECT_TRUE(app->isBuilt(Form1));
    EXPECT_FALSE(app->isVisible(Form1));
    EXPECT_TRUE(app->isVisible(Form3)) << "the help window stays open";
    EXPECT_EQ(app->focusedControl(Form2), "Command1");
    EXPECT_FALSE(nextTick().empty()) << "the hidden window's clock stopped";
}

TEST_F(Commands, ClearingTheDisplayEmptiesIt) {
    start();
    app->chooseMenuItem(Form1, "d");
    ASSERT_TRUE(waitActive(Form2));
    app->services().setCaption(Form2, "Label2", "12 + 30");
    for (int press = 0; press < 2; ++press) {  // the second finds it empty
        app->click(Form2, "Command2");
        EXPECT_EQ(app->textOf(Form2, "Label2"), "");
    }
    EXPECT_TRUE(app->isActive(Form2));
}

TEST_F(Commands, TheSideToolsCloseButtonEndsTheProgramByMouseOrKeyboard) {
    const struct {
        const char* how;
        Key key;
    } ways[] = {{"Space", Key::Space}, {"Enter", Key::Enter}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        EXPECT_PROGRAM_ENDS({
            start();
            app->chooseMenuItem(Form1, "d");
            waitActive(Form2);
            app->pressKey(Form2, way.key);  // Command1 has the focus
            app->runFor(100);
        });
    }
    EXPECT_PROGRAM_ENDS({
        start();
        app->chooseMenuItem(Form1, "d");
        waitActive(Form2);
        app->click(Form2, "Command1");
    });
}

}  // namespace
}  // namespace ws::testing
