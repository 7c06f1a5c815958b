// The host's traffic interface, reached through query_host_interface
// ("ITrafficInfo"): a provider object whose third slot hands out the
// interface itself, and the interface, whose slots the module calls by
// number. Both are C++ interfaces of the host (virtual slots in declaration
// order, no virtual destructor); the module never releases them.
#pragma once

#include <cstdint>

// The host's compiler calls interface methods with the object in ECX
// (thiscall) on 32-bit Windows; said outright, so no compiler default decides.
#if defined(_WIN32) && !defined(_WIN64)
#define Z480_METHOD __thiscall
#else
#define Z480_METHOD
#endif

inline constexpr const char kTrafficInterfaceName[] = "ITrafficInfo";

class TrafficProvider {
 public:
  virtual std::uint32_t Z480_METHOD add_ref() = 0;                // slot 0
  virtual std::uint32_t Z480_METHOD release() = 0;                // slot 1
  virtual void *Z480_METHOD get_interface(const char *name) = 0;  // slot 2

 protected:
  ~TrafficProvider() = default;
};

class ITrafficInfo {
 public:
  virtual std::uint32_t Z480_METHOD add_ref() = 0;                  // slot 0
  virtual std::uint32_t Z480_METHOD release() = 0;                  // slot 1
  virtual void *Z480_METHOD query_interface(const char *name) = 0;  // slot 2
  virtual void Z480_METHOD reserved_3() = 0;
  virtual void Z480_METHOD reserved_4() = 0;
  virtual void Z480_METHOD reserved_5() = 0;
  virtual void Z480_METHOD reserved_6() = 0;
  virtual void Z480_METHOD reserved_7() = 0;
  virtual std::int32_t Z480_METHOD GetVariableId(const char *name) = 0;  // slot 8
  virtual std::int32_t Z480_METHOD GetUnitsId(const char *name) = 0;     // slot 9
  // Writes the ids of the aircraft within the radius, at most max_count of
  // them; returns how many it wrote.
  virtual std::int32_t Z480_METHOD GetAircraftInRadius(double radius_m, std::int32_t max_count,
                                                       std::uint32_t *ids) = 0;  // slot 10
  virtual void Z480_METHOD reserved_11() = 0;
  virtual std::int32_t Z480_METHOD GetAircraftValue(std::uint32_t id, std::int32_t variable,
                                                    std::int32_t units, double *value,
                                                    std::int32_t count) = 0;  // slot 12
  // Writes at most `length` characters of the text variable into buffer.
  virtual std::int32_t Z480_METHOD GetAircraftString(std::uint32_t id, std::int32_t variable,
                                                     char *buffer, std::int32_t length,
                                                     std::int32_t flags) = 0;  // 13
  virtual void Z480_METHOD reserved_14() = 0;
  virtual std::int32_t Z480_METHOD IsReducedMode() = 0;  // slot 15
  virtual const char *Z480_METHOD GetAircraftLabel(std::uint32_t id,
                                                   std::int32_t length) = 0;  // slot 16

 protected:
  ~ITrafficInfo() = default;
};
