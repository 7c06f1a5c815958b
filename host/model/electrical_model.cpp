#include "host/model/electrical_model.h"

#include <algorithm>
#include <cmath>

#include "host/model/engine_model.h"
#include "host/model/model_clock.h"
#include "frame/host_names.h"
#include "host/model/systems_model.h"

namespace z480 {

bool alternator_online(double switch_state, double n2) {
  return switch_state != 0.0 && n2 >= kAlternatorOnlineN2;
}

double starter_amps(double n2) {
  double turning = std::isnan(n2) ? 0.0 : std::clamp(n2, 0.0, kStarterCutoutN2);
  double left = 1.0 - turning / kStarterCutoutN2;
  return kStarterCutoutAmps + (kStarterPeakAmps - kStarterCutoutAmps) * left * left;
}

ElectricalVolts electrical_volts(const ElectricalSwitches &s) {
  ElectricalVolts v{};
  bool charging = s.alternator_online[0] || s.alternator_online[1];
  double load = std::max(0.0, finite_or(s.load_amps, 0.0));
  double alternator = std::max(0.0, kAlternatorVolts - kAlternatorOhms * load);
  for (int i = 0; i < 2; ++i) v.alternator[i] = s.alternator_online[i] ? alternator : 0.0;
  double battery = std::max(0.0, kBatteryVolts - kBatteryOhms * load);
  v.main_bus = charging ? alternator : s.battery ? battery : 0.0;
  v.converter_bus = s.converter_bus && v.main_bus > 0.0 ? kConverterBusVolts : 0.0;
  return v;
}

namespace {


struct Alternator {
  std::int32_t switch_state;
  std::int32_t volts;
  std::int32_t generator;  // 1 while online (the annunciator's GENER. legend)
  std::int32_t n2;
  std::int32_t starter;  // 1.0 while the engine's starter turns it
};
constexpr Alternator kAlternators[] = {
    {kVarAlternator1Switch, kVarAlternator1Voltage, kVarGenerator1Online, kVarEngine1N2,
     kVarEngine1Starter},
    {kVarAlternator2Switch, kVarAlternator2Voltage, kVarGenerator2Online, kVarEngine2N2,
     kVarEngine2Starter},
};


// The host's own switch states, as action_toggle reads them.
bool on(const Host &host, std::int32_t token) { return host.var(token) != 0.0; }

bool online(const Host &host, const Alternator &a) {
  return alternator_online(host.var(a.switch_state), host.var(a.n2));
}

bool cranking(const Host &host, const Alternator &a) { return host.var(a.starter) == 1.0; }

void update_buses(Host &host) {
  ElectricalSwitches s{on(host, kVarBatteryMaster), on(host, kVarConverterBusSwitch), {}};
  for (int i = 0; i < 2; ++i) {
    s.alternator_online[i] = online(host, kAlternators[i]);
    if (cranking(host, kAlternators[i])) s.load_amps += starter_amps(host.var(kAlternators[i].n2));
  }
  ElectricalVolts v = electrical_volts(s);
  host.set_var(kVarMainBusVoltage, v.main_bus);
  host.set_var(kVarDcVoltage, v.main_bus);
  host.set_var(kVarBusVoltage, v.converter_bus);
  for (int i = 0; i < 2; ++i) {
    host.set_var(kAlternators[i].volts, v.alternator[i]);
    host.set_var(kAlternators[i].generator, s.alternator_online[i] ? 1.0 : 0.0);
  }
}

// A switch toggles and the buses follow at once, before the gauges draw, so
// a converter icon never sees a voltage one toggle behind.
void toggle_switch(Host &host, const ModelRule &rule, std::uint32_t value) {
  action_toggle(host, rule, value);
  update_buses(host);
}

// The deepest a bus sags: both starters at rest on the battery alone.
constexpr double kDeepestSag = 2 * kStarterPeakAmps * kBatteryOhms;
// How fast a battery comes back once its starter has let go, volts a second.
constexpr double kRecoveryVoltsPerSecond = 0.8;

// The buses are worked out again when an alternator comes online or drops
// out with its engine, and every frame a starter draws; once it lets go a
// sagged bus recovers to what its source gives unloaded. Otherwise a voltage
// a script sets by hand stays.
void follow_engines(Host &host, const ModelRule &, std::uint32_t) {
  bool changed = false;
  for (const Alternator &a : kAlternators)
    changed = changed || online(host, a) != on(host, a.generator) || cranking(host, a);
  if (changed) return update_buses(host);
  ElectricalSwitches s{on(host, kVarBatteryMaster), on(host, kVarConverterBusSwitch), {}};
  for (int i = 0; i < 2; ++i) s.alternator_online[i] = online(host, kAlternators[i]);
  double unloaded = electrical_volts(s).main_bus, bus = host.var(kVarMainBusVoltage);
  if (!(bus < unloaded && bus >= unloaded - kDeepestSag)) return;
  double volts = move_toward(bus, unloaded, kRecoveryVoltsPerSecond / Host::kFramesPerSecond);
  host.set_var(kVarMainBusVoltage, volts);
  host.set_var(kVarDcVoltage, volts);
}

const ModelRule kElectricalRules[] = {
    {.event = kEventBatteryMasterToggle, .action = toggle_switch, .token = kVarBatteryMaster},
    {.event = kEventAlternator1Toggle, .action = toggle_switch, .token = kAlternators[0].switch_state},
    {.event = kEventAlternator2Toggle, .action = toggle_switch, .token = kAlternators[1].switch_state},
    // Both converter icons send this toggle at every drawing while the bus
    // disagrees with them, and the simulator applies every key event it is
    // sent: two toggles arriving in one frame both apply and cancel. So with
    // both converters on and the bus dead, or both off and the bus live, the
    // bus stays as it is for as long as both icons are drawn; a single
    // converter brings it round in one frame.
    {.event = kEventConverterBusToggle, .action = toggle_switch, .token = kVarConverterBusSwitch},
    {.event = kEventLandingLightsToggle, .action = action_toggle, .token = kVarLandingLights},
    {.event = kEventPanelLightsToggle, .action = action_toggle, .token = kVarPanelLights},
    {.event = kEventStrobeLightsToggle, .action = action_toggle, .token = kVarStrobeLights},
    {.event = kEventBeaconLightsToggle, .action = action_toggle, .token = kVarBeaconLights},
    {.event = kEventNavLightsToggle, .action = action_toggle, .token = kVarNavLights},
    {.event = kEventWingLightsToggle, .action = action_toggle, .token = kVarWingLights},
    {.event = kEveryFrame, .action = follow_engines},
};

}  // namespace

std::span<const ModelRule> electrical_rules() { return kElectricalRules; }
}  // namespace z480
