// fontconfig keeps what it parsed from its configuration files for the life
// of the process (no FcFini while cairo faces still use it): LeakSanitizer
// is told not to count that as a leak of ours.
#pragma once

extern "C" __attribute__((used, visibility("default"))) inline const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
