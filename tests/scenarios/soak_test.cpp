// A long day in fast motion must leave memory and window-system objects flat.
// The suite runs a short day; WS_SOAK_FULL=1 (make soak) runs a whole one.
#include "scenarios/soak.h"

#include <cstdio>
#include <cstdlib>

#include "scenarios/station.h"

namespace ws::testing {
namespace {

TEST(Soak, TicksAndWindowCyclesLeaveMemoryAndObjectsFlat) {
    const bool full = std::getenv("WS_SOAK_FULL") != nullptr;
    const SoakCounts counts =
        full ? SoakCounts{}
             : SoakCounts{
                   .ticks = 4'000, .helpCycles = 150, .switches = 150, .baselineAfterCycles = 100};
    auto app = automate(stationProgram());
    const SoakResult r = soak(*app, counts, [](long done, long total) {
        std::fprintf(stderr, "soak: %ld of %ld actions, %zu KiB\n", done, total,
                     measureProcess().residentBytes / 1024);
    });
    EXPECT_FALSE(r.lostTheWelcomeWindow);
    EXPECT_EQ(r.actions, counts.ticks + counts.helpCycles + counts.switches);
    EXPECT_EQ(app->instancesOf(Form1), 1);
    EXPECT_EQ(app->instancesOf(Form2), 0);
    EXPECT_EQ(app->instancesOf(Form3), 0);
    EXPECT_FALSE(app->textOf(Form1, "Label3").empty());

    std::printf("resident: %zu KiB after %ld window cycles, %zu KiB at the end\n",
                r.baseline.residentBytes / 1024, counts.baselineAfterCycles,
                r.final.residentBytes / 1024);
    if (memoryIsMeasurable()) {
        EXPECT_LE(r.final.residentBytes, r.baseline.residentBytes + (1u << 20));
    }
    if (r.baseline.guiObjects >= 0) {
        std::printf("GDI objects: %ld then %ld; USER objects: %ld then %ld\n",
                    r.baseline.guiObjects, r.final.guiObjects, r.baseline.userObjects,
                    r.final.userObjects);
        EXPECT_LE(r.final.guiObjects, r.baseline.guiObjects);
        EXPECT_LE(r.final.userObjects, r.baseline.userObjects);
    } else {
        std::printf("GDI and USER objects: not counted by this system\n");
    }
}

}  // namespace
}  // namespace ws::testing
