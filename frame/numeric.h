// Host values arrive as doubles and may be anything. Every conversion of one
// to an integer (a key-event value, a BCD word, a flag word, an icon index)
// goes through these helpers so NaN, infinities and huge values have one
// defined result.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Truncates toward zero; NaN gives 0; values beyond the 32-bit range clamp to
// its ends (so +inf gives INT32_MAX and -inf INT32_MIN).
constexpr std::int32_t to_int(double v) {
  if (v != v) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// A key-event value: the host takes a 32-bit word, negative values in two's
// complement.
constexpr std::uint32_t to_event_value(double v) {
  return static_cast<std::uint32_t>(to_int(v));
}

// An unsigned word read from the host (BCD frequencies, flag words): NaN and
// negative values give 0, values beyond 32 bits clamp to 0xFFFFFFFF.
constexpr std::uint32_t to_word(double v) {
  if (!(v > 0.0)) return 0;
  if (v >= 4294967295.0) return 0xFFFFFFFFu;
  return static_cast<std::uint32_t>(v);
}

// A host value held within -bound .. bound (a pointer or bar at its stop);
// NaN, no reading, gives 0: at rest in the middle.
constexpr double held_within(double v, double bound) {
  if (v != v) return 0.0;
  return v > bound ? bound : v < -bound ? -bound : v;
}

// A host value that is no finite number becomes a quiet NaN before it
// reaches a library function (fmod, sin, cos) that would raise the invalid-
// operation exception on it: a host may run with that exception unmasked.
// The result is the NaN the function would have given.
inline double finite_or_nan(double v) {
  return std::isfinite(v) ? v : std::numeric_limits<double>::quiet_NaN();
}
// fmod of a host value by a constant period, NaN for a value that is no
// finite number.
inline double wrapped(double v, double period) {
  double f = finite_or_nan(v);
  return f == f ? std::fmod(f, period) : f;
}

// Bus-power tests. Gauges differ on purpose in whether the threshold itself
// counts as powered, so each says which; NaN is never powered.
constexpr bool bus_above(double volts, double threshold) { return volts > threshold; }
constexpr bool bus_at_least(double volts, double threshold) { return volts >= threshold; }
