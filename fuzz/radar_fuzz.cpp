// The traffic radar against a hostile host: traffic lists of any size (far
// past the 100 the radar asks for, with counts that lie), any values (NaN,
// infinities, huge numbers, poles), reduced mode on and off, and the gauge's
// service codes, frames, clicks, mouse moves and tooltips in any order. No
// crash, no leak, no sanitizer report.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "frame/host_names.h"
#include "fuzz/fuzz_module.h"
#include "host/core/host.h"
#include "host/core/traffic_slots.h"

namespace {

double wild(FuzzedDataProvider &in) {
  static constexpr double kValues[] = {0.0,   1.0,   -1.0,  90.0,  -90.0,   180.0, 3.0,
                                       15.0,  20.0,  28.0,  144.0, 10000.0, 1e300, -1e300,
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::denorm_min()};
  if (in.ConsumeBool()) return in.PickValueInArray(kValues);
  return in.ConsumeFloatingPoint<double>();
}

struct Aircraft {
  std::uint32_t id;
  double values[9];
  std::string text;
};

// A traffic interface whose every answer the input decides.
class HostileTraffic final : public z480::TrafficFakeSlots {
 public:
  std::vector<Aircraft> aircraft;
  std::int32_t count_lie = 0;  // added to the count reported
  bool reduced = false;
  bool label_null = false;

  std::int32_t GetVariableId(const char *name) override { return static_cast<std::int32_t>(std::strlen(name)) % 9; }
  std::int32_t GetUnitsId(const char *name) override { return static_cast<std::int32_t>(std::strlen(name)); }
  std::int32_t GetAircraftInRadius(double, std::int32_t max, std::uint32_t *ids) override {
    std::int32_t n = 0;
    for (const Aircraft &a : aircraft)
      if (n < max) ids[n++] = a.id;
    return static_cast<std::int32_t>(aircraft.size()) + count_lie;
  }
  std::int32_t GetAircraftValue(std::uint32_t id, std::int32_t var, std::int32_t, double *v,
                                std::int32_t) override {
    if (const Aircraft *a = find(id); a && var >= 0 && var < 9) *v = a->values[var];
    return 1;
  }
  std::int32_t GetAircraftString(std::uint32_t id, std::int32_t, char *buffer, std::int32_t length,
                                 std::int32_t) override {
    const Aircraft *a = find(id);
    if (!a || length < 0) return 0;
    std::size_t n = std::min<std::size_t>(a->text.size(), static_cast<std::size_t>(length));
    std::memcpy(buffer, a->text.data(), n);
    buffer[n] = '\0';
    return 1;
  }
  std::int32_t IsReducedMode() override { return reduced; }
  const char *GetAircraftLabel(std::uint32_t id, std::int32_t) override {
    const Aircraft *a = find(id);
    return a && !label_null ? a->text.c_str() : nullptr;
  }

 private:
  const Aircraft *find(std::uint32_t id) const {
    for (const Aircraft &a : aircraft)
      if (a.id == id) return &a;
    return nullptr;
  }
};

void new_traffic(FuzzedDataProvider &in, HostileTraffic &traffic) {
  traffic.aircraft.clear();
  std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 400);
  for (std::size_t i = 0; i < n && in.remaining_bytes() > 0; ++i) {
    Aircraft a{};
    a.id = in.ConsumeBool() ? static_cast<std::uint32_t>(i) : in.ConsumeIntegral<std::uint32_t>();
    for (double &v : a.values) v = in.ConsumeBool() ? 45.0 + in.ConsumeIntegral<std::int8_t>() / 100.0 : wild(in);
    a.text = in.ConsumeRandomLengthString(24);
    traffic.aircraft.push_back(std::move(a));
  }
  traffic.count_lie = in.ConsumeIntegral<std::int32_t>() % 100000;
  traffic.reduced = in.ConsumeBool();
  traffic.label_null = in.ConsumeBool();
}

constexpr std::int32_t kTokens[] = {kVarBusVoltage, kVarElectricalFailure, kVarPlaneHeading,
                                    kVarTickCount, kVarSimulationTime};
constexpr std::int32_t kServices[] = {2, 3, 6, 12, 14, 15, 0, 1, 7, 13, 16, -1};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  HostileTraffic traffic;
  {
    z480::Host host(fuzz_module());
    bool offered = in.ConsumeBool();
    host.set_interface(kTrafficInterfaceName, offered ? static_cast<TrafficProvider *>(&traffic)
                                                      : nullptr);
    host.set_var(kVarBusVoltage, 28.0);
    std::string error;
    z480::Instance *radar = host.place("Radar", "radar", std::nullopt, &error);
    if (!radar) __builtin_trap();
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
      switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0: new_traffic(in, traffic); break;
        case 1: host.set_var(in.PickValueInArray(kTokens), wild(in)); break;
        case 2:
          host.service(*radar, in.PickValueInArray(kServices), 0);
          break;
        case 3:
          host.set_var(kVarTickCount, 18.0 * in.ConsumeIntegral<std::int16_t>());
          host.set_var(kVarSimulationTime, host.var(kVarSimulationTime) + wild(in));
          host.frame();
          break;
        case 4: {
          // Range buttons, the power switch, or the mouse over the screen.
          PixPoint p{in.ConsumeIntegralInRange(-10, 300), in.ConsumeIntegralInRange(-10, 220)};
          host.click(*radar, p, in.ConsumeBool() ? kMouseLeftSingle : kMouseMove);
          break;
        }
        case 5:
          host.tooltip(*radar, {in.ConsumeIntegralInRange(0, 300), in.ConsumeIntegralInRange(0, 220)});
          break;
        case 6: host.frame(); break;
        default: {
          // A fresh connect and after-install, in either order.
          bool connect_first = in.ConsumeBool();
          host.service(*radar, connect_first ? kServiceConnect : kServicePostInstall, 0);
          host.service(*radar, connect_first ? kServicePostInstall : kServiceConnect, 0);
          break;
        }
      }
    }
  }
  return 0;
}
