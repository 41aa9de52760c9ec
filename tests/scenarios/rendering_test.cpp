// What the windows look like, read back from the pixels the platform drew.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "scenarios/station.h"

namespace ws::testing {
namespace {

using Rendering = Station;

// The welcome window's picture as the asset file holds it (24-bit BMP).
Image pictureAsset() {
    std::ifstream file(WS_ASSETS_DIR "/picture.bmp", std::ios::binary);
    const std::vector<unsigned char> b{std::istreambuf_iterator<char>(file), {}};
    const auto u32 = [&](std::size_t at) {
        return unsigned(b[at]) | unsigned(b[at + 1]) << 8 | unsigned(b[at + 2]) << 16 |
               unsigned(b[at + 3]) << 24;
    };
    Image image;
    if (b.size() < 54) return image;
    image.width = int(u32(18));
    image.height = int(u32(22));
    const std::size_t stride = (std::size_t(image.width) * 3 + 3) / 4 * 4, data = u32(10);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::size_t at =
                data + std::size_t(image.height - 1 - y) * stride + std::size_t(x) * 3;
            image.pixels.push_back({b[at + 2], b[at + 1], b[at]});
        }
    return image;
}

int differences(const Image& shot, const Image& picture, int width, int height) {
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) count += !(shot.at(x, y) == picture.at(x, y));
    return count;
}

constexpr Rgb lightYellow{255, 255, 192};

TEST_F(Rendering, ThePictureSitsUnscaledAtTheOriginWithTheBackColourAround) {
    const Image picture = pictureAsset();
    ASSERT_EQ(picture.width, 281);
    ASSERT_EQ(picture.height, 167);
    start();

    const struct {
        int width, height;  // of the client area; 0: as built
    } sizes[] = {{0, 0}, {760, 520}, {200, 120}, {523, 321}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        if (size.width) {
            app->resizeClient(Form1, size.width, size.height);
            app->runFor(50);
        }
        const Image shot = app->grabClient(Form1);
        if (size.width) {
            ASSERT_EQ(shot.width, size.width);
            ASSERT_EQ(shot.height, size.height);
        }
        const int w = std::min(shot.width, picture.width),
                  h = std::min(shot.height, picture.height);
        EXPECT_EQ(differences(shot, picture, w, h), 0);
        if (shot.width > picture.width) {
            EXPECT_EQ(shot.at(picture.width, 10), lightYellow) << "right of the picture";
            EXPECT_EQ(shot.at(0, picture.height), lightYellow) << "below the picture";
        }
        if (shot.width > 700) {
            EXPECT_EQ(shot.at(shot.width - 1, shot.height - 1), lightYellow) << "the new area";
            EXPECT_EQ(shot.at(600, 30), lightYellow);
        }
        // Nothing moved or grew.
        EXPECT_EQ(app->rectOf(Form1, "Text1").x, toPixels(4320, app->dpi(Form1)));
    }
}

TEST_F(Rendering, TheRedEditionMarkLiesOnTheVersionLabelsOpaqueBox) {
    start();
    const Image shot = app->grabClient(Form1);
    const Rect mark = app->rectOf(Form1, "Label6");
    int red = 0, yellow = 0;
    for (int y = mark.y; y < mark.y + mark.height; ++y)
        for (int x = mark.x; x < mark.x + mark.width; ++x) {
            red += shot.at(x, y) == Rgb{255, 0, 0};
            yellow += shot.at(x, y) == lightYellow;
        }
    EXPECT_GT(red, 40) << "the mark is drawn above the box";
    EXPECT_EQ(yellow, 0) << "the box beneath is opaque";
}

// Columns of a rectangle where something other than the background shows.
std::vector<bool> inkColumns(const Image& shot, Rect r, Rgb background) {
    std::vector<bool> ink(std::size_t(shot.width), false);
    for (int y = std::max(0, r.y); y < std::min(shot.height, r.y + r.height); ++y)
        for (int x = std::max(0, r.x); x < std::min(shot.width, r.x + r.width); ++x)
            if (!(shot.at(x, y) == background)) ink[std::size_t(x)] = true;
    return ink;
}

TEST_F(Rendering, TheClockRunsOnPastTheRightEdgeAndIsClippedThere) {
    start();
    const Rect clock = app->rectOf(Form1, "Label3");
    const Image before = app->grabClient(Form1);
    ASSERT_GT(clock.x + clock.width, before.width);
    app->services().setInterval(Form1, "Timer1", 0);
    // A caption wider than the visible part, narrower than the label.
    app->services().setCaption(Form1, "Label3", "88:88:88 88:88:88 88:88:88");
    app->runFor(50);
    const Image shot = app->grabClient(Form1);
    EXPECT_EQ(shot.width, before.width);
    const std::vector<bool> ink = inkColumns(shot, clock, lightYellow);
    int nearEdge = 0;
    for (int x = shot.width - 12; x < shot.width; ++x) nearEdge += ink[std::size_t(x)];
    EXPECT_GT(nearEdge, 0) << "the text stops short of the edge: wrapped or shrunk to fit";
}

int differences(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int count = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) count += !(a.pixels[i] == b.pixels[i]);
    return count;
}

// The clock repaints only part of the window each second: what it leaves on
// screen must be what a whole repaint draws, the label beside it included.
TEST_F(Rendering, TheClocksOwnRepaintsLeaveWhatAWholeRepaintDraws) {
    start();
    app->services().setInterval(Form1, "Timer1", 0);
    for (const char* caption : {"88:88:88 88:88:88", "8", "下午 12:34:56", ""}) {
        app->services().setCaption(Form1, "Label3", caption);
        app->runFor(50);
        const Image shown = app->grabShown(Form1);
        EXPECT_EQ(differences(shown, app->grabClient(Form1)), 0) << "after \"" << caption << "\"";
    }
}

// A window of labels on a plain background, for the text rules.
constexpr ControlDescription textLabels[] = {
    {.Name = "One",
     .Kind = ControlKind::Label,
     .Caption = "ab cd",
     .Left = 150,
     .Top = 150,
     .Width = 3000,
     .Height = 300,
     .BackStyle = LabelBackStyle::Transparent,
     .TabIndex = 0},
    {.Name = "Two",
     .Kind = ControlKind::Label,
     .Caption = "ab  cd",
     .Left = 150,
     .Top = 600,
     .Width = 3000,
     .Height = 300,
     .BackStyle = LabelBackStyle::Transparent,
     .TabIndex = 1},
    {.Name = "Nine",
     .Kind = ControlKind::Label,
     .Caption = "ab         cd",
     .Left = 150,
     .Top = 1050,
     .Width = 3000,
     .Height = 300,
     .BackStyle = LabelBackStyle::Transparent,
     .TabIndex = 2},
    {.Name = "Narrow",
     .Kind = ControlKind::Label,
     .Caption = "本程式目前屬於開源軟體歡迎需要的人跟製作者要源始碼",
     .Left = 150,
     .Top = 1500,
     .Width = 1500,
     .Height = 1500,
     .BackStyle = LabelBackStyle::Transparent,
     .TabIndex = 3},
};
constexpr FormDescription TextForm{.Name = "TextForm",
                                   .Caption = "Text",
                                   .BackColor = {0x00FFFFFF},
                                   .ClientWidth = 4500,
                                   .ClientHeight = 3300,
                                   .Controls = textLabels};
constexpr FormBinding textForms[] = {{&TextForm, {}}};
constexpr Program textProgram{&TextForm, textForms};

int lastInk(const std::vector<bool>& ink) {
    for (int x = int(ink.size()) - 1; x >= 0; --x)
        if (ink[std::size_t(x)]) return x;
    return -1;
}

TEST(TextRendering, RunsOfSpacesAreKept) {
    auto app = automate(textProgram);
    app->services().show(TextForm);
    app->runFor(50);
    const Image shot = app->grabClient(TextForm);
    const Rgb white{255, 255, 255};
    const int one = lastInk(inkColumns(shot, app->rectOf(TextForm, "One"), white));
    const int two = lastInk(inkColumns(shot, app->rectOf(TextForm, "Two"), white));
    const int nine = lastInk(inkColumns(shot, app->rectOf(TextForm, "Nine"), white));
    ASSERT_GT(one, 0);
    const int space = two - one;
    EXPECT_GE(space, 2) << "two spaces drawn as one";
    EXPECT_NEAR(nine - one, 8 * space, 8) << "nine spaces drawn as fewer";
}

TEST(TextRendering, ChineseTextWrapsBetweenCharactersInsideTheLabel) {
    auto app = automate(textProgram);
    app->services().show(TextForm);
    app->runFor(50);
    const Image shot = app->grabClient(TextForm);
    const Rect label = app->rectOf(TextForm, "Narrow");
    // The text has no space to break at; it must still wrap, line by line,
    // and stay inside the label.
    int inkRows = 0, outside = 0;
    for (int y = 0; y < shot.height; ++y) {
        bool ink = false;
        for (int x = 0; x < shot.width; ++x) {
            if (shot.at(x, y) == Rgb{255, 255, 255}) continue;
            const bool inside = x >= label.x && x < label.x + label.width && y >= label.y &&
                                y < label.y + label.height;
            if (y >= label.y && !inside) ++outside;
            ink = ink || inside;
        }
        inkRows += ink;
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inkRows, 30) << "one line only: the text did not wrap";
}

TEST_F(Rendering, TheSideToolsRuleEndsTwoPixelsAboveTheBottom) {
    start();
    app->chooseMenuItem(Form1, "d");
    ASSERT_TRUE(waitActive(Form2));
    const Image shot = app->grabClient(Form2);
    const int dpi = app->dpi(Form2);
    const int x = toPixels(4080, dpi), top = toPixels(480, dpi), bottom = toPixels(5760, dpi);
    const Rgb pink{255, 192, 192};
    EXPECT_EQ(shot.height - bottom, 2);
    EXPECT_FALSE(shot.at(x, (top + bottom) / 2) == pink);
    EXPECT_FALSE(shot.at(x, top + 1) == pink);
    EXPECT_EQ(shot.at(x, shot.height - 1), pink);
    EXPECT_EQ(shot.at(x, top - 2), pink);
}

TEST_F(Rendering, TheSquareButtonsCaptionWrapsRatherThanBeingClipped) {
    start();
    app->chooseMenuItem(Form1, "d");
    ASSERT_TRUE(waitActive(Form2));
    const Image shot = app->grabClient(Form2);
    const Rect square = app->rectOf(Form2, "Command2"), wide = app->rectOf(Form2, "Command1");
    // The rows of a button's face where its dark caption shows.
    const auto captionRows = [&](Rect r) {
        int first = -1, last = -1;
        // Inside the bevel and the focus rectangle, which some styles draw
        // three pixels in even when focus cues are hidden.
        for (int y = r.y + 4; y < r.y + r.height - 4; ++y)
            for (int x = r.x + 4; x < r.x + r.width - 4; ++x) {
                const Rgb c = shot.at(x, y);
                if (c.red + c.green + c.blue < 400) {
                    if (first < 0) first = y;
                    last = y;
                }
            }
        return last - first + 1;
    };
    const int oneLine = captionRows(wide);
    ASSERT_GT(oneLine, 5);
    EXPECT_GT(captionRows(square), oneLine * 3 / 2) << "the caption did not wrap";
}

}  // namespace
}  // namespace ws::testing
