// Manual_Autopilot: the pilot's own pitch and roll channels. The PITCH
// thumb-wheel (DESCEND at the top, CLIMB at the bottom) engages the pitch
// channel and moves the pitch to hold half a unit a click, never beyond 8
// either way; the TURN knob engages the roll channel while its bank target is
// within 3 of level and moves the target a unit a click, its middle shrinking
// it back towards level. A lamp shows the autopilot and yaw damper both
// engaged. The channels themselves run with the autopilot annunciator.
// Reads: kVarAutopilotMaster and kVarYawDamper, for the lamp.
// Sends: the channels' engagement events (the host's modes that would fight
// the channel switched off), no sound.
// Module-wide: Pitch_Reference and Bank_Target; engaging sets
// Pitch_Channel_On and Roll_Channel_On.
#include <algorithm>
#include <cmath>

#include "frame/declare.h"
#include "frame/host_names.h"
#include "frame/services.h"
#include "gauges/autopilot/autopilot_laws.h"
#include "gauges/autopilot/autopilot_state.h"

extern GaugeHeader Manual_Autopilot_Header;

namespace {
constexpr std::int32_t kHelp = 43835;
constexpr GaugeHeader *kSelf = &Manual_Autopilot_Header;

constexpr double kWheelStep = 0.5;
constexpr double kPitchReferenceStop = 8.0;
constexpr double kWheelTurn = 3.0;  // wheel travel over its six pictures
constexpr double kKnobStep = 1.0;
constexpr double kKnobCentring = 1.25;
constexpr double kEngageBelow = 3.0;  // the knob engages within this of level
constexpr double kKnobStopDegrees = 90.0;

// The wheel's travel in half steps, unbounded; it only turns the picture.
double Pitch_Wheel_Position = 0.0;

// --- mouse callbacks: each acts on every call it receives, silently

std::int32_t FSAPI pitch_wheel_climb(MouseCallbackRecord *, std::uint32_t) {
  ap_pitch_engage();
  Pitch_Reference = std::min(Pitch_Reference + kWheelStep, kPitchReferenceStop);
  Pitch_Wheel_Position += kWheelStep;
  return 0;
}
std::int32_t FSAPI pitch_wheel_descend(MouseCallbackRecord *, std::uint32_t) {
  ap_pitch_engage();
  Pitch_Reference = std::max(Pitch_Reference - kWheelStep, -kPitchReferenceStop);
  Pitch_Wheel_Position -= kWheelStep;
  return 0;
}

void engage_roll_near_level() {
  if (std::fabs(Bank_Target) < kEngageBelow) ap_roll_engage();
}
std::int32_t FSAPI turn_knob_left(MouseCallbackRecord *, std::uint32_t) {
  engage_roll_near_level();
  Bank_Target = std::max(Bank_Target - kKnobStep, -kBankLimit);
  return 0;
}
std::int32_t FSAPI turn_knob_centre(MouseCallbackRecord *, std::uint32_t) {
  engage_roll_near_level();
  Bank_Target /= kKnobCentring;
  return 0;
}
std::int32_t FSAPI turn_knob_right(MouseCallbackRecord *, std::uint32_t) {
  engage_roll_near_level();
  Bank_Target = std::min(Bank_Target + kKnobStep, kBankLimit);
  return 0;
}

// --- element callbacks

// 0 up to 6 through the six wheel pictures, round again every 3.0 of travel.
double FSAPI pitch_wheel_frame(IconElement *) {
  double p = Pitch_Wheel_Position;
  return (p - kWheelTurn * std::floor(p / kWheelTurn)) / kWheelStep;
}
double FSAPI turn_knob_angle(NeedleElement *) {
  return Bank_Target / kBankLimit * kKnobStopDegrees;
}
double FSAPI autopilot_ready_lamp(IconElement *) {
  double engaged = read_var(kVarAutopilotMaster);
  double yaw_damper = read_var(kVarYawDamper);
  return engaged > 0.0 && yaw_damper > 0.0 ? 1.0 : 0.0;
}

// --- the elements

struct Parts {
  StaticImageElement face = static_image({.bitmap = 5310, .flags = kImageStandard, .gauge = kSelf});
  IconElement lamp = icon({.bitmap = 5340,
                           .pos = {97, 81},
                           .flags = kImageBright,
                           .gauge = kSelf,
                           .callback = autopilot_ready_lamp,
                           .images = 2});
  NeedleElement knob = needle({.bitmap = 5330,
                               .pos = {161, 55},
                               .flags = kImageSmooth,
                               .gauge = kSelf,
                               .pivot = {32, 32},
                               .callback = turn_knob_angle});
  IconElement wheel = icon({.bitmap = 5320,
                            .pos = {33, 31},
                            .flags = kImageStandard,
                            .gauge = kSelf,
                            .callback = pitch_wheel_frame,
                            .images = 6});
};
constinit DrawOrder<Parts, &Parts::face, &Parts::lamp, &Parts::knob, &Parts::wheel> tree;

// Every rectangle acts again while the button is held.
constexpr std::uint32_t kHeld = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelp),
    mouse_parent({33, 31, 24, 53}, 0),
    mouse_callback({0, 0, 24, 26}, kCursorDownArrow, kHeld, pitch_wheel_descend),
    mouse_callback({0, 26, 24, 26}, kCursorUpArrow, kHeld, pitch_wheel_climb),
    mouse_end_parent(),
    mouse_parent({129, 23, 64, 30}, 0),
    mouse_callback({0, 0, 21, 30}, kCursorDownArrow, kHeld, turn_knob_left),
    mouse_callback({21, 0, 21, 30}, kCursorHand, kHeld, turn_knob_centre),
    mouse_callback({42, 0, 21, 30}, kCursorUpArrow, kHeld, turn_knob_right),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Manual_Autopilot_Header = gauge_header<&Manual_Autopilot_Header>(
    {.name = "Manual_Autopilot", .elements = tree.elements, .size_mm = 150, .mouse = mouse});
