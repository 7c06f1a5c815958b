// Autopilot_Lights: the autopilot annunciator, two rows of seven lamps: the
// host's modes, the module's GS EXT and standby states, and the pitch and
// roll coupling. No controls. Its update runs the module's own autopilot
// laws (autopilot_laws.h), so they work only while this gauge is on the
// panel; during a standby run every lamp lights, as a lamp test.
// Reads: the mode words kVarAutopilotMaster to kVarAutopilotAirspeedHold
// and kVarYawDamper; the failures that darken a mode's lamp
// (kVarAirspeedFailure, kVarAltimeterFailure, kVarElectricalFailure,
// kVarHeadingFailure, kVarNavReceiverFailure, kVarTurnCoordinatorFailure);
// kVarRadioHeight for GS EXT; and what the laws read.
// Sends: what the laws send; no sound.
// Module-wide: reads Standby_Active and GS_EXT_Selected.
#include "frame/declare.h"
#include "frame/host_names.h"
#include "frame/services.h"
#include "gauges/autopilot/autopilot_laws.h"
#include "gauges/autopilot/autopilot_state.h"

extern GaugeHeader Autopilot_Lights_Header;

namespace {
constexpr std::int32_t kHelp = 43835;
constexpr GaugeHeader *kSelf = &Autopilot_Lights_Header;
// GS EXT lights below 250 ft of radio height.
constexpr double kGsExtHeight = 76.19999756160009;  // metres

double lamp(bool lit) { return lit ? 0.0 : -1.0; }

// --- element callbacks: each reads all its variables, then tests

// A host mode's lamp: lit while the mode is on and its failure is not.
template <std::int32_t Mode, std::int32_t Failure>
double FSAPI mode_lamp(IconElement *) {
  double mode = read_var(Mode);
  double failure = read_var(Failure);
  return lamp(Standby_Active != 0 || (mode > 0.0 && failure == 0.0));
}

// A coupling lamp: lit with autopilot and yaw damper engaged, or with either
// mode that couples its axis.
template <std::int32_t First, std::int32_t Second>
double FSAPI coupled_lamp(IconElement *) {
  double master = read_var(kVarAutopilotMaster);
  double yaw_damper = read_var(kVarYawDamper);
  double first = read_var(First);
  double second = read_var(Second);
  return lamp((master > 0.0 && yaw_damper > 0.0) || Standby_Active != 0 || first > 0.0 ||
              second > 0.0);
}

double FSAPI gs_ext_lamp(IconElement *) {
  double height = read_var(kVarRadioHeight);
  double failure = read_var(kVarElectricalFailure);
  return lamp(Standby_Active != 0 ||
              (height < kGsExtHeight && failure == 0.0 && GS_EXT_Selected != 0));
}

double FSAPI standby_lamp(IconElement *) { return lamp(Standby_Active != 0); }

// --- the elements, drawn from the lower row's right end back to HDG

constexpr IconElement light(std::int32_t bitmap, PixPoint pos, IconCallback callback) {
  return icon(
      {.bitmap = bitmap, .pos = pos, .flags = kImageBright, .gauge = kSelf, .callback = callback});
}

struct Parts {
  StaticImageElement panel =
      static_image({.bitmap = 5160, .flags = kImageStandard, .gauge = kSelf});
  IconElement yd = light(5300, {312, 55}, mode_lamp<kVarYawDamper, kVarElectricalFailure>);
  IconElement ap = light(5290, {267, 55}, mode_lamp<kVarAutopilotMaster, kVarElectricalFailure>);
  IconElement sby = light(5280, {222, 55}, standby_lamp);
  IconElement gs_ext = light(5270, {177, 55}, gs_ext_lamp);
  IconElement gs =
      light(5260, {132, 55}, mode_lamp<kVarAutopilotGlideslopeHold, kVarNavReceiverFailure>);
  IconElement app =
      light(5250, {87, 55}, mode_lamp<kVarAutopilotApproachHold, kVarNavReceiverFailure>);
  IconElement vl = light(5240, {42, 55}, mode_lamp<kVarAutopilotNav1Hold, kVarNavReceiverFailure>);
  IconElement rol_cpl =
      light(5230, {312, 10}, coupled_lamp<kVarAutopilotHeadingHold, kVarAutopilotWingLeveler>);
  IconElement ptc_cpl =
      light(5220, {267, 10}, coupled_lamp<kVarAutopilotAttitudeHold, kVarAutopilotAltitudeHold>);
  IconElement sr =
      light(5210, {222, 10}, mode_lamp<kVarAutopilotWingLeveler, kVarTurnCoordinatorFailure>);
  IconElement rev =
      light(5200, {177, 10}, mode_lamp<kVarAutopilotBackCourseHold, kVarNavReceiverFailure>);
  IconElement ias =
      light(5190, {132, 10}, mode_lamp<kVarAutopilotAirspeedHold, kVarAirspeedFailure>);
  IconElement alt =
      light(5180, {87, 10}, mode_lamp<kVarAutopilotAltitudeHold, kVarAltimeterFailure>);
  IconElement hdg = light(5170, {42, 10}, mode_lamp<kVarAutopilotHeadingHold, kVarHeadingFailure>);
};
constinit DrawOrder<Parts, &Parts::panel, &Parts::yd, &Parts::ap, &Parts::sby, &Parts::gs_ext,
                    &Parts::gs, &Parts::app, &Parts::vl, &Parts::rol_cpl, &Parts::ptc_cpl,
                    &Parts::sr, &Parts::rev, &Parts::ias, &Parts::alt, &Parts::hdg>
    tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelp),
    mouse_end_parent(),
    mouse_end(),
};

// The laws run before every update, in this order.
void FSAPI autopilot_lights_callback(GaugeHeader *, std::int32_t service, ServiceData) {
  if (service != kServicePreUpdate) return;
  ap_mode_watch();
  ap_pitch_steering();
  ap_roll_channel();
  ap_pitch_channel();
}
}  // namespace

GaugeHeader Autopilot_Lights_Header = gauge_header<&Autopilot_Lights_Header>({.name = "Autopilot_Lights",
                                                    .elements = tree.elements,
                                                    .size_mm = 200,
                                                    .mouse = mouse,
                                                    .callback = autopilot_lights_callback});
