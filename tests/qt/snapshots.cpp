// Renders the greeting box and the three windows to PNG files, with no
// display: snapshots <folder>
#include <cstdio>

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

#include "framework/qt/form_window.h"
#include "framework/qt/qt_platform.h"
#include "station/form1.h"
#include "station/program.h"
#include "windows/form2.h"
#include "windows/form3.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = true;
    const auto save = [&](QWidget& w, const char* name) {
        const QString path = folder + QStringLiteral("/linux-%1.png").arg(QLatin1String(name));
        if (!w.grab().save(path)) ok = false;
        std::printf("%s\n", path.toLocal8Bit().constData());
    };

    ws::qt::QtPlatform platform(ws::stationProgram());
    platform.onMessageBoxShown([&](QMessageBox& box) {
        save(box, "greeting");
        box.accept();
    });
    platform.startUp();
    // Let the clock show the time once.
    // (QCoreApplication::quit would close every window first.)
    QEventLoop wait;
    QTimer::singleShot(1300, &wait, &QEventLoop::quit);
    wait.exec();
    save(*platform.window(ws::Form1), "form1");
    platform.show(ws::Form3);
    save(*platform.window(ws::Form3), "form3");
    platform.hide(ws::Form1);
    platform.show(ws::Form2);
    save(*platform.window(ws::Form2), "form2");
    return ok ? 0 : 1;
}
