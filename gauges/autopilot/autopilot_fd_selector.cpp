// Autopilot_FD_Selector: the autopilot and flight-director push-buttons,
// each with its lamp. Eleven buttons toggle the host's autopilot modes (the
// host sends their events itself); GS and GS EXT only keep the module's own
// selection; SBY starts a standby run: for 18 passes of its lamp, every mode
// the host still reports on is switched off by its own button's event, and
// the GS selections are cleared.
// Reads: the mode words kVarAutopilotMaster to kVarAutopilotGoAround and
// kVarYawDamper; the failures that darken a mode's lamp (kVarElectricalFailure
// darkens them all).
// Sends: the buttons' toggles (kEventAutopilotMasterToggle ...), from the
// host's rectangle handling or from the standby run; no sound.
// Module-wide: GS_Selected, GS_EXT_Selected, Standby_Countdown and
// Standby_Active; reads Radio_Altimeter_On.
#include <array>
#include <span>

#include "frame/declare.h"
#include "frame/host_names.h"
#include "frame/services.h"
#include "gauges/autopilot/autopilot_state.h"
#include "gauges/flight/radio_altimeter_state.h"

extern GaugeHeader Autopilot_FD_Selector_Header;

namespace {
constexpr std::int32_t kHelp = 44032;
constexpr GaugeHeader *kSelf = &Autopilot_FD_Selector_Header;
constexpr int kStandbyPasses = 18;

double lamp(bool lit) { return lit ? 0.0 : -1.0; }

// A button that works a host mode: the mode word its lamp shows, the
// failure that darkens the lamp besides the electrical one, and its toggle.
struct ModeButton {
  std::int32_t mode, failure, toggle;
};
constexpr ModeButton kGoAround = {kVarAutopilotGoAround, kVarElectricalFailure,
                                  kEventAutopilotGoAroundToggle};
// The COUPLE buttons are labelled crosswise to the modes they work: the
// annunciator counts the wing leveler as roll and the attitude hold as pitch
// coupling. Each lamp shows the mode of its own button.
constexpr ModeButton kPitchCouple = {kVarAutopilotWingLeveler, kVarAttitudeFailure,
                                     kEventAutopilotWingLevelerToggle};
constexpr ModeButton kRollCouple = {kVarAutopilotAttitudeHold, kVarAttitudeFailure,
                                    kEventAutopilotAttitudeHoldToggle};
constexpr ModeButton kHdg = {kVarAutopilotHeadingHold, kVarHeadingFailure,
                             kEventAutopilotHeadingHoldToggle};
constexpr ModeButton kAlt = {kVarAutopilotAltitudeHold, kVarAltimeterFailure,
                             kEventAutopilotAltitudeHoldToggle};
constexpr ModeButton kIas = {kVarAutopilotAirspeedHold, kVarAirspeedFailure,
                             kEventAutopilotAirspeedHoldToggle};
constexpr ModeButton kVl = {kVarAutopilotNav1Hold, kVarNavReceiverFailure,
                            kEventAutopilotNav1HoldToggle};
constexpr ModeButton kAppArm = {kVarAutopilotApproachHold, kVarNavReceiverFailure,
                                kEventAutopilotApproachHoldToggle};
constexpr ModeButton kRev = {kVarAutopilotBackCourseHold, kVarNavReceiverFailure,
                             kEventAutopilotBackCourseHoldToggle};
constexpr ModeButton kApEngage = {kVarAutopilotMaster, kVarElectricalFailure,
                                  kEventAutopilotMasterToggle};
constexpr ModeButton kYdEngage = {kVarYawDamper, kVarElectricalFailure, kEventYawDamperToggle};

// The standby run switches modes off in this order, clearing the GS
// selections between the two lists.
constexpr const ModeButton *kStandbyFirst[] = {&kAlt, &kAppArm};
constexpr const ModeButton *kStandbyThen[] = {
    &kHdg, &kIas, &kRev, &kVl, &kGoAround, &kApEngage, &kYdEngage, &kPitchCouple, &kRollCouple};

void switch_off(std::span<const ModeButton *const> buttons) {
  for (const ModeButton *b : buttons)
    if (read_var(b->mode) > 0.0) trigger_key_event(b->toggle);
}

// --- element callbacks

template <const ModeButton &B>
double FSAPI mode_lamp(IconElement *) {
  double mode = read_var(B.mode);
  double failure = read_var(B.failure);
  double instruments =
      B.failure == kVarElectricalFailure ? failure : read_var(kVarElectricalFailure);
  return lamp(mode > 0.0 && failure == 0.0 && instruments == 0.0);
}

double FSAPI gs_lamp(IconElement *) { return lamp(GS_Selected != 0); }
double FSAPI gs_ext_lamp(IconElement *) {
  return lamp(Radio_Altimeter_On != 0 && GS_EXT_Selected != 0);
}

// Each pass of the lamp during a run counts it down and switches off what
// the host still reports on.
double FSAPI fd_standby_lamp(IconElement *) {
  Standby_Active = Standby_Countdown > 0 ? 1 : 0;
  if (Standby_Active == 0) return lamp(false);
  --Standby_Countdown;
  switch_off(kStandbyFirst);
  GS_Selected = 0;
  GS_EXT_Selected = 0;
  switch_off(kStandbyThen);
  return lamp(true);
}

// --- mouse callbacks: silent

std::int32_t FSAPI gs_button(MouseCallbackRecord *, std::uint32_t) {
  GS_Selected = GS_Selected ? 0 : 1;
  return 0;
}
std::int32_t FSAPI gs_ext_button(MouseCallbackRecord *, std::uint32_t) {
  GS_EXT_Selected = GS_EXT_Selected ? 0 : 1;
  return 0;
}
std::int32_t FSAPI standby_button(MouseCallbackRecord *, std::uint32_t) {
  Standby_Countdown = kStandbyPasses;
  return 0;
}

// --- the buttons: where each lies (its lamp at the box's corner), its help
// text, what a click does (the host sends the event of a rectangle without
// a callback) and its lamp

struct Button {
  PixBox box;
  std::int32_t help;
  std::int32_t event;
  MouseCallback action;
  std::int32_t bitmap;
  IconCallback lit;
  std::uint32_t flags = kMouseLeftSingle;
};
enum : std::size_t {
  kGoAroundButton,
  kPitchCoupleButton,
  kRollCoupleButton,
  kHdgButton,
  kAltButton,
  kIasButton,
  kVlButton,
  kAppArmButton,
  kGsButton,
  kRevButton,
  kSbyButton,
  kGsExtButton,
  kApEngageButton,
  kYdEngageButton,
  kButtonCount
};
constexpr Button kButtons[kButtonCount] = {
    {{39, 12, 30, 22}, 42040, kGoAround.toggle, nullptr, 5100, mode_lamp<kGoAround>},
    {{125, 16, 30, 22}, 44416, kPitchCouple.toggle, nullptr, 5140, mode_lamp<kPitchCouple>},
    {{157, 16, 30, 22}, 44426, kRollCouple.toggle, nullptr, 5150, mode_lamp<kRollCouple>},
    {{15, 40, 22, 22}, 44423, kHdg.toggle, nullptr, 5050, mode_lamp<kHdg>},
    {{43, 40, 22, 22}, 44428, kAlt.toggle, nullptr, 5010, mode_lamp<kAlt>},
    {{71, 40, 22, 22}, 44417, kIas.toggle, nullptr, 5060, mode_lamp<kIas>},
    {{15, 67, 22, 22}, 44421, kVl.toggle, nullptr, 5090, mode_lamp<kVl>},
    {{43, 67, 22, 22}, 44419, kAppArm.toggle, nullptr, 5020, mode_lamp<kAppArm>},
    {{71, 67, 22, 22}, 0, 0, gs_button, 5030, gs_lamp},
    {{15, 94, 22, 22}, 44418, kRev.toggle, nullptr, 5070, mode_lamp<kRev>},
    {{43, 94, 22, 22},
     43835,
     0,
     standby_button,
     5080,
     fd_standby_lamp,
     kMouseLeftSingle | kMouseDownRepeat},
    {{71, 94, 22, 22}, 43786, 0, gs_ext_button, 5040, gs_ext_lamp},
    {{124, 91, 32, 32}, 43790, kApEngage.toggle, nullptr, 5110, mode_lamp<kApEngage>},
    {{156, 91, 32, 32}, 44420, kYdEngage.toggle, nullptr, 5120, mode_lamp<kYdEngage>},
};

constexpr IconElement button_lamp(std::size_t b) {
  const Button &button = kButtons[b];
  return icon({.bitmap = button.bitmap,
               .pos = {button.box.x, button.box.y},
               .flags = kImageBright,
               .gauge = kSelf,
               .callback = button.lit});
}

struct Parts {
  StaticImageElement panel =
      static_image({.bitmap = 5000, .flags = kImageStandard, .gauge = kSelf});
  IconElement go_around = button_lamp(kGoAroundButton);
  IconElement pitch_couple = button_lamp(kPitchCoupleButton);
  IconElement roll_couple = button_lamp(kRollCoupleButton);
  IconElement hdg = button_lamp(kHdgButton);
  IconElement alt = button_lamp(kAltButton);
  IconElement ias = button_lamp(kIasButton);
  IconElement vl = button_lamp(kVlButton);
  IconElement app_arm = button_lamp(kAppArmButton);
  IconElement gs = button_lamp(kGsButton);
  IconElement rev = button_lamp(kRevButton);
  IconElement sby = button_lamp(kSbyButton);
  IconElement gs_ext = button_lamp(kGsExtButton);
  IconElement ap_engage = button_lamp(kApEngageButton);
  IconElement yd_engage = button_lamp(kYdEngageButton);
};
constinit DrawOrder<Parts, &Parts::panel, &Parts::go_around, &Parts::pitch_couple,
                    &Parts::roll_couple, &Parts::hdg, &Parts::alt, &Parts::ias, &Parts::vl,
                    &Parts::app_arm, &Parts::gs, &Parts::rev, &Parts::sby, &Parts::gs_ext,
                    &Parts::ap_engage, &Parts::yd_engage>
    tree;

// The whole gauge, then each button as a group with one rectangle over it.
constexpr std::array<MouseRect, 3 * kButtonCount + 3> button_rectangles() {
  std::array<MouseRect, 3 * kButtonCount + 3> m{};
  std::size_t i = 0;
  m[i++] = mouse_parent({0, 0, 0, 0}, kHelp);
  for (const Button &b : kButtons) {
    PixBox over = {0, 0, b.box.size_x, b.box.size_y};
    m[i++] = mouse_parent(b.box, b.help);
    m[i++] = b.action ? mouse_callback(over, kCursorHand, b.flags, b.action)
                      : mouse_event(over, kCursorHand, b.flags, b.event);
    m[i++] = mouse_end_parent();
  }
  m[i++] = mouse_end_parent();
  m[i++] = mouse_end();
  return m;
}
constinit std::array<MouseRect, 3 *kButtonCount + 3> mouse = button_rectangles();
}  // namespace

GaugeHeader Autopilot_FD_Selector_Header = gauge_header<&Autopilot_FD_Selector_Header>({.name = "Autopilot_FD_Selector",
                                                         .elements = tree.elements,
                                                         .size_mm = 100,
                                                         .mouse = mouse.data()});
