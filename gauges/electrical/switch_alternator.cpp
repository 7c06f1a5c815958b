// Switch_Alternator_Left and _Right: the alternator switches. A click
// toggles the module's own switch position, then sends the host's alternator
// toggle, then clicks; the icon shows the module's position even when the
// host's alternator state differs (toggled from the keyboard, say).
// Reads: kVarAlternator1Voltage and kVarAlternator2Voltage, left and right
// (looked up by the icons, not shown).
// Sends: kEventAlternator1Toggle, kEventAlternator2Toggle.
// Module-wide: writes and shows Alternator_Left_On / Alternator_Right_On.
#include "gauges/electrical/electrical_state.h"
#include "gauges/electrical/switch_gauge.h"

extern GaugeHeader Switch_Alternator_Left_Header;
extern GaugeHeader Switch_Alternator_Right_Header;

namespace {
constexpr std::int32_t kHelpAlternator = 43781;

constexpr SwitchKind kLeft = {.name = "Switch_Alternator_Left",
                              .self = &Switch_Alternator_Left_Header,
                              .size_mm = 30,
                              .token = kVarAlternator1Voltage,
                              .icon_value = show_position<Alternator_Left_On>,
                              .action = toggle_position<Alternator_Left_On>,
                              .event = kEventAlternator1Toggle,
                              .help_id = kHelpAlternator};
constexpr SwitchKind kRight = {.name = "Switch_Alternator_Right",
                               .self = &Switch_Alternator_Right_Header,
                               .size_mm = 30,
                               .token = kVarAlternator2Voltage,
                               .icon_value = show_position<Alternator_Right_On>,
                               .action = toggle_position<Alternator_Right_On>,
                               .event = kEventAlternator2Toggle,
                               .help_id = kHelpAlternator};
}  // namespace

GaugeHeader Switch_Alternator_Left_Header = SwitchGauge<kLeft>::header();
GaugeHeader Switch_Alternator_Right_Header = SwitchGauge<kRight>::header();
