#include "frame/boundary.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {
unsigned caught = 0;
}  // namespace

void log_failure_once(const char *where) noexcept {
  if (caught++ > 0) return;
  char line[160];
  std::snprintf(line, sizeof line, "Z480_Instr: %s failed (out of memory?) and was left undone; later failures go unreported\n",
                where ? where : "a callback");
#if defined(_WIN32)
  // The simulator's own output goes nowhere a pilot sees; a debugger does.
  OutputDebugStringA(line);
#endif
  std::fputs(line, stderr);
}

unsigned failures_caught() noexcept { return caught; }
