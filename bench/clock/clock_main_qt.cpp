// The clock watch on the Qt platform: one QApplication for the program.
#include <cstdlib>

#include <QApplication>

#include "clock_accuracy.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return ws::bench::watchClock(argc, argv);
}
