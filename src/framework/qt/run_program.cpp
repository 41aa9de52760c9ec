// The program's entry on Qt.
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "framework/qt/qt_platform.h"

namespace ws {

int runProgram(const Program& program, int argc, char** argv) {
    QApplication app(argc, argv);
    qt::QtPlatform platform(program);
    platform.startUp();
    if (!platform.anyBuilt()) return 0;  // ended before the event loop began
    return QApplication::exec();
}

void reportServiceFailure(Text what) {
    const QString message = QString::fromUtf8(what.data(), static_cast<qsizetype>(what.size()));
    if (qt::QtPlatform* platform = qt::QtPlatform::running()) platform->fail(message);
    std::fprintf(stderr, "welcome-station: %s\n", message.toLocal8Bit().constData());
    std::_Exit(1);
}

}  // namespace ws
