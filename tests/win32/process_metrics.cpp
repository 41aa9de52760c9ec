// The process's working set and its GDI and USER objects, from Windows.
#include "process_metrics.h"

// clang-format off: psapi.h needs the types of windows.h
#include <windows.h>
#include <psapi.h>
// clang-format on

namespace ws::testing {

ProcessMetrics measureProcess() {
    ProcessMetrics m;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        m.residentBytes = counters.WorkingSetSize;
    m.guiObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    m.userObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    return m;
}

}  // namespace ws::testing
