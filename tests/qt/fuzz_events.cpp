// Throws a seeded random sequence of user actions at the station program:
// clicks on every control and menu item, Tab and Shift+Tab, typing and
// pasting (a megabyte among them), closing, minimising and resizing
// windows. After every step the lifetime rules must hold. Meant to run under
// AddressSanitizer and UndefinedBehaviorSanitizer.
//
//   fuzz_events [--seed N] [--steps N]
//
// Each life of the program runs in a child process, since ending the program
// ends the process; the parent starts the next life at the next step, so a
// seed names one whole sequence and a failing seed reproduces.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <QApplication>

#include "framework/automation.h"
#include "station/form1.h"
#include "station/program.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace ws {
namespace {

const FormDescription* const forms[] = {&Form1, &Form2, &Form3};

// Step i of the sequence of seed s, independent of every other step.
struct Dice {
    std::uint64_t state;
    Dice(std::uint64_t seed, long step)
        : state(seed ^ (std::uint64_t(step) * 0x9E3779B97F4A7C15u)) {}
    std::uint64_t next() {  // splitmix64
        std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % std::uint64_t(n)); }
    template <typename T>
    const T& pick(const std::vector<T>& v) {
        return v[std::size_t(below(int(v.size())))];
    }
};

std::string someText(Dice& dice, std::size_t length) {
    static const char* const pieces[] = {"a",    "Z",  "9",      " ",  "  ",
                                         "歡迎", "！", "\u3000", "﹝", "kv!"};
    std::string text;
    while (text.size() < length) text += pieces[dice.below(10)];
    return text;
}

[[noreturn]] void broken(long step, const std::string& what) {
    std::fprintf(stderr, "step %ld: %s\n", step, what.c_str());
    std::fflush(stderr);
    std::_Exit(3);
}

// The lifetime rules, as the user can see them.
void checkLifetime(Automation& app, long step) {
    bool anyBuilt = false;
    for (const FormDescription* f : forms) {
        const int n = app.instancesOf(*f);
        if (n > 1) broken(step, std::string(f->Name) + " has " + std::to_string(n) + " windows");
        if ((n == 1) != app.isBuilt(*f)) broken(step, std::string(f->Name) + " is built but gone");
        anyBuilt = anyBuilt || n == 1;
    }
    if (anyBuilt == app.programEnded())
        broken(step, anyBuilt ? "the program ended with a window built"
                              : "the program goes on with no window built");
}

// One step: a user action on one of the windows on screen.
void act(Automation& app, Dice& dice) {
    std::vector<const FormDescription*> shown, built;
    for (const FormDescription* f : forms) {
        if (app.isBuilt(*f)) built.push_back(f);
        if (app.isVisible(*f)) shown.push_back(f);
    }
    if (built.empty()) return;
    const FormDescription& form = shown.empty() ? *dice.pick(built) : *dice.pick(shown);
    switch (dice.below(12)) {
        case 0:
        case 1: {  // a click on any control that can be seen
            std::vector<Text> controls;
            forEachControl(form.Controls,
                           [&](const ControlDescription& c, const ControlDescription*) {
                               if (c.Kind != ControlKind::Timer && c.Kind != ControlKind::Line)
                                   controls.push_back(c.Name);
                           });
            if (!controls.empty() && app.isVisible(form)) app.click(form, dice.pick(controls));
            break;
        }
        case 2: {
            std::vector<Text> items;
            forEachMenuItem(form.Menus, [&](const MenuItemDescription& m) {
                if (m.Children.empty()) items.push_back(m.Name);
            });
            if (!items.empty() && app.isVisible(form)) app.chooseMenuItem(form, dice.pick(items));
            break;
        }
        case 3:
        case 4: {
            const Key keys[] = {Key::Tab, Key::ShiftTab, Key::Space, Key::Enter, Key::Tab};
            app.pressKey(form, keys[dice.below(5)]);
            break;
        }
        case 5:
            if (app.isBuilt(Form1))
                app.typeText(Form1, "Text1", someText(dice, std::size_t(dice.below(40))));
            break;
        case 6:
            if (app.isBuilt(Form1)) {
                const bool huge = dice.below(20) == 0;
                app.paste(Form1, "Text1",
                          someText(dice, huge ? 1u << 20 : std::size_t(dice.below(2000))));
            }
            break;
        case 7:
            if (dice.below(3) == 0) app.closeFromTitleBar(*dice.pick(built));
            break;
        case 8:
            app.minimize(form);
            break;
        case 9: {
            const int sizes[] = {1, 40, 200, 523, 800, 1600};
            app.resizeClient(form, sizes[dice.below(6)] + dice.below(30),
                             sizes[dice.below(6)] + dice.below(30));
            break;
        }
        case 10:  // a click on another window brings it to the front
            if (!shown.empty()) app.activate(*dice.pick(shown));
            break;
        case 11:
            if (app.isBuilt(Form1)) app.fireTimer(Form1, "Timer1");
            break;
    }
    app.runFor(dice.below(4) == 0 ? dice.below(30) : 0);
}

// One life of the program, from start-up to its end, in this process.
[[noreturn]] void live(std::uint64_t seed, long first, long steps, int report) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "fuzz_events";
    char* argv[] = {name, nullptr};
    QApplication qt(argc, argv);
    {
        auto app = automate(stationProgram());
        app->startUp();
        for (long step = first; step < steps; ++step) {
            if (write(report, &step, sizeof step) != sizeof step) std::_Exit(4);
            Dice dice(seed, step);
            act(*app, dice);
            checkLifetime(*app, step);
            if (app->programEnded()) std::_Exit(0);
        }
        const long done = steps;
        if (write(report, &done, sizeof done) != sizeof done) std::_Exit(4);
    }
    std::exit(0);  // a normal exit, so that the leak checker looks too
}

}  // namespace
}  // namespace ws

int main(int argc, char** argv) {
    std::uint64_t seed =
        std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) % 1000000007u;
    long steps = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seed") == 0) seed = std::strtoull(argv[i + 1], nullptr, 10);
        if (std::strcmp(argv[i], "--steps") == 0) steps = std::strtol(argv[i + 1], nullptr, 10);
    }
    std::printf("fuzz_events --seed %llu --steps %ld\n", static_cast<unsigned long long>(seed),
                steps);
    std::fflush(stdout);

    long next = 0, lives = 0;
    while (next < steps) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return 2;
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            ws::live(seed, next, steps, pipeEnds[1]);
        }
        close(pipeEnds[1]);
        long last = next, step;
        while (read(pipeEnds[0], &step, sizeof step) == sizeof step) last = step;
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        ++lives;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::printf(
                "FAILED at step %ld (life %ld), %s %d; reproduce with --seed %llu --steps %ld\n",
                last, lives, WIFEXITED(status) ? "exit status" : "signal",
                WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status),
                static_cast<unsigned long long>(seed), steps);
            return 1;
        }
        next = last + 1;
    }
    std::printf("%ld steps in %ld lives of the program: the lifetime rules held\n", steps, lives);
    return 0;
}
