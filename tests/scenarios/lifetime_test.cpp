// Program lifetime: one instance per window, built on first use, destroyed
// when closed; the program lives while a window is built.
#include <cstdio>
#include <cstdlib>

#include "scenarios/station.h"

namespace ws::testing {
namespace {

using Lifetime = Station;

TEST_F(Lifetime, TheProgramGoesOnWhileTheHelpWindowOutlivesTheWelcomeWindow) {
    start();
    app->click(Form1, "Command1");
    ASSERT_TRUE(waitActive(Form3));
    app->closeFromTitleBar(Form1);
    app->runFor(20);
    EXPECT_FALSE(app->isBuilt(Form1));
    EXPECT_FALSE(app->programEnded());
    EXPECT_TRUE(app->isVisible(Form3));

    app->closeFromTitleBar(Form3);
    app->runFor(20);
    EXPECT_TRUE(app->programEnded());
}

TEST_F(Lifetime, AClosedHelpWindowIsBuiltAfreshOnTheNextPress) {
    start();
    app->click(Form1, "Command1");
    ASSERT_TRUE(waitActive(Form3));
    app->closeFromTitleBar(Form3);
    app->runFor(20);
    EXPECT_FALSE(app->isBuilt(Form3));
    EXPECT_TRUE(app->isVisible(Form1));
    app->click(Form1, "Command1");
    ASSERT_TRUE(waitActive(Form3));
    EXPECT_EQ(app->windowsOnScreen(), 2);
}

TEST_F(Lifetime, ClosingTheSideToolBringsBackTheWelcomeWindowWithItsClock) {
    start();
    app->chooseMenuItem(Form1, "d");
    ASSERT_TRUE(waitActive(Form2));
    app->services().setInterval(Form1, "Timer1", 0);
    app->closeFromTitleBar(Form2);
    ASSERT_TRUE(waitActive(Form1));
    EXPECT_FALSE(app->isBuilt(Form2));
    EXPECT_FALSE(app->programEnded());
    EXPECT_EQ(app->intervalOf(Form1, "Timer1"), 1000u) << "Activate did not run again";
    EXPECT_EQ(app->textOf(Form1, "Text1"), "本台電腦乃為開放式電腦，歡迎使用！\u3000")
        << "the same instance, not a rebuilt one";
}

TEST_F(Lifetime, EditedTextLivesAsLongAsItsWindow) {
    start();
    app->typeText(Form1, "Text1", "abc");
    EXPECT_EQ(app->textOf(Form1, "Text1").find("abc") != std::string::npos, true);
    app->chooseMenuItem(Form1, "d");
    ASSERT_TRUE(waitActive(Form2));
    app->closeFromTitleBar(Form2);
    ASSERT_TRUE(waitActive(Form1));
    EXPECT_NE(app->textOf(Form1, "Text1").find("abc"), std::string::npos) << "hidden keeps state";
}

// A small program of its own shows when Load runs and when handlers stop.
int loads = 0;
void countLoad(WindowServices&) { ++loads; }
void endThenCarryOn(WindowServices& ws) {
    ws.endProgram();
    std::fputs("a handler ran on after end program\n", stderr);
    std::_Exit(9);
}

constexpr ControlDescription probeControls[] = {
    {.Name = "Command1",
     .Kind = ControlKind::CommandButton,
     .Caption = "End",
     .Left = 150,
     .Top = 150,
     .Width = 1200,
     .Height = 375,
     .TabIndex = 0},
};
constexpr FormDescription Probe{.Name = "Probe",
                                .Caption = "Probe",
                                .BackColor = {0x00C0FFC0},
                                .ClientWidth = 3000,
                                .ClientHeight = 2000,
                                .Controls = probeControls};
constexpr FormDescription Broken{.Name = "Broken",
                                 .Caption = "Broken",
                                 .BackColor = {0x00C0FFC0},
                                 .Picture = {"no-such-picture"},
                                 .ClientWidth = 3000,
                                 .ClientHeight = 2000};
constexpr EventBinding probeHandlers[] = {
    {ThisWindow, Event::Load, countLoad},
    {"Command1", Event::Click, endThenCarryOn},
};
constexpr FormBinding probeForms[] = {{&Probe, probeHandlers}, {&Broken, {}}};
constexpr Program probeProgram{&Probe, probeForms};

TEST(LifetimeRules, LoadRunsOnceAnInstanceBeforeItIsFirstVisible) {
    loads = 0;
    auto app = automate(probeProgram);
    app->services().load(Probe);
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(app->isVisible(Probe)) << "built hidden";
    app->services().show(Probe);
    app->services().show(Probe);
    EXPECT_EQ(loads, 1);
    app->closeFromTitleBar(Probe);
    app->runFor(20);
    EXPECT_TRUE(app->programEnded());
    app->services().show(Probe);
    EXPECT_EQ(loads, 2) << "closed means destroyed: the next use builds it again";
}

TEST(LifetimeRules, EndProgramNeverReturns) {
    EXPECT_EXIT(
        {
            auto app = automate(probeProgram);
            app->services().show(Probe);
            app->click(Probe, "Command1");
            std::_Exit(8);
        },
        ::testing::ExitedWithCode(0), "");
}

// The platform reports what failed, in a box and on the error stream.
void failingServiceExits(const std::function<void(Automation&)>& failing) {
    auto app = automate(probeProgram);
    app->onMessageBox(
        [](const MessageBoxSeen& box) { std::fprintf(stderr, "box: %s\n", box.prompt.c_str()); });
    app->services().show(Probe);
    failing(*app);
    std::_Exit(0);  // a failure that went unnoticed
}

TEST(LifetimeRules, AFailingServiceIsReportedThenTheProgramExits) {
    const auto failed = ::testing::ExitedWithCode(1);
    EXPECT_EXIT(failingServiceExits([](Automation& a) { a.services().show(Broken); }), failed,
                "box: .*no-such-picture");
    EXPECT_EXIT(
        failingServiceExits([](Automation& a) { a.services().setCaption(Probe, "Label9", "x"); }),
        failed, "box: .*Label9");
    EXPECT_EXIT(
        failingServiceExits([](Automation& a) { a.services().setInterval(Probe, "Timer9", 10); }),
        failed, "box: .*Timer9");
}

}  // namespace
}  // namespace ws::testing
