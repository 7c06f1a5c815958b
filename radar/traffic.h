// The traffic around the user's aircraft, read from the host's traffic
// interface: for each aircraft its position relative to the user (distance,
// true bearing, relative altitude, slant range), its track and ground speed,
// its ATC id and how soon it would meet the user (the threat level).
#pragma once

#include <cstdint>
#include <memory>

#include "frame/panel.h"
#include "frame/traffic_info.h"

struct TrafficTarget {
  std::uint32_t id;
  double latitude;        // degrees
  double longitude;       // degrees
  double altitude;        // feet
  double velocity_north;  // knots
  double velocity_east;   // knots
  char atc_id[16];        // at most 10 characters, always terminated
  double combustion;      // 0 or 1
  double bearing;         // degrees true, user to target
  double distance;        // nautical miles, great circle
  double slant_range;     // feet
  double closure_rate;    // feet per second, positive when closing
  double relative_altitude;  // feet, target minus user
  double track;           // degrees true
  double ground_speed;    // knots
  std::int32_t threat;    // see the levels below
};

inline constexpr std::int32_t kThreatEnginesOff = -1;
inline constexpr std::int32_t kThreatNone = 0;
inline constexpr std::int32_t kThreatAdvisory = 1;
inline constexpr std::int32_t kThreatWarning = 2;

inline constexpr double kMetresPerNm = 1851.8518518518517;  // 1000 / 0.54
inline constexpr double kFeetPerMetre = 3.28084;
inline constexpr double kDegreesPerRadian = 57.29577951308232;

struct GreatCircle {
  double distance;  // nautical miles
  double bearing;   // degrees true, from point 2 to point 1
};
// Great-circle distance and bearing between two points (degrees). The same
// point twice gives 0 nm and 180 degrees.
GreatCircle great_circle(double lat1, double lon1, double lat2, double lon2);

// The threat of an aircraft whose slant range (feet) closes at closure_rate
// (feet per second): contact within 35 s is an advisory, within 20 s a
// warning; engines stopped (combustion exactly 0) overrule both.
std::int32_t threat_level(double combustion, double closure_rate, double slant_range);

// Changes from an aircraft's previous record (old_sorted is sorted by id):
// closure rate and threat, and in reduced mode the ground speed from the
// distance flown. Nothing changes for an aircraft not in the old list or
// when dt is not positive.
void compare_previous(TrafficTarget &target, const TrafficTarget *old_sorted,
                      std::uint32_t old_count, double dt, bool reduced);

// Sorts records by id, ascending.
void sort_by_id(TrafficTarget *list, std::uint32_t count);

class TrafficSource {
 public:
  TrafficSource();
  virtual ~TrafficSource();
  TrafficSource(const TrafficSource &) = delete;
  TrafficSource &operator=(const TrafficSource &) = delete;

  // Replaces the list with the aircraft within radius_nm (at most
  // max_count); a host that reports none keeps the old list. Returns how
  // many the host reported, never more than max_count; 0 without a
  // traffic interface.
  std::uint32_t refresh(std::uint32_t max_count, double radius_nm);

  std::uint32_t count() const { return count_; }
  const TrafficTarget *list() const { return list_.get(); }
  bool connected() const { return traffic_ != nullptr; }

  // The host's record of one aircraft, position relative to nothing yet.
  void fill_target(std::uint32_t id, TrafficTarget &target, bool reduced) const;

 private:
  struct User {
    double latitude, longitude, altitude;
  };
  User read_user() const;
  void relate_target(TrafficTarget &target, const User &user, const TrafficTarget *old_sorted,
                     std::uint32_t old_count, double dt, bool reduced) const;
  double value(std::uint32_t id, int variable, int units) const;

  TrafficProvider *provider_ = nullptr;
  ITrafficInfo *traffic_ = nullptr;
  std::int32_t variable_ids_[9];
  std::int32_t units_ids_[4];
  std::unique_ptr<TrafficTarget[]> list_;
  std::uint32_t count_ = 0;
  ModuleVar clock_{};
  double previous_clock_ = 0;
};
