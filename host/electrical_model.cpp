#include "host/electrical_model.h"

#include "host/model_clock.h"
#include "host/systems_model.h"

namespace z480 {

bool alternator_online(double switch_state, double n2) {
  return switch_state != 0.0 && n2 >= kAlternatorOnlineN2;
}

ElectricalVolts electrical_volts(const ElectricalSwitches &s) {
  ElectricalVolts v{};
  for (int i = 0; i < 2; ++i) v.alternator[i] = s.alternator_online[i] ? kAlternatorVolts : 0.0;
  bool charging = s.alternator_online[0] || s.alternator_online[1];
  v.main_bus = charging ? kAlternatorVolts : s.battery ? kBatteryVolts : 0.0;
  v.converter_bus = s.converter_bus && v.main_bus > 0.0 ? kConverterBusVolts : 0.0;
  return v;
}

namespace {

constexpr std::int32_t kBattery = 364;
constexpr std::int32_t kConverterBusSwitch = 740;
constexpr std::int32_t kMainBus = 759;
constexpr std::int32_t kDcVoltmeter = 753;
constexpr std::int32_t kConverterBus = 755;

struct Alternator {
  std::int32_t switch_state;
  std::int32_t volts;
  std::int32_t generator;  // 1 while online (the annunciator's GENER. legend)
  std::int32_t n2;
};
constexpr Alternator kAlternators[] = {{565, 761, 566, 625}, {575, 763, 576, 644}};

constexpr std::int32_t kLandingLights = 14;
constexpr std::int32_t kPanelLights = 10;
constexpr std::int32_t kStrobeLights = 11;
constexpr std::int32_t kBeacon = 368;
constexpr std::int32_t kNavLights = 619;
constexpr std::int32_t kWingLights = 621;

// The host's own switch states, as action_toggle reads them.
bool on(const Host &host, std::int32_t token) { return host.var(token) != 0.0; }

bool online(const Host &host, const Alternator &a) {
  return alternator_online(host.var(a.switch_state), host.var(a.n2));
}

void update_buses(Host &host) {
  ElectricalSwitches s{on(host, kBattery), on(host, kConverterBusSwitch), {}};
  for (int i = 0; i < 2; ++i) s.alternator_online[i] = online(host, kAlternators[i]);
  ElectricalVolts v = electrical_volts(s);
  host.set_var(kMainBus, v.main_bus);
  host.set_var(kDcVoltmeter, v.main_bus);
  host.set_var(kConverterBus, v.converter_bus);
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

// The buses are worked out again when an alternator comes online or drops
// out with its engine; in between, a voltage a script sets by hand stays.
void follow_engines(Host &host, const ModelRule &, std::uint32_t) {
  for (const Alternator &a : kAlternators)
    if (online(host, a) != on(host, a.generator)) return update_buses(host);
}

const ModelRule kElectricalRules[] = {
    {66241, toggle_switch, kBattery},
    {66363, toggle_switch, kAlternators[0].switch_state},
    {66364, toggle_switch, kAlternators[1].switch_state},
    // Both converter icons send this toggle at every drawing while the bus
    // disagrees with them, and the simulator applies every key event it is
    // sent: two toggles arriving in one frame both apply and cancel. So with
    // both converters on and the bus dead, or both off and the bus live, the
    // bus stays as it is for as long as both icons are drawn; a single
    // converter brings it round in one frame.
    {66293, toggle_switch, kConverterBusSwitch},
    {65751, action_toggle, kLandingLights},
    {65750, action_toggle, kPanelLights},
    {65560, action_toggle, kStrobeLights},
    {66239, action_toggle, kBeacon},
    {66379, action_toggle, kNavLights},
    {66378, action_toggle, kWingLights},
    {kEveryFrame, follow_engines, 0},
};

[[maybe_unused]] const bool kRegistered = register_model_table("electrical", kElectricalRules);

}  // namespace
}  // namespace z480
