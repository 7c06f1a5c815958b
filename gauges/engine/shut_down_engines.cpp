// Shut_Down_Engines: an invisible gauge that puts the aircraft into the
// engines-off state when its panel window connects: power levers to idle,
// fuel cocks closed, fuel pumps and battery off, the remaining engine
// systems off, and the alternator and converter switches reset.
// Reads: kVarSystemsOn (shutdown runs only above 0); kVarEngine1FuelCock / 2;
// kVarEngine1FuelPump / 2; kVarBatteryMaster; kVarConverterBusSwitch (an
// integer); kVarAlternator1Switch / 2.
// Sends: kEventEngine1PowerLeverSet and kEventEngine2PowerLeverSet (value 0),
// then the off event of whichever of those the host reports as on.
// Module-wide variables written: Alternator_Left_On, Alternator_Right_On,
// Converter_Left_On, Converter_Right_On (set to 0).
#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/electrical/electrical_state.h"

extern GaugeHeader Shut_Down_Engines_Header;

namespace {
constexpr GaugeHeader *kSelf = &Shut_Down_Engines_Header;

// A host state and the event that switches it off.
struct OffSwitch {
  std::int32_t token;
  std::int32_t event;
};
// Switched off when above 0.
constexpr OffSwitch kFuelSwitches[] = {
    {kVarEngine1FuelCock, kEventEngine1FuelCockToggle},
    {kVarEngine2FuelCock, kEventEngine2FuelCockToggle},
    {kVarEngine1FuelPump, kEventEngine1FuelPumpSet},
    {kVarEngine2FuelPump, kEventEngine2FuelPumpSet},
};
// Switched off when non-zero.
constexpr OffSwitch kAlternators[] = {
    {kVarAlternator1Switch, kEventAlternator1Toggle},
    {kVarAlternator2Switch, kEventAlternator2Toggle},
};
}  // namespace

void FSAPI shut_down_engines_callback(GaugeHeader *, std::int32_t service, ServiceData) {
  if (service != kServiceConnect) return;
  if (!(read_var(kVarSystemsOn) > 0.0)) return;
  trigger_key_event(kEventEngine1PowerLeverSet);
  trigger_key_event(kEventEngine2PowerLeverSet);
  for (const OffSwitch &s : kFuelSwitches)
    if (read_var(s.token) > 0.0) trigger_key_event(s.event);
  Alternator_Left_On = 0;
  Alternator_Right_On = 0;
  if (read_var(kVarBatteryMaster) > 0.0) trigger_key_event(kEventBatteryMasterToggle);
  if (to_int(read_var(kVarConverterBusSwitch)) != 0) trigger_key_event(kEventConverterBusToggle);
  for (const OffSwitch &s : kAlternators)
    if (read_var(s.token) != 0.0) trigger_key_event(s.event);
  Converter_Left_On = 0;
  Converter_Right_On = 0;
}

namespace {
struct Parts {
  StaticImageElement mark = static_image({.bitmap = 490, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::mark> tree;
MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Shut_Down_Engines_Header = gauge_header<&Shut_Down_Engines_Header>({.name = "Shut_Down_Engines",
                                                     .elements = tree.elements,
                                                     .size_mm = 30,
                                                     .mouse = mouse,
                                                     .callback = shut_down_engines_callback});
