// What the radio navigation costs a frame: both NAV receivers, the ADF, the
// markers and the radio altimeter worked out from a moving position, and
// the airport's traffic moved on.
#include <benchmark/benchmark.h>

#include "bench/bench_module.h"
#include "frame/host_names.h"
#include "host/core/host.h"
#include "host/model/radio_navigation.h"
#include "host/model/traffic_pattern.h"

namespace {

void navigation_frame(benchmark::State &state) {
  auto module = load_bench_module();
  z480::Host host(*module);
  host.set_var(kVarNav1Frequency, 0x0950);  // the ILS of 27L
  host.set_var(kVarNav2Frequency, 0x1360);  // London VOR
  host.set_var(kVarAdfFrequency, 0x0316);   // Epsom
  const z480::Runway &r = z480::home_runway();
  double out = 10;
  for (auto _ : state) {
    out = out > 0.5 ? out - 0.002 : 10;
    z480::GeoPoint p = z480::destination(r.threshold, r.course_deg + 180, out);
    z480::update_radio_navigation(host, {p, 83 + out * 318, r.course_deg, 0});
  }
}
BENCHMARK(navigation_frame);

void traffic_frame(benchmark::State &state) {
  z480::HostTraffic traffic;
  z480::TrafficPatterns patterns;
  z480::AircraftPosition user{z480::home_runway().threshold, 1500, 270, 0};
  patterns.start(traffic, user);
  for (auto _ : state) patterns.fly(traffic, user, 1.0 / 18);
}
BENCHMARK(traffic_frame);

}  // namespace
