// The station program driven on the real platform, one fresh program per
// test: what every scenario starts from.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/automation.h"
#include "station/form1.h"
#include "station/program.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace ws::testing {

// How long a scenario waits for something the platform does by itself
// (a window becoming active, a clock tick) before calling it a failure.
inline constexpr int patience = 5000;

class Station : public ::testing::Test {
protected:
    void SetUp() override {
        app = automate(stationProgram());
        app->onMessageBox([this](const MessageBoxSeen& box) {
            boxes.push_back(box);
            welcomeVisibleDuringBox = app->isVisible(Form1);
            clockDuringBox = app->intervalOf(Form1, "Timer1");
        });
    }
    void TearDown() override { app.reset(); }

    // Start-up as the user sees it: the greeting box, OK, then the welcome
    // window active.
    void start() {
        app->startUp();
        ASSERT_TRUE(app->runUntil([this] { return app->isActive(Form1); }, patience));
    }
    bool waitActive(const FormDescription& form) {
        return app->runUntil([&] { return app->isActive(form); }, patience);
    }
    // Waits for the clock label to show a new text; returns it.
    std::string nextTick() {
        const std::string before = app->textOf(Form1, "Label3");
        std::string now = before;
        app->runUntil([&] { return (now = app->textOf(Form1, "Label3")) != before; }, patience);
        return now;
    }

    std::unique_ptr<Automation> app;
    std::vector<MessageBoxSeen> boxes;
    bool welcomeVisibleDuringBox = true;
    std::uint32_t clockDuringBox = 12345;
};

// The form's pixels outside a rectangle, to compare a window before and
// after something that must leave it unchanged (the clock keeps ticking).
inline std::vector<Rgb> pixelsOutside(const Image& image, Rect hole) {
    std::vector<Rgb> out;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (x < hole.x || x >= hole.x + hole.width || y < hole.y || y >= hole.y + hole.height)
                out.push_back(image.at(x, y));
    return out;
}

}  // namespace ws::testing
