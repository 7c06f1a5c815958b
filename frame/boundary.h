// The host calls the module from its own frames, which know nothing of C++
// exceptions: none may cross back into them. Work inside a callback that can
// throw (allocation, in the main) runs through fail_soft, which catches
// everything, logs the module's first such failure once, and gives the
// callback's "could not do it" answer instead.
#pragma once

#include <utility>

// Writes one line naming the place of the first failure of this load of the
// module; later failures are counted, not written.
void log_failure_once(const char *where) noexcept;
// How many failures fail_soft has caught since the module was loaded.
unsigned failures_caught() noexcept;

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
