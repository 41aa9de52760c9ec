// Drives a running program the way a user would, and reads back what the
// user would see. Each platform implements it on its real windows, so that
// one suite of scenarios proves every platform. Only tests link it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/window_services.h"

namespace ws {

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // row by row from the top-left corner
    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

struct MessageBoxSeen {
    std::string prompt, title;
    bool informationIcon = false;
    std::vector<std::string> buttons;  // their captions, left to right
    bool blocksOtherWindows = false;   // modal over the whole program
};

enum class Key { Tab, ShiftTab, Space, Enter };

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct FrameSeen {
    bool hasMaximizeButton = false, hasMinimizeButton = false, resizable = false;
    std::string caption;
    int iconWidth = 0, iconHeight = 0;  // the window's own icon; 0 when it has none
};

class Automation {
public:
    virtual ~Automation() = default;

    virtual WindowServices& services() = 0;
    // What the platform does when the program starts: build the start-up
    // window hidden, run its Load, show it. Returns once it is shown.
    virtual void startUp() = 0;
    // Runs inside every message box while it is on screen; the box is then
    // dismissed with its OK button.
    virtual void onMessageBox(std::function<void(const MessageBoxSeen&)> seen) = 0;
    // Runs the event loop.
    virtual void runFor(int milliseconds) = 0;
    virtual bool runUntil(const std::function<bool()>& condition, int timeoutMilliseconds) = 0;
    // The platform's event loop would have ended: the last built window went.
    virtual bool programEnded() = 0;

    virtual bool isBuilt(const FormDescription& form) = 0;
    virtual bool isVisible(const FormDescription& form) = 0;
    virtual bool isActive(const FormDescription& form) = 0;
    // How many of the program's windows are on screen (visible).
    virtual int windowsOnScreen() = 0;
    // How many live windows of the platform belong to this description,
    // hidden ones included; closed ones gone.
    virtual int instancesOf(const FormDescription& form) = 0;
    // Where a control is placed, in pixels from the window's client origin;
    // unclipped, as its description puts it.
    virtual Rect rectOf(const FormDescription& form, Text control) = 0;
    // The name of the window's control with the keyboard focus, or empty.
    virtual std::string focusedControl(const FormDescription& form) = 0;
    // What a label, button or frame shows, or what a text box holds.
    virtual std::string textOf(const FormDescription& form, Text control) = 0;
    virtual std::uint32_t intervalOf(const FormDescription& form, Text timer) = 0;
    virtual std::string menuCaption(const FormDescription& form, Text item) = 0;
    virtual FrameSeen frameOf(const FormDescription& form) = 0;
    // Device-independent pixels per inch that twips are laid out at.
    virtual int dpi(const FormDescription& form) = 0;
    // The client area below the menu bar, as drawn on screen.
    virtual Image grabClient(const FormDescription& form) = 0;
    // The client area as it stands on screen now, not drawn again: what the
    // window's own repaints have left there.
    virtual Image grabShown(const FormDescription& form) = 0;

    virtual void click(const FormDescription& form, Text control) = 0;
    virtual void chooseMenuItem(const FormDescription& form, Text item) = 0;
    virtual void pressKey(const FormDescription& form, Key key) = 0;
    virtual void typeText(const FormDescription& form, Text control, Text text) = 0;
    // Puts the text on the clipboard and pastes it into the control.
    virtual void paste(const FormDescription& form, Text control, Text text) = 0;
    // Delivers one period of the timer at once, as the platform would.
    virtual void fireTimer(const FormDescription& form, Text timer) = 0;
    virtual void minimize(const FormDescription& form) = 0;
    virtual void activate(const FormDescription& form) = 0;
    virtual void resizeClient(const FormDescription& form, int width, int height) = 0;
    virtual void closeFromTitleBar(const FormDescription& form) = 0;
};

// The platform's automation of a fresh instance of the program.
std::unique_ptr<Automation> automate(const Program& program);

}  // namespace ws
