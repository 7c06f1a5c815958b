// The thin switches: the battery master and the six light switches and
// buttons. A click sends the host's toggle for its system (value 0) and
// clicks; the icon shows the host's own on/off state, so it follows the host
// also when another control changes it.
// Reads: kVarBatteryMaster, kVarLandingLights, kVarPanelLights,
// kVarStrobeLights, kVarBeaconLights, kVarNavLights, kVarWingLights (each 0
// or 1).
// Sends: the matching toggle of each: kEventBatteryMasterToggle,
// kEventLandingLightsToggle, kEventPanelLightsToggle, kEventStrobeLightsToggle,
// kEventBeaconLightsToggle, kEventNavLightsToggle, kEventWingLightsToggle.
// No module-wide variables.
#include "gauges/electrical/switch_gauge.h"

extern GaugeHeader Master_Battery_Switch_Header;
extern GaugeHeader Landing_Lights_Switch_Header;
extern GaugeHeader Panel_Lights_Button_Header;
extern GaugeHeader Strobe_Lights_Switch_Header;
extern GaugeHeader Beacon_Lights_Switch_Header;
extern GaugeHeader Nav_Lights_Switch_Header;
extern GaugeHeader Wing_Lights_Switch_Header;

namespace {
constexpr SwitchLook kLandingSwitch = {2480, 2490, {2, 2, 58, 46}};
constexpr SwitchLook kPushButton = {5420, 5430, {2, 2, 33, 33}};

// One row of the panel: the icon shows the token, a click sends the event.
constexpr SwitchKind thin(const char *name, GaugeHeader *self, std::uint32_t mm, SwitchLook look,
                          std::int32_t token, std::int32_t event, std::int32_t help_id) {
  return {.name = name,
          .self = self,
          .size_mm = mm,
          .look = look,
          .token = token,
          .event = event,
          .help_id = help_id};
}

constexpr SwitchKind kBattery = thin("Master_Battery_Switch", &Master_Battery_Switch_Header, 30,
                                     kLeverSwitch, kVarBatteryMaster, kEventBatteryMasterToggle, 43795);
constexpr SwitchKind kLanding = thin("Landing_Lights_Switch", &Landing_Lights_Switch_Header, 60,
                                     kLandingSwitch, kVarLandingLights, kEventLandingLightsToggle, 43838);
constexpr SwitchKind kPanel = thin("Panel_Lights_Button", &Panel_Lights_Button_Header, 60,
                                   kPushButton, kVarPanelLights, kEventPanelLightsToggle, 43840);
constexpr SwitchKind kStrobe = thin("Strobe_Lights_Switch", &Strobe_Lights_Switch_Header, 40,
                                    kLeverSwitch, kVarStrobeLights, kEventStrobeLightsToggle, 43842);
constexpr SwitchKind kBeacon = thin("Beacon_Lights_Switch", &Beacon_Lights_Switch_Header, 60,
                                    kLeverSwitch, kVarBeaconLights, kEventBeaconLightsToggle, 43837);
constexpr SwitchKind kNav = thin("Nav_Lights_Switch", &Nav_Lights_Switch_Header, 60, kLeverSwitch,
                                 kVarNavLights, kEventNavLightsToggle, 43839);
constexpr SwitchKind kWing = thin("Wing_Lights_Switch", &Wing_Lights_Switch_Header, 60,
                                  kLeverSwitch, kVarWingLights, kEventWingLightsToggle, 43906);
}  // namespace

GaugeHeader Master_Battery_Switch_Header = SwitchGauge<kBattery>::header();
GaugeHeader Landing_Lights_Switch_Header = SwitchGauge<kLanding>::header();
GaugeHeader Panel_Lights_Button_Header = SwitchGauge<kPanel>::header();
GaugeHeader Strobe_Lights_Switch_Header = SwitchGauge<kStrobe>::header();
GaugeHeader Beacon_Lights_Switch_Header = SwitchGauge<kBeacon>::header();
GaugeHeader Nav_Lights_Switch_Header = SwitchGauge<kNav>::header();
GaugeHeader Wing_Lights_Switch_Header = SwitchGauge<kWing>::header();
