#include "framework/qt/conversions.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QPixmapCache>

namespace ws::qt {

namespace {

// The Windows faces and the Debian fonts that render them.
constexpr struct {
    const char* face;
    const char* substitute;
} fontSubstitutes[] = {
    {"新細明體", "AR PL UMing TW"}, {"細明體", "AR PL UMing TW"},  {"PMingLiU", "AR PL UMing TW"},
    {"標楷體", "AR PL UKai TW"},    {"DFKai-SB", "AR PL UKai TW"},
};

// Controls that name no font get the station's usual 9-point Ming face.
constexpr FontDescription defaultFont{"新細明體", 9, 400, 136};

}  // namespace

QColor toQColor(ColorValue color, const QPalette& palette) {
    if (!color.isSystem()) {
        const Rgb c = color.literal();
        return QColor(c.red, c.green, c.blue);
    }
    // Windows' system colour indices, by the role each plays.
    switch (color.systemIndex()) {
        case ColorValue::WindowBackground:
            return palette.color(QPalette::Base);
        case ColorValue::WindowText:
            return palette.color(QPalette::Text);
        case ColorValue::Highlight3D:
            return palette.color(QPalette::Light);
        case 13:
            return palette.color(QPalette::Highlight);
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 15:
            return palette.color(QPalette::Button);
        case 16:
            return palette.color(QPalette::Dark);
        case 18:
            return palette.color(QPalette::ButtonText);
        case 23:
            return palette.color(QPalette::ToolTipText);
        case 24:
            return palette.color(QPalette::ToolTipBase);
        default:
            return palette.color(QPalette::Window);
    }
}

QFont toQFont(const FontDescription* font) {
    const FontDescription& f = font ? *font : defaultFont;
    QFont q(fromUtf8(f.face));
    // Points at the layout density, as whole pixels: 11.25 pt is 15 px.
    q.setPixelSize(static_cast<int>(std::lround(f.points * layoutDpi / 72.0)));
    q.setWeight(static_cast<QFont::Weight>(std::clamp<int>(f.weight, 1, 1000)));
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikeout);
    return q;
}

QString stripTimeZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') {
            // Drop the zone and the blank or bracket that sets it apart.
            while (!out.isEmpty() &&
                   (out.back() == u' ' || out.back() == u'(' || out.back() == u'['))
                out.chop(1);
            while (i + 1 < format.size() && format[i + 1] == u't') ++i;
            while (i + 1 < format.size() && (format[i + 1] == u')' || format[i + 1] == u']')) ++i;
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

QString timeFormatToTheSecond(const QLocale& locale) {
    const QString format = stripTimeZone(locale.timeFormat(QLocale::LongFormat));
    return format.contains(u's') ? format : QStringLiteral("HH:mm:ss");
}

QString resourcePath(ImageResource image) {
    return QStringLiteral(":/images/") + fromUtf8(image.name);
}

QImage withBlackTransparent(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] & 0x00FFFFFFu) == 0) row[x] = 0;
    }
    return out;
}

void prepareApplication() {
    for (const auto& s : fontSubstitutes)
        QFont::insertSubstitution(QString::fromUtf8(s.face), QString::fromUtf8(s.substitute));
    QApplication::setFont(toQFont(nullptr));
    // The style caches its drawings per palette, and every window built anew
    // brings new palettes: over a day of help windows the cache would fill
    // its 10 MB default with drawings never used again. A few windows of
    // buttons need far less.
    QPixmapCache::setCacheLimit(1024);
    QApplication::setQuitOnLastWindowClosed(false);
}

}  // namespace ws::qt
