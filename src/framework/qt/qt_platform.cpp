#include "framework/qt/qt_platform.h"

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTime>
#include <QTimer>

#include "framework/qt/controls.h"
#include "framework/qt/conversions.h"
#include "framework/qt/form_window.h"

namespace ws::qt {

namespace {

QtPlatform* current = nullptr;

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int result;
};

// The low four bits of a message box style choose its buttons.
std::vector<ButtonChoice> buttonsOf(int style) {
    using B = QMessageBox;
    switch (style & 0x0F) {
        case 1:
            return {{B::Ok, 1}, {B::Cancel, 2}};
        case 2:
            return {{B::Abort, 3}, {B::Retry, 4}, {B::Ignore, 5}};
        case 3:
            return {{B::Yes, 6}, {B::No, 7}, {B::Cancel, 2}};
        case 4:
            return {{B::Yes, 6}, {B::No, 7}};
        case 5:
            return {{B::Retry, 4}, {B::Cancel, 2}};
        default:
            return {{B::Ok, 1}};
    }
}

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
        case 16:
            return QMessageBox::Critical;
        case 32:
            return QMessageBox::Question;
        case 48:
            return QMessageBox::Warning;
        case 64:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// Once a message box has painted itself, and so is on the screen, completes
// the windows that wait to be: the box comes up first, and a window loaded
// behind it is ready by the time the box is answered.
class CompleteAfterFirstPaint final : public QObject {
public:
    explicit CompleteAfterFirstPaint(QtPlatform& platform) : platform_(platform) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { platform_.completeWindows(); });
        }
        return false;
    }

private:
    QtPlatform& platform_;
};

}  // namespace

QtPlatform::QtPlatform(const Program& program) : router_(program) {
    current = this;
    prepareApplication();
    // The clock asks for the time every second: look the format up once.
    locale_ = QLocale::system();
    timeFormat_ = timeFormatToTheSecond(locale_);
    ended_ = [] { QCoreApplication::exit(0); };
}

QtPlatform::~QtPlatform() {
    router_.stop();
    for (auto& [form, window] : windows_) delete window.data();
    windows_.clear();
    if (current == this) current = nullptr;
}

QtPlatform* QtPlatform::running() { return current; }

FormWindow* QtPlatform::window(const FormDescription& form) const {
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.data();
}

bool QtPlatform::anyBuilt() const { return !windows_.empty(); }

void QtPlatform::completeWindows() {
    for (auto& [form, window] : windows_)
        if (window) window->complete();
}

void QtPlatform::startUp() {
    load(*router_.program().StartUp);
    show(*router_.program().StartUp);
}

void QtPlatform::load(const FormDescription& form) {
    if (router_.stopped() || window(form)) return;
    windows_[&form] = new FormWindow(*this, form);
    dispatch(form, ThisWindow, Event::Load);
}

void QtPlatform::show(const FormDescription& form) {
    load(form);
    FormWindow* w = window(form);
    if (!w) return;
    w->complete();
    if (!w->shownBefore()) w->focusFirstControl();
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}

void QtPlatform::hide(const FormDescription& form) {
    if (FormWindow* w = window(form)) w->hide();
}

void QtPlatform::setCaption(const FormDescription& form, Text label, Text caption) {
    load(form);
    FormWindow* w = window(form);
    if (!w) return;
    LabelWidget* l = w->named<LabelWidget>(label);
    if (!l)
        fail(QStringLiteral("%1 沒有名為 %2 的標籤。").arg(fromUtf8(form.Name), fromUtf8(label)));
    l->setCaption(fromUtf8(caption));
}

void QtPlatform::setInterval(const FormDescription& form, Text timer, std::uint32_t ms) {
    load(form);
    FormWindow* w = window(form);
    if (!w) return;
    ControlTimer* t = w->named<ControlTimer>(timer);
    if (!t)
        fail(QStringLiteral("%1 沒有名為 %2 的計時器。").arg(fromUtf8(form.Name), fromUtf8(timer)));
    t->setPeriod(ms);
}

int QtPlatform::messageBox(Text prompt, int style, Text title) {
    QMessageBox box(iconOf(style), fromUtf8(title), fromUtf8(prompt));
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowIcon(programIcon());
    const std::vector<ButtonChoice> choices = buttonsOf(style);
    for (const ButtonChoice& c : choices) {
        QPushButton* b = box.addButton(c.button);
        if (c.button == QMessageBox::Ok) b->setText(QStringLiteral("確定"));
    }
    box.setDefaultButton(choices.front().button);
    CompleteAfterFirstPaint completion(*this);
    box.installEventFilter(&completion);
    if (boxShown_) QTimer::singleShot(0, &box, [this, &box] { boxShown_(box); });
    box.exec();
    for (const ButtonChoice& c : choices)
        if (box.clickedButton() == box.button(c.button)) return c.result;
    // Closed from its title bar: the answer of the box's escape button.
    return choices.size() == 1 ? choices.front().result : choices.back().result;
}

std::string QtPlatform::timeOfDay() {
    return locale_.toString(QTime::currentTime(), timeFormat_).toStdString();
}

void QtPlatform::endProgram() {
    router_.stop();
    for (auto& [form, window] : windows_) delete window.data();
    windows_.clear();
    std::fflush(nullptr);
    std::_Exit(0);
}

void QtPlatform::fail(const QString& what) {
    router_.stop();
    std::fprintf(stderr, "welcome-station: %s\n", what.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("welcome-station"),
                    QStringLiteral("程式無法繼續執行，即將結束：\n%1").arg(what), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("確定"));
    box.setWindowModality(Qt::ApplicationModal);
    if (boxShown_) QTimer::singleShot(0, &box, [this, &box] { boxShown_(box); });
    box.exec();
    for (auto& [form, window] : windows_) delete window.data();
    windows_.clear();
    std::fflush(nullptr);
    std::_Exit(1);
}

void QtPlatform::dispatch(const FormDescription& form, Text control, Text event) {
    router_.deliver(*this, form, control, event);
}

void QtPlatform::windowActivated(const FormDescription& form) { router_.activated(*this, form); }

void QtPlatform::windowClosing(const FormDescription& form) {
    dispatch(form, ThisWindow, Event::Unload);
    forget(form);
}

void QtPlatform::forget(const FormDescription& form) {
    const auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    if (FormWindow* w = it->second.data()) w->deleteLater();
    windows_.erase(it);
    router_.forget(form);
    if (windows_.empty() && !router_.stopped() && ended_) ended_();
}

const QIcon& QtPlatform::programIcon() {
    static const QIcon none;
    for (const FormBinding& b : router_.program().Forms)
        if (b.Form->Icon.present()) return iconFromResource(b.Form->Icon);
    return none;
}

// Every window shares one decoded image per resource: decoding it again for
// each new window would cost time and, in Qt's caches, memory.
const QIcon& QtPlatform::iconFromResource(ImageResource icon) {
    const auto [it, added] = icons_.try_emplace(std::string(icon.name));
    if (added) {
        QImage image(resourcePath(icon));
        if (image.isNull()) fail(QStringLiteral("無法載入圖示「%1」。").arg(fromUtf8(icon.name)));
        it->second = QIcon(QPixmap::fromImage(withBlackTransparent(image)));
    }
    return it->second;
}

const QPixmap& QtPlatform::pictureFromResource(ImageResource picture) {
    const auto [it, added] = pictures_.try_emplace(std::string(picture.name));
    if (added) {
        it->second = QPixmap(resourcePath(picture));
        if (it->second.isNull())
            fail(QStringLiteral("無法載入圖片「%1」。").arg(fromUtf8(picture.name)));
    }
    return it->second;
}

}  // namespace ws::qt
