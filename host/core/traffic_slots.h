// The slots of the traffic interface that every implementation here answers
// the same way, written once: references are not counted, no other
// interface is offered, the reserved slots do nothing. The host's traffic
// and the fakes of tests and fuzzers write only the slots they mean.
#pragma once

#include <cstdint>

#include "frame/traffic_info.h"

namespace z480 {

class TrafficProviderSlots : public TrafficProvider {
 public:
  std::uint32_t Z480_METHOD add_ref() override { return 1; }
  std::uint32_t Z480_METHOD release() override { return 1; }

 protected:
  ~TrafficProviderSlots() = default;
};

class TrafficInfoSlots : public ITrafficInfo {
 public:
  std::uint32_t Z480_METHOD add_ref() override { return 1; }
  std::uint32_t Z480_METHOD release() override { return 1; }
  void *Z480_METHOD query_interface(const char *) override { return nullptr; }
  void Z480_METHOD reserved_3() override {}
  void Z480_METHOD reserved_4() override {}
  void Z480_METHOD reserved_5() override {}
  void Z480_METHOD reserved_6() override {}
  void Z480_METHOD reserved_7() override {}
  void Z480_METHOD reserved_11() override {}
  void Z480_METHOD reserved_14() override {}

 protected:
  ~TrafficInfoSlots() = default;
};

// A provider and its interface in one object, as a test's fake needs them:
// the provider hands out the object itself, whatever the name asked for.
class TrafficFakeSlots : public TrafficInfoSlots, public TrafficProviderSlots {
 public:
  void *Z480_METHOD get_interface(const char *) override {
    return static_cast<ITrafficInfo *>(this);
  }

 protected:
  ~TrafficFakeSlots() = default;
};

}  // namespace z480
