// The records a window is described with: constant data, compiled into the
// program, that a platform turns into a real window. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ws {

using Text = std::string_view;  // UTF-8

// 1/1440 inch; 15 twips make a pixel at 96 dpi.
struct Twips {
    std::int32_t value = 0;
    constexpr Twips() = default;
    constexpr Twips(std::int32_t v) : value(v) {}  // NOLINT: tables read as plain numbers
    friend constexpr bool operator==(Twips, Twips) = default;
};

// Rounds to the nearest pixel, so that 15 twips are exactly one pixel at 96
// dpi and odd densities neither lose nor gain a pixel over a long edge.
constexpr int toPixels(Twips t, int dpi) {
    const std::int64_t scaled = std::int64_t{t.value} * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : (scaled - 720) / 1440);
}

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// 0x00BBGGRR literal colour, or 0x800000nn for the platform's system colour nn.
struct ColorValue {
    std::uint32_t raw = 0;

    static constexpr std::uint8_t WindowBackground = 5;
    static constexpr std::uint8_t WindowText = 8;
    static constexpr std::uint8_t Highlight3D = 20;

    constexpr bool isSystem() const { return (raw & 0xFF000000u) == 0x80000000u; }
    constexpr std::uint8_t systemIndex() const { return static_cast<std::uint8_t>(raw & 0xFFu); }
    constexpr Rgb literal() const {
        return {static_cast<std::uint8_t>(raw), static_cast<std::uint8_t>(raw >> 8),
                static_cast<std::uint8_t>(raw >> 16)};
    }
    friend constexpr bool operator==(ColorValue, ColorValue) = default;
};

struct FontDescription {
    Text face;
    double points = 0;
    std::uint16_t weight = 400;
    std::uint16_t charset = 0;
    bool italic = false, underline = false, strikeout = false;
};

enum class ControlKind { Label, CommandButton, TextBox, Frame, Timer, Line };

enum class LabelBackStyle { Transparent = 0, Opaque = 1 };
enum class LabelBorderStyle { None = 0, Single = 1 };

// One control. Which fields count depends on Kind; the rest keep their
// defaults. A TabIndex of -1 marks the kinds that have none (timer, line).
struct ControlDescription {
    Text Name;
    ControlKind Kind = ControlKind::Label;
    Text Caption;  // label, button, frame caption; the text box's Text
    Twips Left, Top, Width, Height;
    std::optional<ColorValue> ForeColor;
    std::optional<ColorValue> BackColor;
    LabelBackStyle BackStyle = LabelBackStyle::Opaque;
    LabelBorderStyle BorderStyle = LabelBorderStyle::None;
    const FontDescription* Font = nullptr;  // null: the platform's default
    int TabIndex = -1;
    std::uint32_t Interval = 0;                    // timer, milliseconds; 0: no ticks
    Twips X1, Y1, X2, Y2;                          // line, in the container's coordinates
    std::span<const ControlDescription> Children;  // frame

    constexpr bool takesFocus() const {
        return Kind == ControlKind::CommandButton || Kind == ControlKind::TextBox;
    }
};

struct MenuItemDescription {
    Text Name;
    Text Caption;
    std::span<const MenuItemDescription> Children;
};

// An image compiled into the program, named by its resource; empty: none.
struct ImageResource {
    Text name;
    constexpr bool present() const { return !name.empty(); }
};

struct FormDescription {
    Text Name;
    Text Caption;
    ColorValue BackColor;
    ImageResource Picture;
    ImageResource Icon;
    bool MaxButton = true;
    Twips ClientWidth, ClientHeight;
    int StartUpPosition = 3;  // the platform chooses the position
    std::span<const ControlDescription> Controls;
    std::span<const MenuItemDescription> Menus;
};

// Calls visit(control, container) for every control of the form, frames'
// children after their frame; container is null for the window itself.
template <typename Visit>
constexpr void forEachControl(std::span<const ControlDescription> controls, Visit&& visit,
                              const ControlDescription* container = nullptr) {
    for (const ControlDescription& c : controls) {
        visit(c, container);
        forEachControl(c.Children, visit, &c);
    }
}

template <typename Visit>
constexpr void forEachMenuItem(std::span<const MenuItemDescription> items, Visit&& visit) {
    for (const MenuItemDescription& m : items) {
        visit(m);
        forEachMenuItem(m.Children, visit);
    }
}

// TabIndex values of one window are distinct and run from 0 without gaps over
// its labels, frames, buttons and text boxes; timers and lines have none.
constexpr bool hasValidTabOrder(const FormDescription& form) {
    int count = 0;
    bool ok = true;
    forEachControl(form.Controls, [&](const ControlDescription& c, const ControlDescription*) {
        const bool indexed = c.Kind != ControlKind::Timer && c.Kind != ControlKind::Line;
        if (indexed != (c.TabIndex >= 0)) ok = false;
        if (indexed) ++count;
    });
    for (int wanted = 0; ok && wanted < count; ++wanted) {
        int seen = 0;
        forEachControl(form.Controls, [&](const ControlDescription& c, const ControlDescription*) {
            if (c.TabIndex == wanted) ++seen;
        });
        ok = seen == 1;
    }
    return ok;
}

// Finds a control anywhere in the form, frames' children included.
constexpr const ControlDescription* findControl(const FormDescription& form, Text name) {
    const ControlDescription* found = nullptr;
    forEachControl(form.Controls, [&](const ControlDescription& c, const ControlDescription*) {
        if (!found && c.Name == name) found = &c;
    });
    return found;
}

constexpr const MenuItemDescription* findMenuItem(const FormDescription& form, Text name) {
    const MenuItemDescription* found = nullptr;
    forEachMenuItem(form.Menus, [&](const MenuItemDescription& m) {
        if (!found && m.Name == name) found = &m;
    });
    return found;
}

}  // namespace ws
