// The clock watch on the Windows platform: the automation brings its own
// message loop.
#include "clock_accuracy.h"

int main(int argc, char** argv) { return ws::bench::watchClock(argc, argv); }
