// Shut_Down_Engines: an invisible gauge that puts the aircraft into the
// engines-off state when its panel window connects: power levers to idle,
// fuel cocks closed, fuel pumps and battery off, the remaining engine
// systems off, and the alternator and converter switches reset.
// Reads: token 60 (shutdown runs only above 0); 895 / 896, fuel cocks;
// 560 / 570, fuel pumps; 364, battery; 740, an integer state; 565 / 575,
// engine states.
// Sends: 65820, 65821, then whichever of 66494, 66495, 65919, 65920, 66241,
// 66293, 66363, 66364 the host reports as on.
// Module-wide variables written: Alternator_Left_On, Alternator_Right_On,
// Converter_Left_On, Converter_Right_On (set to 0).
#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/electrical/electrical_state.h"

extern GaugeHeader Shut_Down_Engines_Header;

namespace {
constexpr std::int32_t kShutdownEnabled = 60;
constexpr std::int32_t kEventPowerLever1 = 65820;
constexpr std::int32_t kEventPowerLever2 = 65821;
constexpr std::int32_t kBattery = 364;
constexpr std::int32_t kEventBattery = 66241;
constexpr std::int32_t kIntegerState = 740;
constexpr std::int32_t kEventIntegerState = 66293;
constexpr GaugeHeader *kSelf = &Shut_Down_Engines_Header;

// A host state and the event that switches it off.
struct OffSwitch {
  std::int32_t token;
  std::int32_t event;
};
// Switched off when above 0.
constexpr OffSwitch kFuelSwitches[] = {{895, 66494}, {896, 66495}, {560, 65919}, {570, 65920}};
// Switched off when non-zero.
constexpr OffSwitch kEngineStates[] = {{565, 66363}, {575, 66364}};
}  // namespace

void FSAPI shut_down_engines_callback(GaugeHeader *, std::int32_t service, ServiceData) {
  if (service != kServiceConnect) return;
  if (!(read_var(kShutdownEnabled) > 0.0)) return;
  trigger_key_event(kEventPowerLever1);
  trigger_key_event(kEventPowerLever2);
  for (const OffSwitch &s : kFuelSwitches)
    if (read_var(s.token) > 0.0) trigger_key_event(s.event);
  Alternator_Left_On = 0;
  Alternator_Right_On = 0;
  if (read_var(kBattery) > 0.0) trigger_key_event(kEventBattery);
  if (to_int(read_var(kIntegerState)) != 0) trigger_key_event(kEventIntegerState);
  for (const OffSwitch &s : kEngineStates)
    if (read_var(s.token) != 0.0) trigger_key_event(s.event);
  Converter_Left_On = 0;
  Converter_Right_On = 0;
}

namespace {
StaticImageElement mark = static_image({.bitmap = 490, .flags = 0x3, .gauge = kSelf});
GaugeElement *elements[] = {el(mark), nullptr};
MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Shut_Down_Engines_Header = gauge_header({.name = "Shut_Down_Engines",
                                                     .elements = elements,
                                                     .size_mm = 30,
                                                     .mouse = mouse,
                                                     .callback = shut_down_engines_callback});
