// How long the host takes to run a frame of placed gauges, and to place one.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_module.h"
#include "host/core/host.h"

namespace {

// One frame of every gauge the module lists, each placed once.
void BM_FrameOfEveryGauge(benchmark::State &state) {
  auto module = load_bench_module();
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

// One frame of the autopilot panel with both manual channels engaged: the
// annunciator runs the four laws, every lamp reads its modes.
void BM_FrameOfAutopilot(benchmark::State &state) {
  auto module = load_bench_module();
  z480::Host host(*module);
  std::string error;
  for (const char *g : {"Autopilot_FD_Selector", "Manual_Autopilot", "Autopilot_Lights"})
    host.place(g, g, std::nullopt, &error);
  host.set_var(103, 1.0);  // autopilot engaged
  host.set_var(114, 1.0);  // yaw damper
  z480::Instance *manual = host.instance("Manual_Autopilot");
  host.click(*manual, {45, 70}, kMouseLeftSingle);   // pitch wheel: climb
  host.click(*manual, {180, 35}, kMouseLeftSingle);  // turn knob: right
  host.frame();
  host.forget_events();
  double bank = 0;
  std::size_t commands = 0;
  for (auto _ : state) {
    host.set_var(80, bank -= 0.001);
    host.frame();
    commands += host.events().size();
    host.forget_events();
  }
  // The aileron, elevator and trim commands: 3 a frame while both channels hold.
  state.counters["commands"] = benchmark::Counter(static_cast<double>(commands),
                                                  benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FrameOfAutopilot);

void BM_PlaceAndRemove(benchmark::State &state) {
  auto module = load_bench_module();
  z480::Host host(*module);
  std::string error;
  for (auto _ : state) {
    host.place("Altimeter_Mb", "a", std::nullopt, &error);
    host.remove("a");
  }
}
BENCHMARK(BM_PlaceAndRemove);

}  // namespace
