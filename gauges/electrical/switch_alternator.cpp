// Switch_Alternator_Left and _Right: the alternator switches. A click
// toggles the module's own switch position, then sends the host's alternator
// toggle, then clicks; the icon shows the module's position even when the
// host's alternator state differs (toggled from the keyboard, say).
// Reads: 761 and 763, the left and right alternator voltages (looked up by
// the icons, not shown).
// Sends: 66363 alternator 1, 66364 alternator 2.
// Module-wide: writes and shows Alternator_Left_On / Alternator_Right_On.
#include "gauges/electrical/electrical_state.h"
#include "gauges/electrical/switch_gauge.h"

extern GaugeHeader Switch_Alternator_Left_Header;
extern GaugeHeader Switch_Alternator_Right_Header;

namespace {
constexpr std::int32_t kAlternatorLeftVoltage = 761;
constexpr std::int32_t kAlternatorRightVoltage = 763;
constexpr std::int32_t kEventAlternator1 = 66363;
constexpr std::int32_t kEventAlternator2 = 66364;
constexpr std::int32_t kHelpAlternator = 43781;

constexpr SwitchKind kLeft = {.name = "Switch_Alternator_Left",
                              .self = &Switch_Alternator_Left_Header,
                              .size_mm = 30,
                              .token = kAlternatorLeftVoltage,
                              .icon_value = show_position<Alternator_Left_On>,
                              .action = toggle_position<Alternator_Left_On>,
                              .event = kEventAlternator1,
                              .help_id = kHelpAlternator};
constexpr SwitchKind kRight = {.name = "Switch_Alternator_Right",
                               .self = &Switch_Alternator_Right_Header,
                               .size_mm = 30,
                               .token = kAlternatorRightVoltage,
                               .icon_value = show_position<Alternator_Right_On>,
                               .action = toggle_position<Alternator_Right_On>,
                               .event = kEventAlternator2,
                               .help_id = kHelpAlternator};
}  // namespace

GaugeHeader Switch_Alternator_Left_Header = SwitchGauge<kLeft>::header();
GaugeHeader Switch_Alternator_Right_Header = SwitchGauge<kRight>::header();
