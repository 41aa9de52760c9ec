// The process's working set and its GDI and USER objects, from Windows.
#include "process_metrics.h"

// psapi.h needs the types of windows.h.
// clang-format off
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
    // A process with windows always holds some GDI and USER objects; a count
    // of none means the system does not keep them (Wine's GetGuiResources
    // answers 0), and a flat line of zeros would prove nothing.
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (gdi > 0 || user > 0) {
        m.guiObjects = static_cast<long>(gdi);
        m.userObjects = static_cast<long>(user);
    }
    return m;
}

}  // namespace ws::testing
