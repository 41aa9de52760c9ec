// The forms platform on Qt 6 Widgets: builds windows from their
// descriptions, delivers their events to the bound handlers, and keeps the
// program alive exactly while one of its windows is built.
#pragma once

#include <functional>
#include <map>
#include <string>

#include <QIcon>
#include <QLocale>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include "framework/event_router.h"
#include "framework/window_services.h"

class QMessageBox;

namespace ws::qt {

class FormWindow;

class QtPlatform final : public WindowServices {
public:
    explicit QtPlatform(const Program& program);
    ~QtPlatform();
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // Builds the start-up window, runs its Load, shows it.
    void startUp();

    void load(const FormDescription& form) override;
    void show(const FormDescription& form) override;
    void hide(const FormDescription& form) override;
    void setCaption(const FormDescription& form, Text label, Text caption) override;
    void setInterval(const FormDescription& form, Text timer, std::uint32_t ms) override;
    int messageBox(Text prompt, int style, Text title) override;
    std::string timeOfDay() override;
    [[noreturn]] void endProgram() override;

    // Reports the failure in a message box, then exits with status 1.
    [[noreturn]] void fail(const QString& what);

    // The built window of a description, or null.
    FormWindow* window(const FormDescription& form) const;
    bool anyBuilt() const;
    // Completes every built window that is not yet.
    void completeWindows();

    // The program's images; a resource that cannot be decoded is a failure.
    const QIcon& programIcon();
    const QIcon& iconFromResource(ImageResource icon);
    const QPixmap& pictureFromResource(ImageResource picture);
    // Called when the last built window has gone; by default it ends the
    // event loop.
    void onProgramEnded(std::function<void()> ended) { ended_ = std::move(ended); }
    // Called with every message box once it is on screen.
    void onMessageBoxShown(std::function<void(QMessageBox&)> shown) {
        boxShown_ = std::move(shown);
    }

    // From the windows.
    void dispatch(const FormDescription& form, Text control, Text event);
    void windowActivated(const FormDescription& form);
    void windowClosing(const FormDescription& form);

    static QtPlatform* running();

private:
    void forget(const FormDescription& form);

    EventRouter router_;
    std::map<const FormDescription*, QPointer<FormWindow>> windows_;
    std::function<void()> ended_;
    std::function<void(QMessageBox&)> boxShown_;
    QLocale locale_;
    QString timeFormat_;
    std::map<std::string, QIcon> icons_;
    std::map<std::string, QPixmap> pictures_;
};

}  // namespace ws::qt
