// Drumlet: the generic runner of generated applications. All of its road
// (command line, INI file, language library, user interface, main function,
// shut-down) is the application object's; the program only makes it.
#include "KyWinClientApp.h"

static KyWinClientApp theApp;
