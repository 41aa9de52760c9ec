// From the description's units, colours, fonts and texts to Qt's.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QPalette>
#include <QString>

#include "framework/window_description.h"

namespace ws::qt {

// Windows are laid out in device-independent pixels; Qt scales them for
// dense screens.
inline constexpr int layoutDpi = 96;
inline int px(Twips t) { return toPixels(t, layoutDpi); }

inline QString fromUtf8(Text text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor toQColor(ColorValue color, const QPalette& palette);
// Null: the default font of controls that name none.
QFont toQFont(const FontDescription* font);

// The locale's long time format without its time zone, and with seconds.
QString timeFormatToTheSecond(const QLocale& locale);
QString stripTimeZone(const QString& format);

QString resourcePath(ImageResource image);
// Qt's icon reader keeps no 1-bit mask of a 24-bit icon; the program icon
// uses pure black only outside its button, which is the masked part.
QImage withBlackTransparent(const QImage& image);

// Font substitutes for the Traditional Chinese faces the windows name, and
// the application-wide settings the platform relies on.
void prepareApplication();

}  // namespace ws::qt
