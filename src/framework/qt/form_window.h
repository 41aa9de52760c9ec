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
    FormWindow(QtPlatform& platform, const FormDescription& form);

    const FormDescription& form() const { return form_; }
    QWidget* clientArea() const { return centralWidget(); }
    bool shownBefore() const { return shownBefore_; }
    // Gives the focus to the focusable control with the lowest TabIndex.
    void focusFirstControl();
    // The name of the control that has this window's focus, or empty.
    std::string focusedControl() const;
    // The window's control or menu item of that name and type, or null.
    template <typename T>
    T* named(Text name) const {
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
    void buildControls(std::span<const ControlDescription> controls, QWidget* container);
    void buildMenus();
    void orderTabs();

    QtPlatform& platform_;
    const FormDescription& form_;
    bool shownBefore_ = false;
};

}  // namespace ws::qt
