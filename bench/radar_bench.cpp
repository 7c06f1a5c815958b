// The traffic radar: a whole redraw of the screen with 100 aircraft on it,
// and one refresh of a traffic list of 100 aircraft.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cmath>
#include <string>

#include "bench/bench_module.h"
#include "frame/host_names.h"
#include "frame/services.h"
#include "host/core/host.h"
#include "radar/traffic.h"

namespace {

// 100 aircraft scattered over the 15 nm screen, all closing a little.
void fill_sky(z480::HostTraffic &traffic) {
  for (int i = 0; i < 100; ++i) {
    z480::HostAircraft a;
    a.id = static_cast<std::uint32_t>(1000 + i * 7919);
    a.latitude = 45 + ((i * 37) % 41 - 20) / 150.0;
    a.longitude = 7 + ((i * 53) % 43 - 21) / 110.0;
    a.altitude = 2000 + (i * 97) % 6000;
    a.track = (i * 29) % 360;
    a.speed = 90 + i;
    a.engines = i % 13 != 0;
    a.atc = "N" + std::to_string(100 + i);
    traffic.put(a);
  }
  traffic.set_user(45, 7);
}

double heap_in_use() { return static_cast<double>(mallinfo2().uordblks); }

// What the radar draws once a second: the screen, rings, lines and 100
// symbols with their tags and velocity lines, after refreshing the traffic.
// Turning, the user's heading turns the whole picture at every redraw, so
// no velocity line is ever drawn the same twice.
void radar_render(benchmark::State &state, bool turning) {
  auto module = load_bench_module();
  z480::Host host(*module);
  fill_sky(host.traffic());
  z480::set_user_aircraft(host, 45, 7, 5000, 0.0);
  host.set_var(kVarBusVoltage, 28.0);
  host.set_var(kVarTickCount, 0.0);  // every update redraws
  double before = heap_in_use();
  std::string error;
  z480::Instance *radar = host.place("Radar", "radar", std::nullopt, &error);
  if (!radar) throw std::runtime_error(error);
  double clock = 0;
  for (auto _ : state) {
    host.set_var(kVarSimulationTime, clock += 1.0);
    if (turning) host.set_var(kVarPlaneHeading, std::fmod(clock * 1.37, 360.0));
    host.service(*radar, kServicePreUpdate, 0);
  }
  // The display, its traffic list and drawing surface (with the shapes it
  // keeps), the screen's pixels.
  state.counters["held_bytes"] = heap_in_use() - before;
}

void BM_RadarRender100(benchmark::State &state) { radar_render(state, false); }
BENCHMARK(BM_RadarRender100)->Unit(benchmark::kMicrosecond);

void BM_RadarRender100Turning(benchmark::State &state) { radar_render(state, true); }
BENCHMARK(BM_RadarRender100Turning)->Unit(benchmark::kMicrosecond);

// The panel services a traffic source calls, answered by a host's traffic.
z480::HostTraffic *g_traffic = nullptr;
double g_clock = 0;

void BM_TrafficRefresh100(benchmark::State &state) {
  z480::HostTraffic traffic;
  fill_sky(traffic);
  g_traffic = &traffic;
  PanelServices services{};
  services.lookup_var = [](ModuleVar *v) {
    v->var_value.n = v->id == kVarSimulationTime ? g_clock : 0.0;
  };
  services.aircraft_varget = [](std::int32_t var, std::int32_t, std::int32_t) {
    return var == z480::HostTraffic::variable_id("PLANE LONGITUDE") ? 7.0 : 45.0;
  };
  services.query_host_interface = [](const char *) { return g_traffic->provider(); };
  PanelServices *saved = ImportTable.panels.fn_ptr;
  ImportTable.panels.fn_ptr = &services;
  {
    TrafficSource source;
    for (auto _ : state) {
      g_clock += 1.0;
      benchmark::DoNotOptimize(source.refresh(100, 144.0));
    }
    state.counters["aircraft"] = source.count();
  }
  ImportTable.panels.fn_ptr = saved;
}
BENCHMARK(BM_TrafficRefresh100)->Unit(benchmark::kMicrosecond);

}  // namespace
