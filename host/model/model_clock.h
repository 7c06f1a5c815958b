// What the systems model moves by itself over time (gear legs travelling,
// flaps running, engines spooling, alternators coming online). A table lists
// such work as rules under the pseudo event kEveryFrame, which the model runs
// once at the end of every frame while it is on; no key event has that id.
// The helpers below are shared by the tables that read levers and axes.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "host/model/systems_model.h"

namespace z480 {

inline constexpr std::int32_t kEveryFrame = -1;

// Full scale of the host's lever and axis values (a key event's 16384 is the
// lever at its stop).
inline constexpr double kAxisFullScale = 16384.0;

// A host value that is no number counts as `fallback` (a lever at rest).
inline double finite_or(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

// One step of at most `step` from `current` towards `target`, landing on
// the target itself when it is within reach (with room for the rounding of
// steps that divide a travel evenly, so a travel of n steps takes n frames).
inline double move_toward(double current, double target, double step) {
  if (std::fabs(target - current) <= step * (1.0 + 1e-9)) return target;
  return current + (target > current ? step : -step);
}

// A lever fraction, 0 to 1, from an axis key event's value (16384 at the
// stop); the value is a signed word, and anything outside the travel stops
// at its end.
inline double axis_fraction(std::uint32_t value) {
  return std::clamp(static_cast<std::int32_t>(value) / kAxisFullScale, 0.0, 1.0);
}

// token := the event's axis value as a lever fraction
inline void action_set_axis(Host &host, const ModelRule &rule, std::uint32_t value) {
  host.set_var(rule.token, axis_fraction(value));
}

}  // namespace z480
