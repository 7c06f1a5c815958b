// The Z480's performance in JSBSim against its design figures (the table in
// aircraft/z480/README.md), each flown as a test pilot would: a steady
// climb at a held speed, a level run at full power, a slow deceleration to
// the stall, a take-off from brakes, an engine start. Tolerances are about
// 10 %. And the link itself: determinism and its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <optional>
#include <vector>

#include "host/model/jsbsim.h"

namespace z480 {
namespace {

const std::vector<std::string> kWrites = {
    "fcs/elevator-cmd-norm",    "fcs/aileron-cmd-norm",    "fcs/rudder-cmd-norm",
    "fcs/throttle-cmd-norm",    "fcs/throttle-cmd-norm[1]", "fcs/advance-cmd-norm",
    "fcs/advance-cmd-norm[1]",  "fcs/flap-cmd-norm",       "gear/gear-cmd-norm",
    "fcs/left-brake-cmd-norm",  "fcs/right-brake-cmd-norm", "fcs/feather-cmd-norm[1]",
    "propulsion/engine/reverser", "propulsion/engine[1]/reverser",
    "propulsion/active_engine", "propulsion/starter_cmd",  "propulsion/cutoff_cmd",
};
enum Write { kElevator, kAileron, kRudder, kThrottle1, kThrottle2, kAdvance1, kAdvance2, kFlaps,
             kGear, kBrakeLeft, kBrakeRight, kFeather2, kReverser1, kReverser2, kWriteCount };
const std::vector<std::string> kReads = {
    "velocities/vc-kts",        "velocities/vtrue-kts",      "position/h-sl-ft",
    "position/h-agl-ft",        "velocities/h-dot-fps",      "attitude/theta-deg",
    "attitude/phi-deg",         "aero/alpha-deg",            "aero/beta-deg",
    "velocities/q-rad_sec",     "velocities/p-rad_sec",      "gear/wow",
    "z480/north-ft",            "z480/east-ft",              "attitude/psi-deg",
    "propulsion/engine[0]/n1",  "propulsion/engine[0]/itt-c", "propulsion/engine[0]/fuel-flow-rate-pps",
    "propulsion/tank[0]/contents-lbs",
    "propulsion/engine[0]/thrust-lbs", "propulsion/engine[0]/propeller-rpm",
    "propulsion/engine[1]/propeller-rpm",
};
enum Read { kSpeed, kTrueSpeed, kAltitude, kHeight, kClimbFps, kPitch, kBank, kAlpha, kBeta, kQ,
            kP, kWow, kNorth, kEast, kHeading, kN1, kItt, kFuelFlowPps, kTank, kThrust1, kPropRpm1,
            kPropRpm2 };

constexpr double kFrame = 1.0 / 18;

// The aircraft and a pilot who holds a speed with the elevator, or a height,
// keeps the wings level and the ball centred.
class TestFlight {
 public:
  explicit TestFlight(const JsbsimStart &start)
      : sim_(default_jsbsim_files(), start, kWrites, kReads), controls_(kWriteCount, 0.0) {
    controls_[kAdvance1] = controls_[kAdvance2] = 1;
    controls_[kGear] = start.altitude_ft > 0 ? 0 : 1;
    state_ = sim_.frame(controls_);
  }
  static JsbsimStart air(double altitude, double speed) { return {47, 8, altitude, speed, 40, true}; }

  double operator[](Read r) const { return state_[r]; }
  void set(Write w, double v) { controls_[w] = v; }
  void power(double both) { controls_[kThrottle1] = controls_[kThrottle2] = both; }
  void frame(const std::vector<Jsbsim::Command> &commands = {}) { state_ = sim_.frame(controls_, commands); }

  // One frame flown holding a speed (knots) or a height (feet).
  void hold_speed(double knots) { fly(std::nullopt, knots); }
  void hold_height(double feet) { fly(feet, std::nullopt); }

  // Seconds of flight, calling `each` after every frame; averages of a
  // value over the last `average` seconds.
  template <typename F>
  double average(double seconds, double average_over, Read r, F each) {
    int frames = static_cast<int>(seconds * 18), last = static_cast<int>(average_over * 18);
    double sum = 0;
    for (int i = 0; i < frames; ++i) {
      each();
      if (i >= frames - last) sum += state_[r];
    }
    return sum / last;
  }

 private:
  void fly(std::optional<double> height, std::optional<double> speed) {
    if (!started_) {
      wanted_pitch_ = pitch_sum_ = state_[kPitch];
      started_ = true;
    }
    if (speed) {
      double error = state_[kSpeed] - *speed;
      pitch_sum_ += error * 0.03 * kFrame;
      wanted_pitch_ = pitch_sum_ + 0.5 * error;
    } else {
      double wanted_fpm = std::clamp((*height - state_[kAltitude]) * 3, -1500.0, 1500.0);
      double error = (wanted_fpm - state_[kClimbFps] * 60) / 400;
      pitch_sum_ += error * 0.5 * kFrame;
      wanted_pitch_ = pitch_sum_ + error;
    }
    pitch_sum_ = std::clamp(pitch_sum_, -15.0, 25.0);
    wanted_pitch_ = std::clamp(wanted_pitch_, -15.0, 25.0);
    double e = (state_[kPitch] - wanted_pitch_) / 10;
    elevator_sum_ = std::clamp(elevator_sum_ + e * 0.8 * kFrame, -1.0, 1.0);
    controls_[kElevator] = std::clamp(1.5 * e + elevator_sum_ + 1.5 * state_[kQ], -1.0, 1.0);
    controls_[kAileron] = std::clamp(-state_[kBank] / 20 - 2 * state_[kP], -1.0, 1.0);
    controls_[kRudder] = std::clamp(state_[kBeta] / 5, -1.0, 1.0);
    frame();
  }

  Jsbsim sim_;
  std::vector<double> controls_;
  std::vector<double> state_;
  bool started_ = false;
  double wanted_pitch_ = 0, pitch_sum_ = 0;
  double elevator_sum_ = 0;
};

TEST(FlightPerformance, ClimbsAt2000FeetAMinuteOnBothEnginesAndSlowlyOnOne) {
  TestFlight both(TestFlight::air(500, 140));
  both.set(kFlaps, 1.0 / 3);
  both.power(1);
  double fpm = 60 * both.average(90, 30, kClimbFps, [&] { both.hold_speed(140); });
  EXPECT_NEAR(fpm, 2000, 200);
  EXPECT_NEAR(both[kSpeed], 140, 3);
  EXPECT_NEAR(both[kItt], 725, 25);  // take-off power

  TestFlight one(TestFlight::air(1000, 140));
  one.set(kFlaps, 1.0 / 3);
  one.set(kThrottle1, 1);
  one.set(kFeather2, 1);
  one.frame({{"propulsion/active_engine", 1}, {"propulsion/cutoff_cmd", 1}});
  fpm = 60 * one.average(90, 30, kClimbFps, [&] { one.hold_speed(140); });
  EXPECT_GT(fpm, 100);
  EXPECT_LT(fpm, 600);
}

TEST(FlightPerformance, MaximumLevelSpeeds) {
  TestFlight low(TestFlight::air(1000, 230));
  low.power(1);
  EXPECT_NEAR(low.average(150, 10, kSpeed, [&] { low.hold_height(1000); }), 245, 24);

  TestFlight high(TestFlight::air(20000, 180));
  high.power(1);
  EXPECT_NEAR(high.average(150, 10, kTrueSpeed, [&] { high.hold_height(20000); }), 270, 27);
}

TEST(FlightPerformance, CruiseFuelFlow) {
  TestFlight cruise(TestFlight::air(15000, 200));
  cruise.power(0.8);
  double pps = cruise.average(120, 10, kFuelFlowPps, [&] { cruise.hold_height(15000); });
  EXPECT_NEAR(pps * 3600, 400, 40);
}

// Idle power, the height held, the speed bleeding off until the wing stalls.
double stall_speed(double flaps) {
  TestFlight f(TestFlight::air(5000, 130));
  f.set(kFlaps, flaps);
  f.set(kGear, flaps > 0.5 ? 1 : 0);
  f.power(0);
  double slowest = 1e9;
  for (int i = 0; i < 90 * 18 && f[kAlpha] < 17; ++i) {
    f.hold_height(5000);
    slowest = std::min(slowest, f[kSpeed]);
  }
  EXPECT_GE(f[kAlpha], 17) << "no stall";
  return slowest;
}

TEST(FlightPerformance, StallsAt95KnotsCleanAnd80WithFullFlaps) {
  EXPECT_NEAR(stall_speed(0), 95, 9.5);
  EXPECT_NEAR(stall_speed(1), 80, 8);
}

TEST(FlightPerformance, TakesOffWithin1200Metres) {
  TestFlight f({47, 8, 0, 0, 40, true});
  f.set(kFlaps, 1.0 / 3);
  f.set(kBrakeLeft, 1);
  f.set(kBrakeRight, 1);
  f.power(1);
  for (int i = 0; i < 8 * 18; ++i) f.frame();
  double north = f[kNorth], east = f[kEast];
  auto metres = [&] { return std::hypot(f[kNorth] - north, f[kEast] - east) * 0.3048; };
  f.set(kBrakeLeft, 0);
  f.set(kBrakeRight, 0);
  std::optional<double> rotation, lift_off;
  double ground_height = f[kHeight];
  for (int i = 0; i < 90 * 18 && f[kHeight] < ground_height + 35; ++i) {
    if (!rotation && f[kSpeed] >= 105) rotation = metres();
    // Rotate to 8 degrees nose up; the rudder keeps the centreline.
    double e = (f[kPitch] - 8) / 10;
    f.set(kElevator, rotation ? std::clamp(2 * e + 1.5 * f[kQ], -1.0, 1.0) : 0);
    f.set(kRudder, std::clamp((40 - f[kHeading]) / 5, -1.0, 1.0));
    f.frame();
    if (!lift_off && f[kWow] == 0 && f[kHeight] > ground_height + 2) lift_off = metres();
  }
  ASSERT_TRUE(rotation && lift_off);
  EXPECT_NEAR(*rotation, 550, 100);
  EXPECT_LT(*lift_off, *rotation + 200);
  // To 35 ft, climbing away from the lift-off at a believable rate.
  EXPECT_LE(metres(), 1200);
  EXPECT_GT(metres(), *lift_off + 250);
}

TEST(FlightPerformance, EngineStartLightsOffHotAndSettlesAtIdle) {
  TestFlight f({47, 8, 0, 0, 40, false});
  f.set(kBrakeLeft, 1);
  f.set(kBrakeRight, 1);
  f.frame({{"propulsion/active_engine", 0}, {"propulsion/starter_cmd", 1}});
  double peak = 0, fuel_at_start = f[kTank];
  bool lit = false;
  int lit_frame = 0;
  EXPECT_EQ(f[kFuelFlowPps], 0);
  for (int i = 0; i < 60 * 18; ++i) {
    std::vector<Jsbsim::Command> c;
    if (!lit && f[kN1] > 15) {
      c = {{"propulsion/active_engine", 0}, {"propulsion/cutoff_cmd", 0}};
      lit = true;
      lit_frame = i;
    }
    f.frame(c);
    peak = std::max(peak, f[kItt]);
    if (lit && i < lit_frame + 18) {
      EXPECT_GT(f[kItt], 0);
    }
  }
  EXPECT_GT(peak, 700);   // the light-off
  EXPECT_LT(peak, 850);
  EXPECT_NEAR(f[kItt], 500, 25);
  EXPECT_NEAR(f[kN1], 62, 1);
  EXPECT_NEAR(f[kFuelFlowPps] * 3600, 130, 13);
  EXPECT_LT(f[kTank], fuel_at_start - 0.5);  // the tank drains
}

// A landing roll from 110 kt, brakes off, the levers at idle or in full
// reverse from 3 s on, the rudder on the centreline, until 15 kt: the
// distance from 100 kt, one engine's thrust as it passes 100, 60 and 20 kt,
// the fastest propeller and the hardest deceleration in reverse.
struct Roll {
  double metres = 0, thrust[3] = {0, 0, 0}, fastest_rpm = 0, hardest_g = 0;
};
Roll landing_roll(bool reverse) {
  TestFlight f({47, 8, 0, 110, 40, true});
  Roll roll;
  for (int i = 0; i < 3 * 18; ++i) f.frame();
  f.set(kReverser1, reverse ? 1 : 0);
  f.set(kReverser2, reverse ? 1 : 0);
  f.power(reverse ? 1 : 0);
  const double marks[] = {100, 60, 20};
  std::optional<double> north, east;
  std::vector<double> speeds;
  for (int i = 0; i < 300 * 18 && f[kSpeed] > 15; ++i) {
    f.set(kRudder, std::clamp((40 - f[kHeading]) / 5, -1.0, 1.0));
    double before = f[kSpeed];
    f.frame();
    for (int m = 0; m < 3; ++m)
      if (before >= marks[m] && f[kSpeed] < marks[m]) roll.thrust[m] = f[kThrust1];
    if (!north && f[kSpeed] < 100) north = f[kNorth], east = f[kEast];
    speeds.push_back(f[kSpeed]);
    // over each second, the blades and engines settled after the first two
    if (i >= 2 * 18) roll.fastest_rpm = std::max({roll.fastest_rpm, f[kPropRpm1], f[kPropRpm2]});
    if (speeds.size() > 18)
      roll.hardest_g = std::max(roll.hardest_g, (speeds[speeds.size() - 19] - f[kSpeed]) * 1.6878 / 32.174);
  }
  EXPECT_LE(f[kSpeed], 15) << "still rolling";
  if (north) roll.metres = std::hypot(f[kNorth] - *north, f[kEast] - *east) * 0.3048;
  return roll;
}

TEST(FlightPerformance, FullReversePushesWithAboutHalfTheStaticPullAndSlowsTheRollBelievably) {
  TestFlight held({47, 8, 0, 0, 40, true});
  held.set(kBrakeLeft, 1);
  held.set(kBrakeRight, 1);
  held.power(1);
  for (int i = 0; i < 10 * 18; ++i) held.frame();
  double static_pull = held[kThrust1];
  EXPECT_NEAR(static_pull, 2700, 300);

  Roll reverse = landing_roll(true);
  for (double t : reverse.thrust) {
    EXPECT_LT(t, -static_pull / 3);
    EXPECT_GT(t, -static_pull * 0.6);
  }
  // The engine's reverse power is what the blade takes near the rated speed.
  EXPECT_LT(reverse.fastest_rpm, 1750);
  EXPECT_GT(reverse.fastest_rpm, 1300);
  EXPECT_LT(reverse.hardest_g, 0.4);
  EXPECT_GT(reverse.hardest_g, 0.1);

  Roll idle = landing_roll(false);
  EXPECT_LT(idle.hardest_g, 0.06);
  EXPECT_LT(reverse.metres, idle.metres / 2);
}

// Cut off at ground idle: the blades feather as the oil pressure goes, and
// the propeller stops in tens of seconds, not minutes and not at once.
TEST(FlightPerformance, APropellerCutOffAtGroundIdleStopsWithinHalfAMinute) {
  TestFlight f({47, 8, 0, 0, 40, true});
  f.set(kBrakeLeft, 1);
  f.set(kBrakeRight, 1);
  for (int i = 0; i < 20 * 18; ++i) f.frame();
  double idle_rpm = f[kPropRpm1];
  EXPECT_GT(idle_rpm, 1300);
  f.frame({{"propulsion/active_engine", -1}, {"propulsion/cutoff_cmd", 1}});
  int frames = 0;
  for (; frames < 120 * 18 && f[kPropRpm1] > 0.02 * 1700; ++frames) {
    f.frame();
    if (frames == 3 * 18) {
      EXPECT_GT(f[kPropRpm1], idle_rpm / 2);
    }
  }
  EXPECT_GT(frames, 10 * 18);
  EXPECT_LT(frames, 30 * 18);
  EXPECT_NEAR(f[kPropRpm2], f[kPropRpm1], 20);
}

TEST(JsbsimLink, TwoRunsGiveTheSameNumbers) {
  auto run = [] {
    TestFlight f(TestFlight::air(3000, 160));
    f.power(0.7);
    std::vector<double> trace;
    for (int i = 0; i < 10 * 18; ++i) {
      f.hold_height(3500);
      trace.push_back(f[kAltitude]);
      trace.push_back(f[kSpeed]);
    }
    return trace;
  };
  EXPECT_EQ(run(), run());
}

TEST(JsbsimLink, FailuresAreErrorsNotSilence) {
  JsbsimFiles files = default_jsbsim_files();
  JsbsimStart start{47, 8, 0, 0, 40, false};
  JsbsimFiles no_program = files;
  no_program.program = "/nonexistent/JSBSim";
  EXPECT_THROW(Jsbsim(no_program, start, {}, {}), JsbsimError);
  JsbsimFiles no_aircraft = files;
  no_aircraft.aircraft = "/nonexistent";
  EXPECT_THROW(Jsbsim(no_aircraft, start, {}, {}), JsbsimError);
  try {
    Jsbsim j(files, start, {}, {"no/such-property"});
    ADD_FAILURE() << "an unknown property was taken";
  } catch (const JsbsimError &e) {
    EXPECT_NE(std::string(e.what()).find("no/such-property"), std::string::npos) << e.what();
  }
  // A child that dies mid-flight ends the link with an error.
  Jsbsim j(files, start, {}, {"simulation/sim-time-sec"});
  EXPECT_GT(j.frame({})[0], 0);
  ASSERT_GT(j.child(), 0);
  ::kill(j.child(), SIGKILL);
  EXPECT_THROW(j.frame({}), JsbsimError);
}

// A connect to a port nobody listens on can meet itself; such a socket is
// no link to JSBSim. Made here on purpose: bound to the port it connects to.
TEST(JsbsimLink, ASocketThatMetItselfIsKnown) {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(s, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
  ASSERT_EQ(::getsockname(s, reinterpret_cast<sockaddr *>(&a), &len), 0);
  ASSERT_EQ(::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
  EXPECT_TRUE(connected_to_itself(s));
  ::close(s);

  int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  a.sin_port = 0;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr *>(&a), &len), 0);
  int client = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
  EXPECT_FALSE(connected_to_itself(client));
  ::close(client);
  ::close(listener);
}

}  // namespace
}  // namespace z480
