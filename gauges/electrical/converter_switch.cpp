// Left_Converter_Switch and Right_Converter_Switch: the converter switches.
// A click toggles the module's switch position and clicks. Each icon shows
// its position and keeps the host's converter-fed bus in step with the rule
// that the bus is on while at least one converter is on: whenever it is
// drawn it sends the host's bus toggle if both converters are off and the
// bus is powered (above 20 V), or if its own converter is on and the bus is
// dead (exactly 0 V). The module keeps no record of toggles already sent.
// Reads: kVarBusVoltage, the converter-fed bus.
// Sends: kEventConverterBusToggle.
// Module-wide: writes Converter_Left_On / Converter_Right_On, reads both.
#include "frame/numeric.h"
#include "gauges/electrical/electrical_state.h"
#include "gauges/electrical/switch_gauge.h"

extern GaugeHeader Left_Converter_Switch_Header;
extern GaugeHeader Right_Converter_Switch_Header;

namespace {
constexpr double kPoweredAbove = 20.0;
constexpr double kDead = 0.0;

template <int &Mine, int &Other>
double FSAPI converter_icon(IconElement *) {
  double bus = read_var(kVarBusVoltage);
  bool both_off = Mine == 0 && Other == 0;
  if (both_off && bus_above(bus, kPoweredAbove)) trigger_key_event(kEventConverterBusToggle);
  if (Mine == 1 && bus == kDead) trigger_key_event(kEventConverterBusToggle);
  return Mine == 1 ? 1.0 : 0.0;
}

constexpr SwitchKind kLeft = {.name = "Left_Converter_Switch",
                              .self = &Left_Converter_Switch_Header,
                              .size_mm = 30,
                              .icon_value = converter_icon<Converter_Left_On, Converter_Right_On>,
                              .action = toggle_position<Converter_Left_On>};
constexpr SwitchKind kRight = {.name = "Right_Converter_Switch",
                               .self = &Right_Converter_Switch_Header,
                               .size_mm = 30,
                               .icon_value = converter_icon<Converter_Right_On, Converter_Left_On>,
                               .action = toggle_position<Converter_Right_On>};
}  // namespace

GaugeHeader Left_Converter_Switch_Header = SwitchGauge<kLeft>::header();
GaugeHeader Right_Converter_Switch_Header = SwitchGauge<kRight>::header();
