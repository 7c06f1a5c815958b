// Arbitrary panels flown against the real module: gauges placed with random
// parameter strings, host variables set to anything (NaN, infinities, huge
// numbers), frames, clicks and service codes in any order. Every gauge must
// give a defined result for all of it: no crash, no sanitizer report.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_module.h"
#include "host/core/host.h"

namespace {

std::vector<std::string> gauge_names() {
  std::vector<std::string> names;
  for (GaugeHeader *g : fuzz_module().linkage().gauge_header_ptr) {
    if (!g) break;
    names.push_back(g->gauge_name);
  }
  return names;
}

double nasty_value(FuzzedDataProvider &in) {
  static constexpr double kValues[] = {0.0,
                                       1.0,
                                       -1.0,
                                       0.5,
                                       20.0,
                                       28.5,
                                       16384.0,
                                       -16384.0,
                                       65535.0,
                                       8388608.0,
                                       2147483648.0,
                                       -2147483649.0,
                                       4294967296.0,
                                       1e300,
                                       -1e300,
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::denorm_min()};
  if (in.ConsumeBool()) return in.PickValueInArray(kValues);
  return in.ConsumeFloatingPoint<double>();
}

constexpr std::uint32_t kFlags[] = {0x20000000u, 0x80000000u, 0x00800000u, 0x00400000u,
                                    0x00200000u, 0xA0200000u, 0xFFFFFFFFu};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const std::vector<std::string> names = gauge_names();
  FuzzedDataProvider in(data, size);
  z480::Host host(fuzz_module());
  std::vector<std::string> aliases;
  std::string error;
  for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0: {  // place a gauge, sometimes with a parameter string
        std::string alias = "g" + std::to_string(step);
        std::optional<std::string> param;
        if (in.ConsumeBool()) param = in.ConsumeRandomLengthString(64);
        const std::string &gauge = names[in.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)];
        if (host.place(gauge, alias, param, &error)) aliases.push_back(alias);
        break;
      }
      case 1:
        host.set_var(in.ConsumeIntegralInRange<std::int32_t>(0, 1000), nasty_value(in));
        break;
      case 2:
        for (int n = in.ConsumeIntegralInRange(1, 20); n > 0; --n) host.frame();
        break;
      case 3:
      case 4:
        if (!aliases.empty()) {
          z480::Instance *inst = host.instance(aliases[in.ConsumeIntegralInRange<std::size_t>(
              0, aliases.size() - 1)]);
          PixPoint p{in.ConsumeIntegralInRange(-10, 400), in.ConsumeIntegralInRange(-10, 400)};
          host.click(*inst, p, in.PickValueInArray(kFlags));
        }
        break;
      case 5:
        if (!aliases.empty()) {
          std::size_t i = in.ConsumeIntegralInRange<std::size_t>(0, aliases.size() - 1);
          host.remove(aliases[i]);
          aliases.erase(aliases.begin() + static_cast<std::ptrdiff_t>(i));
        }
        break;
      case 6:
        if (!aliases.empty()) {
          z480::Instance *inst = host.instance(aliases[in.ConsumeIntegralInRange<std::size_t>(
              0, aliases.size() - 1)]);
          host.service(*inst, in.PickValueInArray({3, 6, 14, 15}), 0);
        }
        break;
    }
  }
  host.frame();
  return 0;
}
