// How long the host takes to run a frame of placed gauges, and to place one.
#include <benchmark/benchmark.h>

#include <string>

#include "host/host.h"

namespace {

std::unique_ptr<z480::Module> load() {
  std::string error;
  auto m = z480::Module::load(Z480_MODULE_PATH, &error);
  if (!m) throw std::runtime_error(error);
  return m;
}

// One frame of every gauge the module lists, each placed once.
void BM_FrameOfEveryGauge(benchmark::State &state) {
  auto module = load();
  z480::Host host(*module);
  std::string error;
  for (GaugeHeader *g : module->linkage().gauge_header_ptr) {
    if (!g) break;
    host.place(g->gauge_name, g->gauge_name, std::nullopt, &error);
  }
  double altitude = 0;
  for (auto _ : state) {
    host.set_var(74, altitude += 10);
    host.frame();
  }
  state.counters["gauges"] = static_cast<double>(host.instances().size());
}
BENCHMARK(BM_FrameOfEveryGauge);

void BM_PlaceAndRemove(benchmark::State &state) {
  auto module = load();
  z480::Host host(*module);
  std::string error;
  for (auto _ : state) {
    host.place("Altimeter_Mb", "a", std::nullopt, &error);
    host.remove("a");
  }
}
BENCHMARK(BM_PlaceAndRemove);

}  // namespace
