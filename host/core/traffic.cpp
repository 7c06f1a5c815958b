#include "host/core/traffic.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "frame/host_names.h"
#include "host/core/host.h"

namespace z480 {
namespace {

enum Units : std::int32_t { kNoUnits = -1, kFeet = 1, kBool = 2, kDegrees = 3, kKnots = 4 };

constexpr const char *kUnitNames[] = {"FEET", "BOOL", "DEGREES", "KNOTS"};

constexpr double kRadians = std::numbers::pi / 180.0;

// The numeric variables the interface answers, in the host's own numbering
// (the row number from 1), each in the one unit the host keeps it in.
struct Variable {
  const char *name;
  Units units;
  double (*read)(const HostAircraft &);
};
const Variable kVariables[] = {
    {"PLANE LATITUDE", kDegrees, [](const HostAircraft &a) { return a.latitude; }},
    {"PLANE LONGITUDE", kDegrees, [](const HostAircraft &a) { return a.longitude; }},
    {"PLANE ALTITUDE", kFeet, [](const HostAircraft &a) { return a.altitude; }},
    {"INDICATED ALTITUDE", kFeet, [](const HostAircraft &a) { return a.altitude; }},
    {"VELOCITY WORLD Z", kKnots,
     [](const HostAircraft &a) { return a.speed * std::cos(a.track * kRadians); }},
    {"VELOCITY WORLD X", kKnots,
     [](const HostAircraft &a) { return a.speed * std::sin(a.track * kRadians); }},
    {"PLANE HEADING DEGREES TRUE", kDegrees, [](const HostAircraft &a) { return a.track; }},
    {"ENG COMBUSTION", kBool, [](const HostAircraft &a) { return a.engines ? 1.0 : 0.0; }},
};
constexpr const char *kAtcIdName = "ATC ID";
constexpr std::int32_t kAtcIdVariable = static_cast<std::int32_t>(std::size(kVariables)) + 1;

// The host's own earth: mean radius in nautical miles.
constexpr double kEarthRadiusNm = 3440.065;
constexpr double kMetresPerNm = 1852.0;

double distance_nm(double lat1, double lon1, double lat2, double lon2) {
  double dlat = std::sin((lat2 - lat1) * kRadians / 2);
  double dlon = std::sin((lon2 - lon1) * kRadians / 2);
  double h = dlat * dlat + std::cos(lat1 * kRadians) * std::cos(lat2 * kRadians) * dlon * dlon;
  return 2 * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0))) * kEarthRadiusNm;
}

}  // namespace

HostTraffic::HostTraffic() = default;

std::int32_t HostTraffic::variable_id(const char *name) {
  if (!name) return -1;
  for (std::size_t i = 0; i < std::size(kVariables); ++i)
    if (std::strcmp(name, kVariables[i].name) == 0) return static_cast<std::int32_t>(i) + 1;
  return std::strcmp(name, kAtcIdName) == 0 ? kAtcIdVariable : -1;
}

std::int32_t HostTraffic::units_id(const char *name) {
  if (!name) return kNoUnits;
  for (std::size_t i = 0; i < std::size(kUnitNames); ++i)
    if (std::strcmp(name, kUnitNames[i]) == 0) return static_cast<std::int32_t>(i) + 1;
  return kNoUnits;
}

void HostTraffic::put(const HostAircraft &aircraft) {
  if (HostAircraft *a = find(aircraft.id))
    *a = aircraft;
  else
    aircraft_.push_back(aircraft);
}

bool HostTraffic::remove(std::uint32_t id) {
  auto it = std::find_if(aircraft_.begin(), aircraft_.end(),
                         [id](const HostAircraft &a) { return a.id == id; });
  if (it == aircraft_.end()) return false;
  aircraft_.erase(it);
  return true;
}

HostAircraft *HostTraffic::find(std::uint32_t id) {
  for (HostAircraft &a : aircraft_)
    if (a.id == id) return &a;
  return nullptr;
}

void HostTraffic::fly(double seconds) {
  for (HostAircraft &a : aircraft_) {
    double nm = a.speed * seconds / 3600.0;
    a.latitude = std::clamp(a.latitude + nm * std::cos(a.track * kRadians) / 60.0, -90.0, 90.0);
    // Along a parallel a degree shrinks with the cosine of the latitude;
    // at the poles the aircraft only climbs.
    double parallel = std::cos(a.latitude * kRadians);
    if (parallel > 1e-9) a.longitude += nm * std::sin(a.track * kRadians) / 60.0 / parallel;
    a.altitude += a.vertical_speed * seconds / 60.0;
  }
}

void *HostTraffic::Provider::get_interface(const char *name) {
  return name && std::strcmp(name, kTrafficInterfaceName) == 0 ? &owner_.interface_ : nullptr;
}

void *HostTraffic::Interface::query_interface(const char *name) {
  return name && std::strcmp(name, kTrafficInterfaceName) == 0 ? this : nullptr;
}

std::int32_t HostTraffic::Interface::GetAircraftInRadius(double radius_m, std::int32_t max_count,
                                                         std::uint32_t *ids) {
  if (!ids || max_count <= 0 || !(radius_m >= 0)) return 0;
  double radius_nm = radius_m / kMetresPerNm;
  std::int32_t n = 0;
  for (const HostAircraft &a : owner_.aircraft_) {
    if (n == max_count) break;
    if (distance_nm(a.latitude, a.longitude, owner_.user_latitude_, owner_.user_longitude_) <=
        radius_nm)
      ids[n++] = a.id;
  }
  return n;
}

std::int32_t HostTraffic::Interface::GetAircraftValue(std::uint32_t id, std::int32_t variable,
                                                      std::int32_t units, double *value,
                                                      std::int32_t count) {
  const HostAircraft *a = owner_.find(id);
  if (!a || !value || count < 1 || variable < 1 ||
      variable > static_cast<std::int32_t>(std::size(kVariables)))
    return 0;
  const Variable &v = kVariables[variable - 1];
  if (units != v.units) return 0;
  *value = v.read(*a);
  return 1;
}

std::int32_t HostTraffic::Interface::GetAircraftString(std::uint32_t id, std::int32_t variable,
                                                       char *buffer, std::int32_t length,
                                                       std::int32_t) {
  const HostAircraft *a = owner_.find(id);
  if (!a || !buffer || length < 1 || variable != kAtcIdVariable) return 0;
  std::size_t n = std::min(a->atc.size(), static_cast<std::size_t>(length));
  std::memcpy(buffer, a->atc.data(), n);
  buffer[n] = '\0';
  return 1;
}

void set_user_aircraft(Host &host, double latitude, double longitude, double altitude,
                       std::optional<double> heading) {
  auto set = [&host](const char *variable, const char *units, double v) {
    host.set_aircraft_var(HostTraffic::variable_id(variable), HostTraffic::units_id(units), v);
  };
  set("PLANE LATITUDE", "DEGREES", latitude);
  set("PLANE LONGITUDE", "DEGREES", longitude);
  set("INDICATED ALTITUDE", "FEET", altitude);
  set("PLANE ALTITUDE", "FEET", altitude);
  host.traffic().set_user(latitude, longitude);
  if (heading) {
    set("PLANE HEADING DEGREES TRUE", "DEGREES", *heading);
    host.set_var(kVarPlaneHeading, *heading);
  }
}

const char *HostTraffic::Interface::GetAircraftLabel(std::uint32_t id, std::int32_t) {
  const HostAircraft *a = owner_.find(id);
  return a ? a->atc.c_str() : nullptr;
}

}  // namespace z480
