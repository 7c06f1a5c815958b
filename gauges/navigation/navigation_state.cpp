#include "gauges/navigation/navigation_state.h"

#include <cmath>

#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/electrical/electrical_state.h"

int Dme_Source_Nav1 = 1;

FailureRecord compass_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionFreeze),
    failure(kFailGaugeGyroHeading, kFailActionFreeze),
    kFailuresEnd,
};
FailureRecord nav2_pointer_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionFreeze),
    failure(kFailGaugeNavigationVor2),
    failure(kFailSystemElectricalAvionics),
    kFailuresEnd,
};
FailureRecord distance_window_failures[] = {
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    failure(kFailGaugeNavigationBoth, kFailActionNoDraw),
    failure(kFailGaugeNavigationVor1),
    failure(kFailGaugeNavigationVor2),
    kFailuresEnd,
};

namespace {
constexpr std::uint32_t kNoBearing = 0x80;
}  // namespace

bool bus_powered(double volts) { return bus_at_least(read_var(kVarBusVoltage), volts); }

bool gps_source() { return std::fabs(read_var(kVarGpsSource)) > 0.0; }

bool nav_electrics_lost() {
  return host_flag_set(kVarElectricalFailure) || !bus_powered() ||
         host_flag_set(kVarNavReceiverFailure);
}

bool vor_bearing_usable(int power_on, std::int32_t flags_token) {
  return power_on != 0 && (to_word(read_var(flags_token)) & kNoBearing) == 0;
}

double from_heading(double bearing) { return bearing - read_var(kVarHeading); }
