#include "host/core/help_texts.h"

#include <algorithm>
#include <iterator>

namespace z480 {
namespace {

struct HelpText {
  std::int32_t id;
  const char *text;
};

// In id order, for the binary search.
constexpr HelpText kHelpTexts[] = {
    {12337, "Low oil pressure warning"},
    {12436, "HSI: heading and course"},
    {12464, "Propeller RPM"},
    {12562, "Left fuel quantity"},
    {12563, "Right fuel quantity"},
    {42011, "Hydraulic and brake pressure"},
    {42040, "Go-around"},
    {42287, "Electrical warning light"},
    {42752, "NAV/COM 1 radio"},
    {42754, "NAV/COM 2 radio"},
    {42756, "DME distance"},
    {42761, "ADF receiver"},
    {42762, "Transponder"},
    {42772, "NAV/COM 1 tuning knobs"},
    {42773, "NAV/COM 1 frequencies"},
    {42774, "NAV/COM 2 tuning knobs"},
    {42775, "NAV/COM 2 frequencies"},
    {43540, "Radio altimeter: decision height"},
    {43583, "Fuel used"},
    {43605, "ADF tuning knobs"},
    {43606, "ADF frequency"},
    {43607, "ADF identifier tone"},
    {43618, "Transponder code"},
    {43621, "Transponder IDENT"},
    {43778, "Airspeed indicator"},
    {43781, "Alternator switch"},
    {43783, "Altimeter"},
    {43786, "Glide slope external"},
    {43787, "AC voltmeter"},
    {43789, "Attitude indicator"},
    {43790, "Autopilot engage"},
    {43795, "Battery master switch"},
    {43798, "Clock"},
    {43805, "Exhaust gas temperature, oil pressure and temperature"},
    {43810, "Engine N2"},
    {43812, "Flaps position"},
    {43813, "Flaps lever"},
    {43815, "Fuel cock"},
    {43816, "Fuel flow"},
    {43817, "Left fuel quantity"},
    {43818, "Right fuel quantity"},
    {43819, "Low fuel warning"},
    {43824, "Landing gear lever"},
    {43825, "Landing gear lights"},
    {43827, "Heading bug knob"},
    {43830, "Horizontal situation indicator"},
    {43832, "Course knob"},
    {43833, "Outside air temperature"},
    {43834, "Altimeter pressure setting"},
    {43835, "Autopilot"},
    {43837, "Beacon lights switch"},
    {43838, "Landing lights switch"},
    {43839, "Navigation lights switch"},
    {43840, "Panel lights"},
    {43842, "Strobe lights switch"},
    {43847, "Outer marker"},
    {43848, "Middle marker"},
    {43849, "Inner marker"},
    {43853, "NAV/GPS switch"},
    {43859, "Elevator trim"},
    {43866, "Radio magnetic indicator"},
    {43867, "Homing indicator"},
    {43873, "Turn and slip indicator"},
    {43875, "Left engine start"},
    {43876, "Right engine start"},
    {43886, "Power levers"},
    {43888, "Torque"},
    {43894, "Vertical speed indicator"},
    {43906, "Wing lights switch"},
    {43910, "Radio stack"},
    {43911, "GPS"},
    {43912, "Throttle quadrant"},
    {43913, "Compass"},
    {43914, "Fuel"},
    {43915, "Collective"},
    {43919, "Map"},
    {43923, "Kneeboard"},
    {43924, "ATC"},
    {43925, "Overhead panel"},
    {44032, "Autopilot and flight director modes"},
    {44292, "Propeller levers"},
    {44416, "Pitch couple"},
    {44417, "Airspeed hold"},
    {44418, "Back course"},
    {44419, "Approach arm"},
    {44420, "Yaw damper"},
    {44421, "VOR/LOC"},
    {44423, "Heading hold"},
    {44426, "Roll couple"},
    {44428, "Altitude hold"},
};

}  // namespace

std::string help_text(std::int32_t help_id) {
  const auto *end = std::end(kHelpTexts);
  const auto *it = std::lower_bound(std::begin(kHelpTexts), end, help_id,
                                    [](const HelpText &t, std::int32_t id) { return t.id < id; });
  return it != end && it->id == help_id ? it->text : "";
}

}  // namespace z480
