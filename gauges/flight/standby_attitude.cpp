// Standby_Attitude: the standby horizon. The horizon moves with pitch
// (stopping at 45 degrees) and turns with bank inside a bank ring; the
// reference bars follow the host's bar position, set with the knob below
// the glass (left half lowers, right half raises, repeating while held); a
// failure flag. No gauge callback.
// Reads: kVarPitch and kVarBank (degrees); kVarAttitudeBars; the electrical
// and attitude failures (the vacuum failure is the flag's own variable but
// does not move it).
// Sends: kEventAttitudeBarsDown and kEventAttitudeBarsUp from the knob halves;
// the host sends them itself.
#include "frame/declare.h"
#include "frame/host_names.h"
#include "frame/numeric.h"
#include "frame/services.h"

extern GaugeHeader Standby_Attitude_Header;

namespace {
constexpr std::int32_t kHelpStandby = 43789;
constexpr GaugeHeader *kSelf = &Standby_Attitude_Header;

constexpr double kPitchStop = 45.0;  // degrees

double FSAPI standby_pitch(SpriteElement *e) {
  return held_within(e->source_var_y.var_value.n, kPitchStop);
}

double FSAPI standby_failure_flag(IconElement *) {
  bool failed = host_flag_set(kVarElectricalFailure);
  failed = host_flag_set(kVarAttitudeFailure) || failed;
  return failed ? 0.0 : -1.0;
}

// --- the elements

FailureRecord attitude_failures[] = {
    failure(kFailGaugeAttitude),
    failure(kFailSystemEngine),
    failure(kFailSystemVacuum),
    kFailuresEnd,
};

constexpr PixPoint kCentre = {141, 142};

// An eighth of a turn either way for the bars' full travel.
NonlinearityEntry knob_table[] = {table_point(-100, 222, 223), table_point(0, 260, 223),
                                  table_point(100, 298, 223)};

// The horizon and the bank ring turn against the bank about one centre.
constexpr SpriteElement turning(std::int32_t bitmap, Axis y) {
  return sprite({.bitmap = bitmap,
                 .pos = {13, 13},
                 .flags = kImageLitSmooth,
                 .failures = attitude_failures,
                 .gauge = kSelf,
                 .centre = kCentre,
                 .y = y,
                 .rotation = {.token = kVarBank, .scale = -1.0},
                 .y_callback = standby_pitch});
}

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 2170, .flags = kImageLit, .gauge = kSelf});
  SpriteElement horizon = turning(2180, {.token = kVarPitch, .scale = 1.88});
  // The ring reads no variable: its height stays 0 and only the bank turns it.
  SpriteElement ring = turning(2190, {.scale = 1.0});
  SliderElement bars = slider({.bitmap = 2210,
                               .pos = {22, 135},
                               .flags = kImageStandard,
                               .gauge = kSelf,
                               .y = {.token = kVarAttitudeBars, .scale = -0.3}});
  IconElement failure_flag = flag({.bitmap = 2200,
                                   .pos = {25, 67},
                                   .flags = kImageLitSmooth,
                                   .gauge = kSelf,
                                   .token = kVarVacuumFailure,
                                   .callback = standby_failure_flag});
  StaticImageElement bezel =
      static_image({.bitmap = 2220, .flags = kImageStandard, .gauge = kSelf});
  NeedleElement knob = needle({.bitmap = 2230,
                               .pos = {260, 261},
                               .flags = kImageSmooth,
                               .failures = attitude_failures,
                               .gauge = kSelf,
                               .pivot = {38, 38},
                               .token = kVarAttitudeBars,
                               .table = table(knob_table)});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::horizon, &Parts::ring, &Parts::bars,
                    &Parts::failure_flag, &Parts::bezel, &Parts::knob>
    tree;

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpStandby),
    mouse_event({222, 223, 38, 76}, kCursorDownArrow, kLeftRepeat, kEventAttitudeBarsDown),
    mouse_event({260, 223, 38, 76}, kCursorUpArrow, kLeftRepeat, kEventAttitudeBarsUp),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Standby_Attitude_Header = gauge_header<&Standby_Attitude_Header>(
    {.name = "Standby_Attitude", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
