// Standby_Attitude: the standby horizon. The horizon moves with pitch
// (stopping at 45 degrees) and turns with bank inside a bank ring; the
// reference bars follow the host's bar position, set with the knob below
// the glass (left half lowers, right half raises, repeating while held); a
// failure flag. No gauge callback.
// Reads: 78 pitch and 80 bank (degrees); 612 the reference bars; 279
// instrument and 276 attitude failures (288, the vacuum, is the flag's own
// variable but does not move it).
// Sends: 66319 (bars down) and 66318 (bars up) from the knob halves; the host
// sends them itself.
#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"

extern GaugeHeader Standby_Attitude_Header;

namespace {
constexpr std::int32_t kPitch = 78;
constexpr std::int32_t kBank = 80;
constexpr std::int32_t kAttitudeBars = 612;
constexpr std::int32_t kInstrumentFailure = 279;
constexpr std::int32_t kAttitudeFailure = 276;
constexpr std::int32_t kVacuumFailure = 288;
constexpr std::int32_t kEventBarsDown = 66319;
constexpr std::int32_t kEventBarsUp = 66318;

constexpr std::int32_t kHelpStandby = 43789;
constexpr GaugeHeader *kSelf = &Standby_Attitude_Header;

constexpr double kPitchStop = 45.0;  // degrees

double FSAPI standby_pitch(SpriteElement *e) {
  double pitch = e->source_var_y.var_value.n;
  if (pitch != pitch) return 0.0;  // no reading: level
  return pitch > kPitchStop ? kPitchStop : pitch < -kPitchStop ? -kPitchStop : pitch;
}

double FSAPI standby_failure_flag(IconElement *) {
  double instruments = read_var(kInstrumentFailure);
  double attitude = read_var(kAttitudeFailure);
  return to_int(instruments) != 0 || to_int(attitude) != 0 ? 0.0 : -1.0;
}

// --- the element tree, each element the single child of the one before

FailureRecord attitude_failures[] = {{8, 0, 0}, {2, 0, 0}, {4, 0, 0}, {0, 0, 0}};

constexpr PixPoint kCentre = {141, 142};

// A quarter turn either way for the bars' full travel.
NonlinearityEntry knob_table[] = {table_point(-100, 222, 223), table_point(0, 260, 223),
                                  table_point(100, 298, 223)};

extern GaugeElement *dial_next[];
extern GaugeElement *horizon_next[];
extern GaugeElement *ring_next[];
extern GaugeElement *bars_next[];
extern GaugeElement *flag_next[];
extern GaugeElement *bezel_next[];

constexpr SpriteElement turning(std::int32_t bitmap, GaugeElement **next, Axis y) {
  return sprite({.bitmap = bitmap,
                 .pos = {13, 13},
                 .flags = 0x4083,
                 .next = next,
                 .failures = attitude_failures,
                 .gauge = kSelf,
                 .centre = kCentre,
                 .y = y,
                 .rotation = {.token = kBank, .scale = -1.0},
                 .y_callback = standby_pitch});
}

StaticImageElement dial =
    static_image({.bitmap = 2170, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
SpriteElement horizon = turning(2180, horizon_next, {.token = kPitch, .scale = 1.88});
// The ring reads no variable: its height stays 0 and only the bank turns it.
SpriteElement ring = turning(2190, ring_next, {.scale = 1.0});
SliderElement bars = slider({.bitmap = 2210,
                             .pos = {22, 135},
                             .flags = 0x3,
                             .next = bars_next,
                             .gauge = kSelf,
                             .y = {.token = kAttitudeBars, .scale = -0.3}});
IconElement failure_flag = icon({.bitmap = 2200,
                                 .pos = {25, 67},
                                 .flags = 0x4083,
                                 .next = flag_next,
                                 .gauge = kSelf,
                                 .token = kVacuumFailure,
                                 .callback = standby_failure_flag});
StaticImageElement bezel =
    static_image({.bitmap = 2220, .flags = 0x3, .next = bezel_next, .gauge = kSelf});
NeedleElement knob = needle({.bitmap = 2230,
                             .pos = {260, 261},
                             .flags = 0x83,
                             .failures = attitude_failures,
                             .gauge = kSelf,
                             .pivot = {38, 38},
                             .token = kAttitudeBars,
                             .table = table(knob_table)});

GaugeElement *dial_next[] = {el(horizon), nullptr};
GaugeElement *horizon_next[] = {el(ring), nullptr};
GaugeElement *ring_next[] = {el(bars), nullptr};
GaugeElement *bars_next[] = {el(failure_flag), nullptr};
GaugeElement *flag_next[] = {el(bezel), nullptr};
GaugeElement *bezel_next[] = {el(knob), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpStandby),
    mouse_event({222, 223, 38, 76}, kCursorDownArrow, kLeftRepeat, kEventBarsDown),
    mouse_event({260, 223, 38, 76}, kCursorUpArrow, kLeftRepeat, kEventBarsUp),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Standby_Attitude_Header = gauge_header(
    {.name = "Standby_Attitude", .elements = elements, .size_mm = 100, .mouse = mouse});
