// One window built from its description: a menu bar above a client area
// that paints the back colour and the picture beneath the controls.
#pragma once

#include <string>

#include <QMainWindow>
#include <QPixmap>

#include "framework/window_description.h"

namespace ws::qt {

class QtPlatform;

class FormWindow final : public QMainWindow {
public:
    // Makes the window and its timers; the rest waits for complete().
    FormWindow(QtPlatform& platform, const FormDescription& form);

    // Builds the client area, the controls and the menus, once. A window is
    // completed before it is first shown or a control of it is looked up;
    // one loaded behind a message box is completed while the box is up, so
    // that the box does not wait for it.
    void complete();

    const FormDescription& form() const { return form_; }
    QWidget* clientArea() const { return centralWidget(); }
    bool shownBefore() const { return shownBefore_; }
    // Gives the focus to the focusable control with the lowest TabIndex.
    void focusFirstControl();
    // The name of the control that has this window's focus, or empty.
    std::string focusedControl() const;
    // The window's control or menu item of that name and type, or null.
    template <typename T>
    T* named(Text name) {
        complete();
        for (QObject* o :
             findChildren<QObject*>(QString::fromUtf8(name.data(), qsizetype(name.size()))))
            if (auto* t = dynamic_cast<T*>(o)) return t;
        return nullptr;
    }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTimers();
    void buildControls(std::span<const ControlDescription> controls, QWidget* container);
    void buildMenus();
    void orderTabs();

    QtPlatform& platform_;
    const FormDescription& form_;
    bool completed_ = false;
    bool shownBefore_ = false;
};

}  // namespace ws::qt
