#include "host/core/x87_state.h"

namespace z480 {
namespace {
#if defined(__i386__)
constexpr std::uint16_t kPrecisionBits = 0x0300;  // 00: 24 bits, 10: 53, 11: 64
constexpr std::uint16_t kInvalidMask = 0x0001;    // set: invalid operations masked

std::uint16_t control_word() {
  std::uint16_t cw = 0;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  return cw;
}
void load_control_word(std::uint16_t cw) {
  __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(cw));
}
#endif
}  // namespace

std::optional<X87Mode> x87_mode_from_text(const std::string &text) {
  if (text == "native") return X87Mode::kNative;
  if (text == "24") return X87Mode::kSingle;
  if (text == "invalid") return X87Mode::kTrapInvalid;
  return std::nullopt;
}

bool x87_modes_available() {
#if defined(__i386__)
  return true;
#else
  return false;
#endif
}

X87Guest::X87Guest(X87Mode mode) {
#if defined(__i386__)
  if (mode == X87Mode::kNative) return;
  saved_ = control_word();
  std::uint16_t cw = saved_;
  if (mode == X87Mode::kSingle) cw = static_cast<std::uint16_t>(cw & ~kPrecisionBits);
  if (mode == X87Mode::kTrapInvalid) cw = static_cast<std::uint16_t>(cw & ~kInvalidMask);
  load_control_word(cw);
  switched_ = true;
#else
  (void)mode;
#endif
}

X87Guest::~X87Guest() {
#if defined(__i386__)
  if (switched_) load_control_word(saved_);
#endif
}

}  // namespace z480
