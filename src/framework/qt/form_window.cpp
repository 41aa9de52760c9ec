#include "framework/qt/form_window.h"

#include <algorithm>
#include <vector>

#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>

#include "framework/qt/controls.h"
#include "framework/qt/conversions.h"
#include "framework/qt/qt_platform.h"

namespace ws::qt {

namespace {

// The client area: the back colour, then the picture at the origin,
// unscaled; the controls are its children and draw over both.
class ClientArea final : public QWidget {
public:
    ClientArea(const QColor& back, QPixmap picture, QWidget* parent)
        : QWidget(parent), back_(back), picture_(std::move(picture)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), back_);
        // The clock's repaint each second lies outside the picture.
        if (!picture_.isNull() && event->rect().intersects(picture_.rect()))
            painter.drawPixmap(0, 0, picture_);
    }

private:
    QColor back_;
    QPixmap picture_;
};

QRect geometryOf(const ControlDescription& d) {
    return QRect(px(d.Left), px(d.Top), px(d.Width), px(d.Height));
}

}  // namespace

FormWindow::FormWindow(QtPlatform& platform, const FormDescription& form)
    : QMainWindow(nullptr), platform_(platform), form_(form) {
    setObjectName(fromUtf8(form.Name));
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (form.MaxButton) flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    setWindowTitle(fromUtf8(form.Caption));
    if (form.Icon.present()) setWindowIcon(platform.iconFromResource(form.Icon));
    // A timer given an interval at design time runs from the moment the
    // window is loaded.
    buildTimers();
}

void FormWindow::complete() {
    if (completed_) return;
    completed_ = true;
    const QColor back = toQColor(form_.BackColor, palette());
    QPixmap picture;
    if (form_.Picture.present()) picture = platform_.pictureFromResource(form_.Picture);
    auto* client = new ClientArea(back, std::move(picture), this);
    QPalette p = client->palette();
    p.setColor(QPalette::Window, back);
    client->setPalette(p);
    setCentralWidget(client);

    buildControls(form_.Controls, client);
    buildMenus();
    orderTabs();

    const int menuHeight = form_.Menus.empty() ? 0 : menuBar()->sizeHint().height();
    resize(px(form_.ClientWidth), px(form_.ClientHeight) + menuHeight);
}

void FormWindow::buildTimers() {
    forEachControl(form_.Controls, [this](const ControlDescription& d, const ControlDescription*) {
        if (d.Kind != ControlKind::Timer) return;
        auto* timer = new ControlTimer(
            [this, name = d.Name] { platform_.dispatch(form_, name, Event::Timer); }, this);
        timer->setObjectName(fromUtf8(d.Name));
        timer->setPeriod(d.Interval);
    });
}

void FormWindow::buildControls(std::span<const ControlDescription> controls, QWidget* container) {
    std::vector<QWidget*> drawn;  // in list order
    for (const ControlDescription& d : controls) {
        QWidget* widget = nullptr;
        switch (d.Kind) {
            case ControlKind::Label:
                widget = new LabelWidget(d, container);
                break;
            case ControlKind::CommandButton:
                widget = new CaptionButton(fromUtf8(d.Caption), container);
                connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                        [this, name = d.Name] { platform_.dispatch(form_, name, Event::Click); });
                break;
            case ControlKind::TextBox: {
                auto* edit = new QLineEdit(fromUtf8(d.Caption), container);
                edit->setCursorPosition(0);
                edit->setFocusPolicy(Qt::StrongFocus);
                widget = edit;
                break;
            }
            case ControlKind::Frame: {
                auto* frame = new QGroupBox(fromUtf8(d.Caption), container);
                frame->setFocusPolicy(Qt::NoFocus);
                widget = frame;
                break;
            }
            case ControlKind::Timer:  // made with the window
                break;
            case ControlKind::Line:
                widget = new LineWidget(d, container);
                break;
        }
        if (!widget) continue;
        widget->setObjectName(fromUtf8(d.Name));
        if (d.Kind != ControlKind::Line) widget->setGeometry(geometryOf(d));
        if (d.Font) widget->setFont(toQFont(d.Font));
        drawn.push_back(widget);
        if (d.Kind == ControlKind::Frame) buildControls(d.Children, widget);
    }
    // An earlier-listed control is drawn above a later one.
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it) (*it)->raise();
}

void FormWindow::buildMenus() {
    if (form_.Menus.empty()) return;
    QMenuBar* bar = menuBar();
    bar->setFocusPolicy(Qt::NoFocus);
    const auto command = [this](QWidget* owner, const MenuItemDescription& item) {
        auto* action = new QAction(fromUtf8(item.Caption), owner);
        action->setObjectName(fromUtf8(item.Name));
        connect(action, &QAction::triggered, this,
                [this, name = item.Name] { platform_.dispatch(form_, name, Event::Click); });
        owner->addAction(action);
    };
    for (const MenuItemDescription& top : form_.Menus) {
        if (top.Children.empty()) {
            command(bar, top);
            continue;
        }
        QMenu* menu = bar->addMenu(fromUtf8(top.Caption));
        menu->setObjectName(fromUtf8(top.Name));
        for (const MenuItemDescription& item : top.Children) command(menu, item);
    }
}

void FormWindow::orderTabs() {
    std::vector<std::pair<int, QWidget*>> focusable;
    forEachControl(form_.Controls, [&](const ControlDescription& d, const ControlDescription*) {
        if (d.takesFocus())
            if (auto* w = findChild<QWidget*>(fromUtf8(d.Name)))
                focusable.emplace_back(d.TabIndex, w);
    });
    std::sort(focusable.begin(), focusable.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
}

void FormWindow::focusFirstControl() {
    const ControlDescription* first = nullptr;
    forEachControl(form_.Controls, [&](const ControlDescription& d, const ControlDescription*) {
        if (d.takesFocus() && (!first || d.TabIndex < first->TabIndex)) first = &d;
    });
    if (first)
        if (auto* w = findChild<QWidget*>(fromUtf8(first->Name))) w->setFocus(Qt::OtherFocusReason);
}

std::string FormWindow::focusedControl() const {
    // What has the focus while the window is active, or will have it when
    // the window is next activated.
    QWidget* f = focusWidget();
    return f ? f->objectName().toStdString() : std::string();
}

void FormWindow::showEvent(QShowEvent* event) {
    shownBefore_ = true;
    QMainWindow::showEvent(event);
}

void FormWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        platform_.windowActivated(form_);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    platform_.windowClosing(form_);
}

}  // namespace ws::qt
