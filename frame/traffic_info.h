// The host's traffic interface, reached through query_host_interface
// ("ITrafficInfo"): a provider object whose third slot hands out the
// interface itself, and the interface, whose slots the module calls by
// number. Both are C++ interfaces of the host (virtual slots in declaration
// order, no virtual destructor); the module never releases them.
#pragma once

#include <cstdint>

inline constexpr const char kTrafficInterfaceName[] = "ITrafficInfo";

class TrafficProvider {
 public:
  virtual std::uint32_t add_ref() = 0;                        // slot 0
  virtual std::uint32_t release() = 0;                        // slot 1
  virtual void *get_interface(const char *name) = 0;          // slot 2

 protected:
  ~TrafficProvider() = default;
};

class ITrafficInfo {
 public:
  virtual std::uint32_t add_ref() = 0;                        // slot 0
  virtual std::uint32_t release() = 0;                        // slot 1
  virtual void *query_interface(const char *name) = 0;        // slot 2
  virtual void reserved_3() = 0;
  virtual void reserved_4() = 0;
  virtual void reserved_5() = 0;
  virtual void reserved_6() = 0;
  virtual void reserved_7() = 0;
  virtual std::int32_t GetVariableId(const char *name) = 0;  // slot 8
  virtual std::int32_t GetUnitsId(const char *name) = 0;     // slot 9
  // Writes the ids of the aircraft within the radius, at most max_count of
  // them; returns how many it wrote.
  virtual std::int32_t GetAircraftInRadius(double radius_m, std::int32_t max_count,
                                           std::uint32_t *ids) = 0;  // slot 10
  virtual void reserved_11() = 0;
  virtual std::int32_t GetAircraftValue(std::uint32_t id, std::int32_t variable,
                                        std::int32_t units, double *value,
                                        std::int32_t count) = 0;  // slot 12
  // Writes at most `length` characters of the text variable into buffer.
  virtual std::int32_t GetAircraftString(std::uint32_t id, std::int32_t variable, char *buffer,
                                         std::int32_t length, std::int32_t flags) = 0;  // 13
  virtual void reserved_14() = 0;
  virtual std::int32_t IsReducedMode() = 0;                                // slot 15
  virtual const char *GetAircraftLabel(std::uint32_t id, std::int32_t length) = 0;  // 16

 protected:
  ~ITrafficInfo() = default;
};
