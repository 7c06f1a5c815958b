// Traffic that flies around the home airport for the radar to show: a
// trainer in the left-hand circuit of runway 27L, an arrival down the ILS
// of 27R, a departure climbing out of 27L and turning south, and a crosser
// met head-on: it is put ahead of the user's aircraft, at 500 ft above and
// a little to the right, flying the other way, and is put there again once
// it has passed far behind, so an encounter comes round every few
// minutes. Each aircraft follows its path at the speeds along it; one that
// starts its path again from the far end comes back under a new id, so the
// radar takes it for a new aircraft rather than one that jumped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/core/traffic.h"
#include "host/model/geo.h"
#include "host/model/nav_database.h"

namespace z480 {

// A corner of a path: miles along a runway's landing direction from its
// threshold and to the right of it, height above the field, speed there.
struct PathPoint {
  double along_nm, right_nm, height_ft, knots;
};

struct TrafficPath {
  std::string atc;
  std::uint32_t first_id;
  const Runway *runway;
  std::vector<PathPoint> points;
  bool closed;  // flown round and round; otherwise begun again at the first point
};

// The paths above, about the database's runways.
std::vector<TrafficPath> home_traffic_paths(const NavDatabase &db = nav_database());

class TrafficPatterns {
 public:
  // The crosser's first id; each aircraft's ids step by 10 from its first.
  static constexpr std::uint32_t kCrosserId = 100;
  // Where the crosser appears ahead of the user, and how far behind it goes.
  static constexpr double kCrosserAheadNm = 6, kCrosserAsideNm = 0.3, kCrosserAboveFt = 500;
  static constexpr double kCrosserKnots = 200;

  explicit TrafficPatterns(const NavDatabase &db = nav_database());

  // Puts every aircraft into the traffic at the start of its path (the
  // crosser ahead of the user).
  void start(HostTraffic &traffic, const AircraftPosition &user);
  // Moves them on by that much time.
  void fly(HostTraffic &traffic, const AircraftPosition &user, double seconds);
  // Takes them out of the traffic again.
  void stop(HostTraffic &traffic);

 private:
  struct Flier {
    TrafficPath path;
    double lap_nm = 0;
    double at_nm = 0;       // how far along its path
    std::uint32_t lap = 0;  // laps begun again, for the id
    std::uint32_t id() const { return path.first_id + 10 * lap; }
  };
  void place(HostTraffic &traffic, const Flier &f) const;
  void put_crosser(HostTraffic &traffic, const AircraftPosition &user);

  const NavDatabase &db_;
  std::vector<Flier> fliers_;
  std::uint32_t crosser_id_ = kCrosserId;
  bool flying_ = false;
};

}  // namespace z480
