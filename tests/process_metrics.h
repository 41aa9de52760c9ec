// What a long run of the program costs the system, read from the process
// itself: its resident memory and, where the platform keeps them, its
// window-system objects.
#pragma once

#include <cstddef>

namespace ws::testing {

struct ProcessMetrics {
    std::size_t residentBytes = 0;
    long guiObjects = -1;   // GDI objects; -1 where the platform has none
    long userObjects = -1;  // USER objects; -1 where the platform has none
};

ProcessMetrics measureProcess();

// Whether the memory figures mean anything: a sanitizer's quarantine keeps
// freed memory resident on purpose.
constexpr bool memoryIsMeasurable() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

}  // namespace ws::testing
