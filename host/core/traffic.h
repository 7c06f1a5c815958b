// The host's traffic: the other aircraft in the sky around the user's
// aircraft, offered to the module as the traffic interface ("ITrafficInfo")
// with the slots the module calls. Aircraft fly straight on at their track,
// speed and vertical speed as the host's clock runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/core/traffic_slots.h"

namespace z480 {

class Host;

struct HostAircraft {
  std::uint32_t id = 0;
  double latitude = 0;   // degrees
  double longitude = 0;  // degrees
  double altitude = 0;   // feet
  double track = 0;      // degrees true
  double speed = 0;      // knots over the ground
  double vertical_speed = 0;  // feet per minute
  bool engines = true;
  std::string atc;
};

class HostTraffic {
 public:
  HostTraffic();
  HostTraffic(const HostTraffic &) = delete;
  HostTraffic &operator=(const HostTraffic &) = delete;

  // What query_host_interface answers for "ITrafficInfo".
  void *provider() { return &provider_; }

  // Adds the aircraft, or replaces the one with its id.
  void put(const HostAircraft &aircraft);
  bool remove(std::uint32_t id);
  HostAircraft *find(std::uint32_t id);
  void set_reduced(bool reduced) { reduced_ = reduced; }

  // The user's aircraft, from which the radius is measured.
  void set_user(double latitude, double longitude) {
    user_latitude_ = latitude;
    user_longitude_ = longitude;
  }

  // The aircraft fly on for that many seconds.
  void fly(double seconds);

  // The host's numbers for the variable and units names the interface
  // answers (-1 for a name it does not know).
  static std::int32_t variable_id(const char *name);
  static std::int32_t units_id(const char *name);

 private:
  class Provider final : public TrafficProviderSlots {
   public:
    explicit Provider(HostTraffic &owner) : owner_(owner) {}
    void *get_interface(const char *name) override;

   private:
    HostTraffic &owner_;
  };

  class Interface final : public TrafficInfoSlots {
   public:
    explicit Interface(HostTraffic &owner) : owner_(owner) {}
    void *query_interface(const char *name) override;
    std::int32_t GetVariableId(const char *name) override { return variable_id(name); }
    std::int32_t GetUnitsId(const char *name) override { return units_id(name); }
    std::int32_t GetAircraftInRadius(double radius_m, std::int32_t max_count,
                                     std::uint32_t *ids) override;
    std::int32_t GetAircraftValue(std::uint32_t id, std::int32_t variable, std::int32_t units,
                                  double *value, std::int32_t count) override;
    // Writes at most `length` characters and a terminator.
    std::int32_t GetAircraftString(std::uint32_t id, std::int32_t variable, char *buffer,
                                   std::int32_t length, std::int32_t flags) override;
    std::int32_t IsReducedMode() override { return owner_.reduced_ ? 1 : 0; }
    const char *GetAircraftLabel(std::uint32_t id, std::int32_t length) override;

   private:
    HostTraffic &owner_;
  };

  std::vector<HostAircraft> aircraft_;  // in the order they were added
  bool reduced_ = false;
  double user_latitude_ = 0, user_longitude_ = 0;
  Provider provider_{*this};
  Interface interface_{*this};
};

// Puts the user's aircraft there: its aircraft variables (as the traffic
// interface numbers them), the centre of the traffic's radius and, when
// given, its heading (also the radar's heading token).
void set_user_aircraft(Host &host, double latitude, double longitude, double altitude,
                       std::optional<double> heading = std::nullopt);

}  // namespace z480
