// Host frames a second with the flight model: one JSBSim frame (seven steps
// in lockstep, the controls set, every instrument read back) per iteration.
// A scripted hour of flight is 64,800 of them.
#include <benchmark/benchmark.h>

#include "host/model/jsbsim.h"

namespace z480 {
namespace {

void BM_FlightModelFrame(benchmark::State &state) {
  std::vector<std::string> reads = {
      "velocities/vc-kts", "position/h-sl-ft", "velocities/h-dot-fps", "attitude/theta-deg",
      "attitude/phi-deg", "attitude/psi-deg", "propulsion/engine[0]/n1", "propulsion/engine[1]/n1",
      "propulsion/engine[0]/itt-c", "propulsion/engine[1]/itt-c", "z480/torque-1", "z480/torque-2",
      "propulsion/engine[0]/fuel-flow-rate-pps", "propulsion/engine[1]/fuel-flow-rate-pps",
      "propulsion/tank[0]/contents-lbs", "propulsion/tank[1]/contents-lbs", "z480/north-ft",
      "z480/east-ft", "gear/gear-pos-norm", "fcs/flap-pos-norm"};
  Jsbsim sim(default_jsbsim_files(), {47, 8, 5000, 180, 40, true},
             {"fcs/throttle-cmd-norm", "fcs/throttle-cmd-norm[1]", "fcs/elevator-cmd-norm"}, reads);
  double elevator = 0;
  for (auto _ : state) {
    elevator = -elevator + 0.001;  // a control that changes every frame
    benchmark::DoNotOptimize(sim.frame({0.7, 0.7, elevator}));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FlightModelFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace z480
