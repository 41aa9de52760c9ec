// A day of the station in fast motion: clock ticks, the help window opened
// and closed, the side tool switched to and back, interleaved.
#pragma once

#include <functional>

#include "framework/automation.h"
#include "process_metrics.h"

namespace ws::testing {

struct SoakCounts {
    long ticks = 86'400;
    long helpCycles = 1'000;
    long switches = 1'000;
    long baselineAfterCycles = 1'000;  // window cycles before the first measurement
};

struct SoakResult {
    ProcessMetrics baseline, final;
    long actions = 0;
    bool lostTheWelcomeWindow = false;
};

// Starts the station program on the automation and runs the counts.
SoakResult soak(Automation& app, const SoakCounts& counts,
                const std::function<void(long done, long total)>& progress = {});

}  // namespace ws::testing
