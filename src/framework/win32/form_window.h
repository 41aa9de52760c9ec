// One window built from its description: a top-level window whose client
// area paints the back colour and the picture beneath the controls. Labels
// and lines are windowless and painted by their container; buttons, text
// boxes and frames are child windows. The instance lives in the window's
// user data from WM_NCCREATE until WM_NCDESTROY.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/window_description.h"

namespace ws::win32 {

class Win32Platform;

inline constexpr wchar_t formClassName[] = L"WelcomeStationForm";
inline constexpr wchar_t frameClassName[] = L"WelcomeStationFrame";

class FormWindow {
public:
    // Makes the window, hidden, with its menu and timers; the rest waits for
    // complete(). A failure is reported and ends the program.
    static HWND create(Win32Platform& platform, const FormDescription& form);
    // Loads the images and fonts, makes the controls and sizes the window,
    // once. A window is completed before it is first shown or a control's
    // child window is looked up.
    void complete();
    // Completes the window once the thread's messages have twice fallen
    // quiet: a window loaded behind a message box is completed once the box
    // is up.
    void completeSoon();
    // The instance attached to one of this program's form windows, or null.
    static FormWindow* from(HWND window);
    // Registers the form and frame window classes; once per process is enough.
    static void registerClasses(HINSTANCE instance);

    HWND handle() const { return window_; }
    const FormDescription& form() const { return form_; }
    int dpi() const { return dpi_; }

    bool shownBefore() const { return shownBefore_; }
    void markShown() { shownBefore_ = true; }
    // Chooses the focusable control with the lowest TabIndex to have the
    // focus whenever the window is active.
    void focusFirstControl();
    // Tab and Shift+Tab: the next or previous focusable control in TabIndex
    // order, wrapping round.
    void moveFocus(bool forward);
    // The control that has the focus while the window is active, or will
    // have it when it is next activated; empty for none.
    std::string focusedControl() const;

    // Labels and timers; false when the window has none of that name.
    bool setLabelCaption(Text label, std::wstring caption);
    const std::wstring* labelCaption(Text label) const;
    bool setTimerInterval(Text timer, std::uint32_t ms);
    std::optional<std::uint32_t> timerInterval(Text timer) const;

    // The timer's id in WM_TIMER while it ticks.
    std::optional<UINT_PTR> tickingTimer(Text timer) const;

    // The child window of a button, text box or frame, or null.
    HWND controlWindow(Text name);
    // Where a control is placed in the window's client area, unclipped.
    std::optional<RECT> placement(Text name) const;
    std::optional<UINT> menuCommand(Text item) const;
    std::wstring menuCaption(Text item) const;
    // Sizes the frame so that the client area below the menu bar is this large.
    void resizeClient(int width, int height);

    // Paints the window or one of its frames: back colour, picture, the
    // frame's box, then the labels and lines in it, the earliest listed last.
    // Labels wholly outside the dirty rectangle, when one is given, are passed over.
    void paintContainer(HDC dc, HWND container, const RECT* dirty = nullptr);
    // Paints into a device context that is not the window's own, such as a
    // child's that wants its background, and leaves it as it found it: the
    // labels' fonts and colours stay behind in a context painted directly.
    void printClient(HDC dc, HWND container, const RECT* dirty = nullptr);
    // WM_PAINT of the window or a frame, through an off-screen buffer.
    void paintWindow(HWND container);
    // Paints a part of the window or a frame onto dc, through the buffer.
    void paintThroughBuffer(HDC dc, HWND container, const RECT& part);
    // For the frames, which forward their messages here.
    void command(WPARAM wParam, LPARAM lParam);
    HBRUSH controlBackground() const { return back_; }

private:
    struct Control {
        const ControlDescription* description = nullptr;
        const ControlDescription* container = nullptr;  // null: the window
        HWND window = nullptr;                          // buttons, text boxes, frames
        std::wstring caption;                           // labels
        std::uint32_t interval = 0;                     // timers
        // Labels: what their last drawing covered, in the container; unknown
        // until drawn and again once the caption or the fonts change.
        mutable std::optional<RECT> drawn;
    };

    FormWindow(Win32Platform& platform, const FormDescription& form);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void onActivate(WPARAM wParam);
    void onSetFocus();
    void onTimer(UINT_PTR id);
    void onClose();
    void onDpiChanged(int dpi, const RECT& suggested);

    void loadImages();
    HMENU buildMenu();
    void buildControls();
    void placeControls();
    void createFonts();
    void destroyFonts();
    // The off-screen buffer, grown to hold at least width x height; null
    // when there is no memory for it.
    HDC paintBuffer(HDC screen, int width, int height);
    void releaseBufferBitmap();
    void releasePaintBuffers();
    HFONT font(const FontDescription* font) const;
    int px(Twips t) const { return toPixels(t, dpi_); }
    RECT rectOf(const ControlDescription& d) const;
    void drawGroupBox(HDC dc, HWND frame) const;
    void drawLabel(HDC dc, const Control& label) const;
    void drawLine(HDC dc, const ControlDescription& line) const;
    const Control* find(Text name, ControlKind kind) const;
    Control* find(Text name, ControlKind kind);
    const Control* ofWindow(HWND window) const;
    static int idOf(std::size_t index) { return firstControlId + static_cast<int>(index); }
    int menuIdOf(const MenuItemDescription& item) const;

    static constexpr UINT_PTR completionTimerId = 1;
    static constexpr int keptBufferPixels = 64 * 1024;
    static constexpr int firstControlId = 100;
    static constexpr int firstMenuId = 1000;

    Win32Platform& platform_;
    const FormDescription& form_;
    HWND window_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::vector<Control> controls_;  // every control, frames' children after their frame
    std::vector<const MenuItemDescription*> menuItems_;
    std::map<const FontDescription*, HFONT> fonts_;  // null: the default font
    HBRUSH back_ = nullptr;
    HBITMAP picture_ = nullptr;
    // Kept from one paint to the next: making a device context, and
    // selecting a font into it, costs the display driver a lookup of its
    // settings each time, and the clock repaints every second.
    HDC buffer_ = nullptr, pictureSource_ = nullptr;
    HBITMAP bufferBitmap_ = nullptr;
    HGDIOBJ bufferInitial_ = nullptr, pictureInitial_ = nullptr;
    SIZE bufferSize_{0, 0};
    HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
    HWND focus_ = nullptr;  // the control to focus when the window is next activated
    bool completed_ = false;
    bool completionArmed_ = false;
    bool shownBefore_ = false;
};

}  // namespace ws::win32
