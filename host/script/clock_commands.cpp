// Script commands for simulated time (registered into the command table at
// load):
//   clock on|off              while on, each frame moves the host's clock
//                             tokens on: the simulation time and the time of
//                             day by 1/18 s (the time of day wraps at
//                             midnight), the tick counter by one; off at the
//                             start of every script
//   wait SECONDS              runs the frames of that much simulated time
//   ramp TOKEN VALUE SECONDS  runs the frames of that time, moving a host
//                             variable in equal steps from where it stands to
//                             VALUE, which it reaches in the last frame
#include <cmath>
#include <cstdint>
#include <memory>

#include "frame/host_names.h"
#include "host/script/script.h"

namespace z480 {
namespace {

struct ClockToken {
  std::int32_t token;
  double per_frame;
  double wraps_at;  // after which it starts again from 0; 0: never
};
constexpr double kSecondsPerDay = 86400.0;
// The tick counter is a 32-bit word in the simulator.
constexpr double kTickWrap = 4294967296.0;
constexpr ClockToken kClockTokens[] = {
    {kVarSimulationTime, 1.0 / Host::kFramesPerSecond, 0.0},
    {kVarLocalTime, 1.0 / Host::kFramesPerSecond, kSecondsPerDay},
    {kVarTickCount, 1.0, kTickWrap},
};

// The longest wait or ramp a script may ask for: about a week, so frame
// counts stay inside what the frame command allows.
constexpr double kMaxSeconds = 500000.0;

// One frame of the running clock: every clock token moves on by its step.
void advance_clock(Host &host) {
  for (const ClockToken &c : kClockTokens) {
    double t = host.var(c.token);
    if (!std::isfinite(t)) continue;  // a clock set to no time stays so
    t += c.per_frame;
    if (c.wraps_at > 0.0 && t >= c.wraps_at) t = std::fmod(t, c.wraps_at);
    host.set_var(c.token, t);
  }
}

// The value in frame `step` of `steps` of a ramp: equal steps, landing on
// `to` in the last; a start that is no number jumps there.
double ramp_value(double from, double to, std::int64_t step, std::int64_t steps) {
  if (!std::isfinite(from) || step >= steps) return to;
  return from + (to - from) * static_cast<double>(step) / static_cast<double>(steps);
}

// Whole frames in a script's seconds, rounded to the nearest.
std::int64_t frames_in(double seconds) {
  if (!(seconds >= 0.0) || seconds > kMaxSeconds)
    throw ScriptError("expected seconds from 0 to 500000");
  return std::llround(seconds * Host::kFramesPerSecond);
}

constexpr const char *kClockExtension = "clock";

struct ClockState {
  bool running = false;
};

Step cmd_clock(const ScriptLine &, Args &a) {
  std::string word = a.word("on or off");
  if (word != "on" && word != "off") throw ScriptError("expected on or off, got " + word);
  a.done();
  bool on = word == "on";
  return [on](ScriptRun &run) {
    std::shared_ptr<void> &slot = run.extensions[kClockExtension];
    if (!slot) {
      if (!on) return;
      auto state = std::make_shared<ClockState>();
      Host &host = run.host;
      host.on_frame([state, &host] {
        if (state->running) advance_clock(host);
      });
      slot = state;
    }
    std::static_pointer_cast<ClockState>(slot)->running = on;
  };
}

Step cmd_wait(const ScriptLine &, Args &a) {
  std::int64_t frames = frames_in(a.number("seconds"));
  a.done();
  return [frames](ScriptRun &run) {
    for (std::int64_t i = 0; i < frames; ++i) run.host.frame();
  };
}

Step cmd_ramp(const ScriptLine &, Args &a) {
  std::int32_t token = a.token();
  double to = a.number("a value");
  if (!std::isfinite(to)) throw ScriptError("expected a finite value to ramp to");
  std::int64_t frames = frames_in(a.number("seconds"));
  a.done();
  return [=](ScriptRun &run) {
    Host &host = run.host;
    double from = host.var(token);
    if (frames == 0) return host.set_var(token, to);
    for (std::int64_t k = 1; k <= frames; ++k) {
      host.set_var(token, ramp_value(from, to, k, frames));
      host.frame();
    }
  };
}

}  // namespace

void add_clock_commands(ScriptTables &tables) {
  tables.commands["clock"] = cmd_clock;
  tables.commands["wait"] = cmd_wait;
  tables.commands["ramp"] = cmd_ramp;
}

}  // namespace z480
