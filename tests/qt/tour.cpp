// Takes the real program through start-up, every menu command and every
// button, the way a user would, and ends it the way the user chooses:
//   tour a        ends with the welcome window's "關閉程式" menu command
//   tour side     ends with the side tool's "關閉程式" button
// For watching what the program does to the system (tests/qt/system_calls.sh).
#include <cstring>

#include <QApplication>

#include "framework/automation.h"
#include "station/form1.h"
#include "station/program.h"
#include "windows/form2.h"
#include "windows/form3.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    const bool endFromMenu = argc > 1 && std::strcmp(argv[1], "a") == 0;
    using namespace ws;
    auto app = automate(stationProgram());
    const auto settle = [&](const FormDescription& f) {
        app->runUntil([&] { return app->isActive(f); }, 5000);
    };
    app->startUp();
    settle(Form1);
    app->runFor(1100);  // a clock tick
    app->chooseMenuItem(Form1, "b");
    app->chooseMenuItem(Form1, "c");
    app->typeText(Form1, "Text1", "abc");
    app->click(Form1, "Command1");
    settle(Form3);
    app->closeFromTitleBar(Form3);
    settle(Form1);
    if (endFromMenu) app->chooseMenuItem(Form1, "a");
    app->chooseMenuItem(Form1, "d");
    settle(Form2);
    app->click(Form2, "Command2");
    app->click(Form2, "Command1");
    return 3;  // end program never returns
}
