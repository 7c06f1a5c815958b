// The x87 floating-point state the module runs in. A simulator that draws
// with Direct3D usually runs its panel with the x87 precision cut to 24 bits,
// and a host may unmask the invalid-operation exception; the 32-bit Windows
// host can put the module in either state to show what the module does
// there. The host's own arithmetic keeps the full state: the guest state is
// loaded only while a call into the module runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace z480 {

enum class X87Mode { kNative, kSingle, kTrapInvalid };

// "native", "24" or "invalid"; none for anything else.
std::optional<X87Mode> x87_mode_from_text(const std::string &text);
// Whether this build runs on the x87 (32-bit x86): elsewhere every mode but
// native is refused.
bool x87_modes_available();

// Loads the guest state for its lifetime, then puts the host's back.
class X87Guest {
 public:
  explicit X87Guest(X87Mode mode);
  ~X87Guest();
  X87Guest(const X87Guest &) = delete;
  X87Guest &operator=(const X87Guest &) = delete;

 private:
  [[maybe_unused]] bool switched_ = false;
  [[maybe_unused]] std::uint16_t saved_ = 0;
};

}  // namespace z480
