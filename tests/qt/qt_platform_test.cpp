// What only the Qt platform has to get right: the fonts it picks for the
// Windows faces, the time format it derives from the locale, the icon mask,
// where a timer's first tick falls.
#include "framework/qt/qt_platform.h"

#include <climits>
#include <string_view>

#include <QFontInfo>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QTime>
#include <QWidget>
#include <gtest/gtest.h>

#include "framework/automation.h"
#include "framework/qt/controls.h"
#include "framework/qt/conversions.h"
#include "station/form1.h"
#include "station/program.h"

namespace ws::qt {
namespace {

TEST(QtFonts, TheWindowsFacesResolveToFontsThatRenderTraditionalChinese) {
    prepareApplication();
    const FontDescription ming{"新細明體", 24, 400, 136}, kai{"標楷體", 14.25, 400, 136};
    EXPECT_EQ(QFontInfo(toQFont(&ming)).family(), "AR PL UMing TW");
    EXPECT_EQ(QFontInfo(toQFont(&kai)).family(), "AR PL UKai TW");
    // Controls that name no font still show the notices' characters.
    const QFontMetrics fallback(toQFont(nullptr));
    for (char16_t c : std::u16string_view(u"歡迎使用電腦機台說明"))
        EXPECT_TRUE(fallback.inFont(QChar(c))) << int(c);
}

TEST(QtFonts, PointsBecomeWholePixelsAtTheLayoutDensityWithWeight) {
    const struct {
        double points;
        int pixels;
    } sizes[] = {{11.25, 15}, {14.25, 19}, {15.75, 21}, {18, 24}, {24, 32}, {9, 12}};
    for (const auto& s : sizes) {
        const FontDescription f{"新細明體", s.points, 700, 136};
        const QFont q = toQFont(&f);
        EXPECT_EQ(q.pixelSize(), s.pixels) << s.points;
        EXPECT_EQ(q.weight(), QFont::Bold);
    }
}

TEST(QtTime, TheTimeZoneIsDroppedFromTheLocalesFormat) {
    const struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"HH:mm:ss t", "HH:mm:ss"},    {"h:mm:ss AP t", "h:mm:ss AP"},
        {"Ah:mm:ss [t]", "Ah:mm:ss"},  {"HH:mm:ss (tttt)", "HH:mm:ss"},
        {"tttt HH:mm:ss", "HH:mm:ss"}, {"H'h'mm'min'ss's' t", "H'h'mm'min'ss's'"},
        {"HH:mm:ss", "HH:mm:ss"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stripTimeZone(QString::fromUtf8(c.format)), QString::fromUtf8(c.expected))
            << c.format;
}

TEST(QtTime, EveryLocaleGivesTheTimeToTheSecondWithoutDateOrZone) {
    for (const char* name : {"C", "zh_TW", "en_US", "de_DE", "ja_JP", "ar_EG", "fi_FI"}) {
        QString format = timeFormatToTheSecond(QLocale(QString::fromLatin1(name)));
        format.remove(QRegularExpression(QStringLiteral("'[^']*'")));  // quoted literals
        EXPECT_TRUE(format.contains(u's')) << name;
        for (char16_t field : std::u16string_view(u"tdMy"))
            EXPECT_FALSE(format.contains(QChar(field))) << name << ": " << format.toStdString();
    }
    EXPECT_EQ(QLocale::c().toString(QTime(21, 5, 9), timeFormatToTheSecond(QLocale::c())),
              "21:05:09");
}

TEST(QtTimer, WholeSecondPeriodsEndOnTheNearestWholeSecondAndOthersRunAsTheyAre) {
    const struct {
        std::uint32_t period;
        int intoSecond;
        int first;
    } cases[] = {
        {1000, 0, 1000},
        {1000, 300, 700},
        {1000, 499, 501},
        {1000, 500, 1500},
        {1000, 999, 1001},
        {5000, 250, 4750},
        {250, 700, 250},
        {1500, 300, 1500},
        {1, 900, 1},
        {4294967000u, 0, INT_MAX},
        {2147483000u, 900, 2147483100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstTickDelay(c.period, c.intoSecond), c.first)
            << c.period << " ms from " << c.intoSecond;
}

TEST(QtIcon, TheProgramIconIsTransparentOutsideItsButton) {
    QtPlatform platform(stationProgram());
    const QImage icon = platform.programIcon().pixmap(255, 255).toImage();
    ASSERT_EQ(icon.size(), QSize(255, 255));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(254, 254)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(127, 127)), 255);
    EXPECT_EQ(qAlpha(icon.pixel(127, 20)), 255);
}

// A window that is none of the program's stands in for another application:
// coming back from it is no new activation of the welcome window.
TEST(QtActivation, ComingBackFromAnotherApplicationIsNoNewActivation) {
    auto app = automate(stationProgram());
    app->startUp();
    ASSERT_TRUE(app->runUntil([&] { return app->isActive(Form1); }, 5000));
    app->services().setInterval(Form1, "Timer1", 0);

    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(app->runUntil([&] { return elsewhere.isActiveWindow(); }, 5000));
    app->activate(Form1);
    ASSERT_TRUE(app->runUntil([&] { return app->isActive(Form1); }, 5000));
    EXPECT_EQ(app->intervalOf(Form1, "Timer1"), 0u) << "Activate ran again";
}

}  // namespace
}  // namespace ws::qt
