// The least a Qt program can do to sit idle with a clock: one active window
// the size of the welcome window's client area, a focused text box (its
// caret blinking), and a label that a 1000 ms timer writes the time into.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTime>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.resize(523, 321);
    QLineEdit edit(QStringLiteral("本台電腦乃為開放式電腦，歡迎使用！\u3000"), &window);
    edit.setGeometry(288, 8, 225, 18);
    QLabel clock(&window);
    clock.setGeometry(400, 264, 241, 17);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { clock.setText(QTime::currentTime().toString()); });
    timer.start(1000);
    window.show();
    window.activateWindow();
    edit.setFocus();
    return QApplication::exec();
}
