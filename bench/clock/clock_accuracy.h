// Watches the welcome window's clock in a running program for a while and
// reports every second it skipped or showed twice.
#pragma once

namespace ws::bench {

// Parses --minutes N (default 10) and --samples-per-second N (default 10),
// runs the program through its greeting, reads the clock label at that rate
// for that long, prints key=value lines and returns the exit status: 0 when
// the watch ran, whatever it found.
int watchClock(int argc, char** argv);

}  // namespace ws::bench
