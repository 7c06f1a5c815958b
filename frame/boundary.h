// The host calls the module from its own frames, which know nothing of C++
// exceptions: none may cross back into them. Work inside a callback that can
// throw (allocation, in the main) runs through fail_soft, which catches
// everything, writes the module's first such failure out once, and gives
// the callback's "could not do it" answer instead.
#pragma once

#include <cstdio>
#include <utility>

#if defined(_WIN32)
// As the system's headers declare it; they are not wanted here whole.
extern "C" __declspec(dllimport) void __stdcall OutputDebugStringA(const char *text);
#endif

// How many failures fail_soft has caught since the module was loaded.
inline unsigned &failures_caught() noexcept {
  static unsigned caught = 0;
  return caught;
}

// Writes one line naming the place of the first failure of this load of the
// module; later failures are counted, not written.
inline void log_failure_once(const char *where) noexcept {
  if (failures_caught()++ > 0) return;
  char line[160];
  std::snprintf(line, sizeof line,
                "Z480_Instr: %s failed (out of memory?) and was left undone; later failures go "
                "unreported\n",
                where ? where : "a callback");
#if defined(_WIN32)
  OutputDebugStringA(line);  // the simulator's own output reaches no one; a debugger does
#endif
  std::fputs(line, stderr);
}

template <typename Result, typename Work>
Result fail_soft(const char *where, Result fallback, Work &&work) noexcept {
  try {
    return std::forward<Work>(work)();
  } catch (...) {
    log_failure_once(where);
    return fallback;
  }
}

// Work with nothing to answer: true when it was done, false when it threw.
template <typename Work>
bool fail_soft(const char *where, Work &&work) noexcept {
  try {
    std::forward<Work>(work)();
    return true;
  } catch (...) {
    log_failure_once(where);
    return false;
  }
}
