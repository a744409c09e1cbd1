#include "commonstate.h"
namespace win32::comctl {
void registerUpDown() {}
}
