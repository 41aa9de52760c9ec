// The controls Qt has no exact match for: the windowless label, the push
// button whose caption wraps, the line and the timer.
#pragma once

#include <cstdint>
#include <functional>

#include <QBasicTimer>
#include <QPushButton>
#include <QTextLayout>
#include <QWidget>

#include "framework/window_description.h"

namespace ws::qt {

// Paints itself: an opaque label fills its rectangle, a transparent one lets
// what lies beneath show through. The caption starts at the top-left
// corner, wraps where it must and is clipped to the rectangle.
class LabelWidget final : public QWidget {
public:
    LabelWidget(const ControlDescription& description, QWidget* parent);
    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect textArea() const;
    void layOut();

    QString caption_;
    // The caption laid out once, and again only when the caption, the font
    // or the size changes: the clock sets its label every second.
    QTextLayout layout_;
    // What the laid-out caption covers: a new caption repaints only this
    // and what the old one covered, and a transparent label has nothing to
    // paint outside it.
    QRect ink_;
    bool laidOut_ = false;
    bool opaque_;
    bool bordered_;
};

// A push button whose caption wraps onto more lines when it does not fit on
// one; Enter and Space press it when it has the focus.
class CaptionButton final : public QPushButton {
public:
    CaptionButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A one-pixel line between two points of its container.
class LineWidget final : public QWidget {
public:
    LineWidget(const ControlDescription& description, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint from_, to_;
};

// How long until a timer's first tick, started this far into a second of the
// toolkit's clock: a period of whole seconds ends on the nearest whole
// second, any other runs as it is; at least 1 ms, at most INT_MAX.
int firstTickDelay(std::uint32_t periodMs, int msIntoSecond);

// A timer control. Its ticks are precise, so that a clock it drives never
// skips or repeats a second. A period of whole seconds is also laid on the
// whole seconds of the toolkit's clock, where Qt's coarse timers (a text
// box's blinking caret among them) fall: the program then wakes once for
// both. The first tick comes at the whole second nearest one period on.
class ControlTimer final : public QObject {
public:
    ControlTimer(std::function<void()> tick, QObject* parent);
    // 0 stops the timer; the period it already has keeps its phase.
    void setPeriod(std::uint32_t ms);
    // 0 while stopped.
    std::uint32_t period() const { return period_; }
    // One tick now, as if it were due; nothing while stopped.
    void fire();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::function<void()> tick_;
    QBasicTimer timer_;
    std::uint32_t period_ = 0;
    bool aligning_ = false;  // the first, shortened or stretched, period runs
};

}  // namespace ws::qt
