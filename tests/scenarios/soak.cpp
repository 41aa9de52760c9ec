#include "scenarios/soak.h"

#include "station/form1.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace ws::testing {

namespace {

constexpr int patience = 5000;

void openAndCloseHelp(Automation& app) {
    app.click(Form1, "Command1");
    app.runUntil([&] { return app.isVisible(Form3); }, patience);
    app.closeFromTitleBar(Form3);
    app.runFor(0);
}

void switchToSideToolAndBack(Automation& app) {
    app.chooseMenuItem(Form1, "d");
    app.runUntil([&] { return app.isVisible(Form2); }, patience);
    app.closeFromTitleBar(Form2);  // brings the welcome window back
    app.runUntil([&] { return app.isVisible(Form1); }, patience);
}

}  // namespace

SoakResult soak(Automation& app, const SoakCounts& counts,
                const std::function<void(long, long)>& progress) {
    SoakResult result;
    app.startUp();
    app.runUntil([&] { return app.isActive(Form1); }, patience);

    // Spread the ticks evenly between the window cycles.
    const long cycles = counts.helpCycles + counts.switches;
    const long total = counts.ticks + cycles;
    long ticks = 0, help = 0, switches = 0;
    for (long done = 0; done < total; ++done) {
        const bool cycleNow = cycles > 0 && (ticks >= counts.ticks ||
                                             (help + switches) * counts.ticks < ticks * cycles);
        if (!cycleNow) {
            app.fireTimer(Form1, "Timer1");
            app.runFor(0);
            ++ticks;
        } else if (help * counts.switches <= switches * counts.helpCycles &&
                   help < counts.helpCycles) {
            openAndCloseHelp(app);
            ++help;
        } else {
            switchToSideToolAndBack(app);
            ++switches;
        }
        if (!app.isBuilt(Form1)) {
            result.lostTheWelcomeWindow = true;
            break;
        }
        ++result.actions;
        if (cycleNow && help + switches == counts.baselineAfterCycles)
            result.baseline = measureProcess();
        if (progress && result.actions % 10000 == 0) progress(result.actions, total);
    }
    app.runFor(10);
    result.final = measureProcess();
    if (help + switches < counts.baselineAfterCycles) result.baseline = result.final;
    return result;
}

}  // namespace ws::testing
