// Another program that raises a logical event on the open panels of a name
// through the panel registry, as programs outside the run-time do:
//   lc_panels_eventsender <panel name> <event name>
// Exit code 0 when every panel found ran it, 1 otherwise.
#include "ky721ZuntExt.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  return ZEATriggerLogicalEvent(argv[1], argv[2]) ? 0 : 1;
}
