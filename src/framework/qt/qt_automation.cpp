// Drives the Qt platform's real widgets for the tests: key and mouse events
// go through QApplication as a user's would.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "framework/automation.h"
#include "framework/qt/controls.h"
#include "framework/qt/conversions.h"
#include "framework/qt/form_window.h"
#include "framework/qt/qt_platform.h"

namespace ws {

namespace {

using qt::FormWindow;
using qt::LabelWidget;

class QtAutomation final : public Automation {
public:
    explicit QtAutomation(const Program& program) : platform_(program) {
        platform_.onProgramEnded([this] { ended_ = true; });
        platform_.onMessageBoxShown([this](QMessageBox& box) { answer(box); });
    }

    WindowServices& services() override { return platform_; }
    void startUp() override { platform_.startUp(); }
    void onMessageBox(std::function<void(const MessageBoxSeen&)> seen) override {
        seen_ = std::move(seen);
    }

    // Both run the event loop at least once, as a user's program always
    // does between two actions: window-system events must not pile up.
    // Both run a nested event loop that sleeps until the next event: a
    // time-limited processEvents returns at once when nothing is pending,
    // and calling it in a loop would keep a core busy the whole time.
    void runFor(int ms) override {
        QEventLoop loop;
        QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        deleteClosedWindows();
    }

    bool runUntil(const std::function<bool()>& condition, int timeoutMs) override {
        QElapsedTimer clock;
        clock.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        bool met = condition();
        if (!met) {
            QEventLoop loop;
            QTimer check;
            QObject::connect(&check, &QTimer::timeout, &loop, [&] {
                if ((met = condition()) || clock.elapsed() > timeoutMs) loop.quit();
            });
            check.start(10);
            loop.exec();
        }
        deleteClosedWindows();
        return met;
    }

    bool programEnded() override { return ended_; }

    bool isBuilt(const FormDescription& f) override { return platform_.window(f) != nullptr; }
    bool isVisible(const FormDescription& f) override {
        const FormWindow* w = platform_.window(f);
        return w && w->isVisible() && !w->isMinimized();
    }
    bool isActive(const FormDescription& f) override {
        const FormWindow* w = platform_.window(f);
        return w && w->isActiveWindow();
    }
    int windowsOnScreen() override {
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (dynamic_cast<FormWindow*>(w) && w->isVisible()) ++count;
        return count;
    }
    int instancesOf(const FormDescription& f) override {
        deleteClosedWindows();
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = dynamic_cast<FormWindow*>(w); form && &form->form() == &f) ++count;
        return count;
    }
    Rect rectOf(const FormDescription& f, Text control) override {
        QWidget* c = child<QWidget>(f, control);
        const QPoint origin = c->mapTo(window(f).clientArea(), QPoint(0, 0));
        return {origin.x(), origin.y(), c->width(), c->height()};
    }
    std::string focusedControl(const FormDescription& f) override {
        return window(f).focusedControl();
    }

    std::string textOf(const FormDescription& f, Text control) override {
        QObject* c = child<QObject>(f, control);
        if (auto* label = dynamic_cast<LabelWidget*>(c)) return label->caption().toStdString();
        if (auto* edit = qobject_cast<QLineEdit*>(c)) return edit->text().toStdString();
        if (auto* button = qobject_cast<QAbstractButton*>(c)) return button->text().toStdString();
        if (auto* frame = qobject_cast<QGroupBox*>(c)) return frame->title().toStdString();
        return {};
    }
    std::uint32_t intervalOf(const FormDescription& f, Text timer) override {
        return child<qt::ControlTimer>(f, timer)->period();
    }
    std::string menuCaption(const FormDescription& f, Text item) override {
        if (auto* action = window(f).named<QAction>(item)) return action->text().toStdString();
        if (auto* menu = window(f).named<QMenu>(item)) return menu->title().toStdString();
        return {};
    }
    FrameSeen frameOf(const FormDescription& f) override {
        FormWindow& w = window(f);
        const Qt::WindowFlags flags = w.windowFlags();
        const QList<QSize> sizes = w.windowIcon().availableSizes();
        return {
            .hasMaximizeButton = flags.testFlag(Qt::WindowMaximizeButtonHint),
            .hasMinimizeButton = flags.testFlag(Qt::WindowMinimizeButtonHint),
            .resizable = w.minimumSize() != w.maximumSize(),
            .caption = w.windowTitle().toStdString(),
            .iconWidth = sizes.isEmpty() ? 0 : sizes.front().width(),
            .iconHeight = sizes.isEmpty() ? 0 : sizes.front().height(),
        };
    }
    int dpi(const FormDescription&) override { return qt::layoutDpi; }

    Image grabClient(const FormDescription& f) override {
        return imageOf(window(f).clientArea()->grab().toImage());
    }
    Image grabShown(const FormDescription& f) override {
        // The offscreen platform answers from the window's backing store,
        // which holds what the window's paints have left.
        FormWindow& w = window(f);
        const QWidget* client = w.clientArea();
        const QPoint at = client->mapTo(&w, QPoint(0, 0));
        return imageOf(
            w.screen()
                ->grabWindow(w.winId(), at.x(), at.y(), client->width(), client->height())
                .toImage());
    }
    static Image imageOf(const QImage& picture) {
        const QImage shot = picture.convertToFormat(QImage::Format_RGB888);
        Image image{shot.width(), shot.height(), {}};
        image.pixels.reserve(static_cast<std::size_t>(shot.width() * shot.height()));
        for (int y = 0; y < shot.height(); ++y) {
            const uchar* row = shot.constScanLine(y);
            for (int x = 0; x < shot.width(); ++x)
                image.pixels.push_back({row[3 * x], row[3 * x + 1], row[3 * x + 2]});
        }
        return image;
    }

    void click(const FormDescription& f, Text control) override {
        QWidget* w = child<QWidget>(f, control);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    void chooseMenuItem(const FormDescription& f, Text item) override {
        child<QAction>(f, item)->trigger();
    }
    void pressKey(const FormDescription& f, Key key) override {
        FormWindow& w = window(f);
        QWidget* target = w.focusWidget() ? w.focusWidget() : &w;
        switch (key) {
            case Key::Tab:
                QTest::keyClick(target, Qt::Key_Tab);
                break;
            case Key::ShiftTab:
                QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
                break;
            case Key::Space:
                QTest::keyClick(target, Qt::Key_Space);
                break;
            case Key::Enter:
                QTest::keyClick(target, Qt::Key_Return);
                break;
        }
    }
    void typeText(const FormDescription& f, Text control, Text text) override {
        auto* edit = child<QLineEdit>(f, control);
        edit->setFocus();
        // One key press per character; those beyond ASCII arrive as text,
        // as an input method would deliver them.
        const QString typed = qt::fromUtf8(text);
        for (qsizetype i = 0; i < typed.size(); ++i) {
            const qsizetype n = typed[i].isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, typed.mid(i, n),
                                Qt::NoModifier);
            i += n - 1;
        }
    }
    void paste(const FormDescription& f, Text control, Text text) override {
        auto* edit = child<QLineEdit>(f, control);
        QGuiApplication::clipboard()->setText(qt::fromUtf8(text));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    void fireTimer(const FormDescription& f, Text timer) override {
        child<qt::ControlTimer>(f, timer)->fire();
    }
    void minimize(const FormDescription& f) override { window(f).showMinimized(); }
    void activate(const FormDescription& f) override {
        FormWindow& w = window(f);
        w.raise();
        w.activateWindow();
    }
    void resizeClient(const FormDescription& f, int width, int height) override {
        FormWindow& w = window(f);
        const int menu = w.menuWidget() ? w.menuWidget()->sizeHint().height() : 0;
        w.resize(width, height + menu);
    }
    void closeFromTitleBar(const FormDescription& f) override { window(f).close(); }

private:
    FormWindow& window(const FormDescription& f) {
        FormWindow* w = platform_.window(f);
        if (!w) throw std::logic_error(std::string(f.Name) + " is not built");
        return *w;
    }
    template <typename T>
    T* child(const FormDescription& f, Text name) {
        T* c = window(f).named<T>(name);
        if (!c) throw std::logic_error(std::string(f.Name) + " has no " + std::string(name));
        return c;
    }

    // Closed windows go with deferred deletion, which a running event loop
    // carries out on its own; processEvents from outside one does not.
    static void deleteClosedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void answer(QMessageBox& box) {
        MessageBoxSeen seen;
        seen.prompt = box.text().toStdString();
        seen.title = box.windowTitle().toStdString();
        seen.informationIcon = box.icon() == QMessageBox::Information;
        for (QAbstractButton* b : box.buttons()) seen.buttons.push_back(b->text().toStdString());
        seen.blocksOtherWindows = box.windowModality() == Qt::ApplicationModal;
        if (seen_) seen_(seen);
        if (QAbstractButton* ok = box.button(QMessageBox::Ok))
            ok->click();
        else
            box.reject();
    }

    qt::QtPlatform platform_;
    std::function<void(const MessageBoxSeen&)> seen_;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<Automation> automate(const Program& program) {
    return std::make_unique<QtAutomation>(program);
}

}  // namespace ws
