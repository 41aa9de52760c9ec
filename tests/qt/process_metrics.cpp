#include "process_metrics.h"

#include <cstdio>
#include <unistd.h>

namespace ws::testing {

ProcessMetrics measureProcess() {
    ProcessMetrics m;
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    m.residentBytes =
        static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return m;
}

}  // namespace ws::testing
