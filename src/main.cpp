#include "framework/window_services.h"
#include "station/program.h"

int main(int argc, char** argv) { return ws::runProgram(ws::stationProgram(), argc, argv); }
