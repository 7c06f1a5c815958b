// The traffic source. Host values may be anything: each double the host
// gives is made finite and held to a range that a real aircraft cannot
// leave, so no NaN reaches the picture, the readout or an integer.
#include "radar/traffic.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "frame/services.h"

namespace {

// The aircraft variables, with the ids used when the host gives none.
enum Variable {
  kLatitude,
  kLongitude,
  kPlaneAltitude,
  kIndicatedAltitude,
  kVelocityNorth,
  kVelocityEast,
  kHeadingTrue,
  kAtcId,
  kCombustion,
};
struct Named {
  const char *name;
  std::int32_t default_id;
};
constexpr Named kVariables[] = {
    {"PLANE LATITUDE", 48},     {"PLANE LONGITUDE", 49},
    {"PLANE ALTITUDE", 50},     {"INDICATED ALTITUDE", 56},
    {"VELOCITY WORLD Z", 40},   {"VELOCITY WORLD X", 38},
    {"PLANE HEADING DEGREES TRUE", 55}, {"ATC ID", 529},
    {"ENG COMBUSTION", 232},
};
enum Units { kFeet, kBool, kDegrees, kKnots };
constexpr const char *kUnits[] = {"FEET", "BOOL", "DEGREES", "KNOTS"};

constexpr std::size_t kAtcLength = 10;
constexpr double kEarthRadiusNm = 3437.7467707849396;  // 10800 / pi
constexpr double kHalfCircumferenceNm = 10800.0;
constexpr double kOwnAircraftFeet = 3.0;
constexpr double kAdvisoryRate = 1.0 / 35.0;  // per second: contact within 35 s
constexpr double kWarningRate = 0.05;         // within 20 s
constexpr double kSlowestReducedKnots = 1.0;

// Bounds for host values: anything beyond is clamped, NaN reads 0.
constexpr double kLargestAltitudeFeet = 1.0e7;
constexpr double kLargestSpeedKnots = 1.0e5;
constexpr double kLargestLongitude = 1.0e6;

double bounded(double v, double limit) {
  if (v != v) return 0.0;
  return std::clamp(v, -limit, limit);
}

double radians(double degrees) { return finite_or_nan(degrees) / kDegreesPerRadian; }

// Degrees as a compass direction, 0 to below 360.
double compass(double degrees) {
  double d = std::fmod(wrapped(degrees, 360.0) + 360.0, 360.0);
  return d >= 360.0 ? 0.0 : d;
}

// acos of a value that rounding may have pushed past +-1.
double safe_acos(double v) { return std::acos(std::clamp(v, -1.0, 1.0)); }

bool id_less(const TrafficTarget &a, const TrafficTarget &b) { return a.id < b.id; }

const TrafficTarget *find_by_id(const TrafficTarget *sorted, std::uint32_t count,
                                std::uint32_t id) {
  if (!sorted || count == 0) return nullptr;
  TrafficTarget key{};
  key.id = id;
  const TrafficTarget *end = sorted + count;
  const TrafficTarget *hit = std::lower_bound(sorted, end, key, id_less);
  return hit != end && hit->id == id ? hit : nullptr;
}

}  // namespace

GreatCircle great_circle(double lat1, double lon1, double lat2, double lon2) {
  GreatCircle g{0.0, 180.0};
  double p1 = radians(lat1), p2 = radians(lat2);
  double dlat = std::sin((p2 - p1) / 2), dlon = std::sin(radians(lon2 - lon1) / 2);
  double h = dlat * dlat + std::cos(p1) * std::cos(p2) * dlon * dlon;
  if (!(h > 0)) return g;  // the same point, or no numbers at all
  double s = std::sqrt(h);
  g.distance = s < 1.0 ? 2 * std::asin(s) * kEarthRadiusNm : kHalfCircumferenceNm;
  double arc = g.distance / kEarthRadiusNm;
  double across = std::sin(arc) * std::cos(p2);
  if (std::fabs(across) > 1e-12) {
    g.bearing = safe_acos((std::sin(p1) - std::sin(p2) * std::cos(arc)) / across) *
                kDegreesPerRadian;
  } else {
    // From a pole every point lies due south (north pole) or due north; the
    // antipode lies in every direction, north will do.
    g.bearing = p2 > 0 && std::cos(p2) < 1e-9 ? 180.0 : 0.0;
  }
  if (std::sin(radians(lon2 - lon1)) > 0) g.bearing = 360.0 - g.bearing;
  return g;
}

std::int32_t threat_level(double combustion, double closure_rate, double slant_range) {
  if (combustion == 0.0) return kThreatEnginesOff;
  if (!(slant_range > 0)) return kThreatNone;
  double q = closure_rate / slant_range;
  if (q >= kWarningRate) return kThreatWarning;
  if (q >= kAdvisoryRate) return kThreatAdvisory;
  return kThreatNone;
}

void sort_by_id(TrafficTarget *list, std::uint32_t count) {
  if (list) std::sort(list, list + count, id_less);
}

void compare_previous(TrafficTarget &target, const TrafficTarget *old_sorted,
                      std::uint32_t old_count, double dt, bool reduced) {
  if (!(dt > 0)) return;
  const TrafficTarget *old = find_by_id(old_sorted, old_count, target.id);
  if (!old) return;
  if (reduced) {
    double flown = great_circle(old->latitude, old->longitude, target.latitude,
                                target.longitude).distance;
    target.ground_speed =
        std::clamp(flown * 3600.0 / dt, kSlowestReducedKnots, kLargestSpeedKnots);
  }
  target.closure_rate = (old->slant_range - target.slant_range) / dt;
  target.threat = threat_level(target.combustion, target.closure_rate, target.slant_range);
}

TrafficSource::TrafficSource() {
  for (std::size_t i = 0; i < std::size(kVariables); ++i)
    variable_ids_[i] = kVariables[i].default_id;
  std::fill(std::begin(units_ids_), std::end(units_ids_), 0);
  clock_.id = kVarSimulationTime;
  lookup_var(&clock_);
  previous_clock_ = clock_.var_value.n;
  provider_ = static_cast<TrafficProvider *>(query_host_interface(kTrafficInterfaceName));
  if (provider_)
    traffic_ = static_cast<ITrafficInfo *>(provider_->get_interface(kTrafficInterfaceName));
  if (!traffic_) return;
  for (std::size_t i = 0; i < std::size(kVariables); ++i)
    variable_ids_[i] = traffic_->GetVariableId(kVariables[i].name);
  for (std::size_t i = 0; i < std::size(kUnits); ++i) units_ids_[i] = traffic_->GetUnitsId(kUnits[i]);
}

TrafficSource::~TrafficSource() = default;

double TrafficSource::value(std::uint32_t id, int variable, int units) const {
  double v = 0.0;
  traffic_->GetAircraftValue(id, variable_ids_[variable], units_ids_[units], &v, 1);
  return v;
}

void TrafficSource::fill_target(std::uint32_t id, TrafficTarget &t, bool reduced) const {
  t = TrafficTarget{};
  t.id = id;
  if (!traffic_) return;
  t.latitude = bounded(value(id, kLatitude, kDegrees), 90.0);
  t.longitude = bounded(value(id, kLongitude, kDegrees), kLargestLongitude);
  if (!reduced) {
    t.altitude = bounded(value(id, kIndicatedAltitude, kFeet), kLargestAltitudeFeet);
    // Room for a host that writes more than it is asked to.
    char text[64] = {};
    traffic_->GetAircraftString(id, variable_ids_[kAtcId], text, kAtcLength, 0);
    std::memcpy(t.atc_id, text, strnlen(text, kAtcLength));
    t.combustion = bounded(value(id, kCombustion, kBool), 1.0);
    t.velocity_north = bounded(value(id, kVelocityNorth, kKnots), kLargestSpeedKnots);
    t.velocity_east = bounded(value(id, kVelocityEast, kKnots), kLargestSpeedKnots);
  } else {
    t.altitude = bounded(value(id, kPlaneAltitude, kFeet), kLargestAltitudeFeet);
    if (const char *label = traffic_->GetAircraftLabel(id, kAtcLength))
      std::memcpy(t.atc_id, label, strnlen(label, kAtcLength));
    t.combustion = 1.0;
    t.track = compass(bounded(value(id, kHeadingTrue, kDegrees), kLargestLongitude));
  }
}

TrafficSource::User TrafficSource::read_user() const {
  auto read = [this](int variable, int units) {
    return aircraft_varget(variable_ids_[variable], units_ids_[units], 0);
  };
  return {bounded(read(kLatitude, kDegrees), 90.0),
          bounded(read(kLongitude, kDegrees), kLargestLongitude),
          bounded(read(kIndicatedAltitude, kFeet), kLargestAltitudeFeet)};
}

void TrafficSource::relate_target(TrafficTarget &t, const User &user,
                                  const TrafficTarget *old_sorted, std::uint32_t old_count,
                                  double dt, bool reduced) const {
  GreatCircle g = great_circle(t.latitude, t.longitude, user.latitude, user.longitude);
  t.distance = g.distance;
  t.bearing = g.bearing;
  t.relative_altitude = t.altitude - user.altitude;
  t.slant_range = std::hypot(t.relative_altitude, t.distance * kMetresPerNm * kFeetPerMetre);
  if (t.slant_range < kOwnAircraftFeet) t.slant_range = t.distance = 0.0;
  if (!reduced) {
    t.track = compass(std::atan2(t.velocity_east, t.velocity_north) * kDegreesPerRadian);
    t.ground_speed = std::hypot(t.velocity_east, t.velocity_north);
  }
  compare_previous(t, old_sorted, old_count, dt, reduced);
}

std::uint32_t TrafficSource::refresh(std::uint32_t max_count, double radius_nm) {
  if (!traffic_) return 0;
  std::unique_ptr<std::uint32_t[]> ids(new (std::nothrow) std::uint32_t[max_count ? max_count : 1]());
  if (!ids) return 0;
  std::int32_t reported = traffic_->GetAircraftInRadius(radius_nm * kMetresPerNm,
                                                        static_cast<std::int32_t>(max_count),
                                                        ids.get());
  // A host that claims more than the array holds is not believed.
  std::uint32_t n = reported <= 0 ? 0 : std::min<std::uint32_t>(reported, max_count);
  if (n == 0) return 0;
  std::unique_ptr<TrafficTarget[]> fresh(new (std::nothrow) TrafficTarget[n]());
  if (!fresh) return 0;
  bool reduced = traffic_->IsReducedMode() != 0;
  for (std::uint32_t i = 0; i < n; ++i) fill_target(ids[i], fresh[i], reduced);

  lookup_var(&clock_);
  double clock = clock_.var_value.n;
  // A clock that is no number gives no time step and is not kept.
  double dt = std::isfinite(clock) ? clock - previous_clock_ : 0.0;
  sort_by_id(list_.get(), count_);
  User user = read_user();
  for (std::uint32_t i = 0; i < n; ++i)
    relate_target(fresh[i], user, list_.get(), count_, dt, reduced);
  if (std::isfinite(clock)) previous_clock_ = clock;
  list_ = std::move(fresh);
  count_ = n;
  return n;
}
