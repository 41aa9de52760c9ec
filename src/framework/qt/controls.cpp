#include "framework/qt/controls.h"

#include <algorithm>
#include <climits>

#include <QDeadlineTimer>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>
#include <QtMath>

#include "framework/qt/conversions.h"

namespace ws::qt {

namespace {

QTextOption wrappingText(Qt::Alignment alignment) {
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

}  // namespace

LabelWidget::LabelWidget(const ControlDescription& d, QWidget* parent)
    : QWidget(parent),
      caption_(fromUtf8(d.Caption)),
      opaque_(d.BackStyle == LabelBackStyle::Opaque),
      bordered_(d.BorderStyle == LabelBorderStyle::Single) {
    QPalette p = palette();
    const QColor fore = toQColor(d.ForeColor.value_or(ColorValue{0x80000008}), p);
    p.setColor(QPalette::WindowText, fore);
    // A label that names no background takes its container's colour.
    if (d.BackColor)
        p.setColor(QPalette::Window, toQColor(*d.BackColor, p));
    else if (parent)
        p.setColor(QPalette::Window, parent->palette().color(QPalette::Window));
    setPalette(p);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LabelWidget::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    if (!laidOut_ || !isVisible()) {
        laidOut_ = false;
        return update();
    }
    // The clock's label is wider than its text and lies over another label:
    // only what the old and the new caption cover is painted again.
    const QRect before = ink_;
    layOut();
    update(before | ink_);
}

QRect LabelWidget::textArea() const { return bordered_ ? rect().adjusted(2, 1, -2, -1) : rect(); }

void LabelWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) laidOut_ = false;
    QWidget::changeEvent(event);
}

void LabelWidget::resizeEvent(QResizeEvent* event) {
    laidOut_ = false;
    QWidget::resizeEvent(event);
}

void LabelWidget::layOut() {
    const QRect area = textArea();
    layout_.setText(caption_);
    layout_.setFont(font());
    layout_.setTextOption(wrappingText(Qt::AlignLeft | Qt::AlignTop));
    layout_.setCacheEnabled(true);
    QRectF covered;
    qreal y = 0;
    layout_.beginLayout();
    for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(area.width());
        line.setPosition(QPointF(0, y));
        y += line.height();
        if (line.leading() < 0) y += qCeil(line.leading());
        covered |= line.naturalTextRect();
    }
    layout_.endLayout();
    // Glyphs may reach a little beyond their advance.
    ink_ = covered.toAlignedRect().translated(area.topLeft()).adjusted(-3, 0, 3, 0) & area;
    laidOut_ = true;
}

void LabelWidget::paintEvent(QPaintEvent* event) {
    const bool transparent = !opaque_ && !bordered_;
    if (transparent && laidOut_ && !event->region().intersects(ink_)) return;
    QPainter painter(this);
    if (opaque_) painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    if (bordered_) painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (caption_.isEmpty()) return;

    if (!laidOut_) layOut();
    const QRect area = textArea();
    painter.setClipRect(area);
    layout_.draw(&painter, area.topLeft());
}

CaptionButton::CaptionButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(true);  // Enter presses the focused button, as Space does
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (fontMetrics().horizontalAdvance(caption) > contents.width())
        contents = rect().adjusted(2, 2, -2, -2);  // a wrapped caption may use the bevel's margin
    if (isDown())
        contents.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(QRectF(contents), caption, wrappingText(Qt::AlignCenter));
}

LineWidget::LineWidget(const ControlDescription& d, QWidget* parent) : QWidget(parent) {
    const QPoint a(px(d.X1), px(d.Y1)), b(px(d.X2), px(d.Y2));
    const QPoint origin(std::min(a.x(), b.x()), std::min(a.y(), b.y()));
    setGeometry(QRect(origin, QSize(std::abs(a.x() - b.x()) + 1, std::abs(a.y() - b.y()) + 1)));
    from_ = a - origin;
    to_ = b - origin;
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.drawLine(from_, to_);
}

ControlTimer::ControlTimer(std::function<void()> tick, QObject* parent)
    : QObject(parent), tick_(std::move(tick)) {}

namespace {
int clampedMs(qint64 ms) { return static_cast<int>(std::clamp<qint64>(ms, 1, INT_MAX)); }
}  // namespace

int firstTickDelay(std::uint32_t periodMs, int msIntoSecond) {
    qint64 first = periodMs;
    if (periodMs % 1000 == 0) first += msIntoSecond < 500 ? -msIntoSecond : 1000 - msIntoSecond;
    return clampedMs(first);
}

void ControlTimer::setPeriod(std::uint32_t ms) {
    if (ms == period_ && (ms == 0 || timer_.isActive())) return;
    period_ = ms;
    if (ms == 0) {
        timer_.stop();
        return;
    }
    aligning_ = ms % 1000 == 0;
    const auto intoSecond = static_cast<int>(QDeadlineTimer::current().deadline() % 1000);
    timer_.start(firstTickDelay(ms, intoSecond), Qt::PreciseTimer, this);
}

void ControlTimer::fire() {
    if (period_ != 0) tick_();
}

void ControlTimer::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) return QObject::timerEvent(event);
    if (aligning_) {
        aligning_ = false;
        timer_.start(clampedMs(period_), Qt::PreciseTimer, this);
    }
    tick_();
}

}  // namespace ws::qt
