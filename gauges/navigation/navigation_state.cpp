#include "gauges/navigation/navigation_state.h"

#include <cmath>

#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/electrical/electrical_state.h"

int Dme_Source_Nav1 = 1;

FailureRecord compass_failures[] = {{20, 1, 0}, {11, 1, 0}, {0, 0, 0}};
FailureRecord distance_window_failures[] = {
    {21, 3, 0}, {16, 3, 0}, {14, 0, 0}, {15, 0, 0}, {0, 0, 0}};

namespace {
constexpr std::uint32_t kNoBearing = 0x80;
}  // namespace

bool bus_powered(double volts) { return read_var(kBusVoltageToken) >= volts; }

bool host_flag_set(std::int32_t token) { return to_int(read_var(token)) != 0; }

bool gps_source() { return std::fabs(read_var(kGpsSourceToken)) > 0.0; }

bool nav_electrics_lost() {
  return host_flag_set(kElectricalFailureToken) || !bus_powered() ||
         host_flag_set(kNavReceiverFailureToken);
}

bool vor_bearing_usable(int power_on, std::int32_t flags_token) {
  return power_on != 0 && (to_word(read_var(flags_token)) & kNoBearing) == 0;
}

double from_heading(double bearing) { return bearing - read_var(kHeadingToken); }
