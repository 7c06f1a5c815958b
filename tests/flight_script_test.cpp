// A pilot's script on the JSBSim aircraft, run twice: the same inputs fly
// the same flight, to the last digit of every instrument's token.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frame/host_names.h"
#include "host/script/script.h"

namespace z480 {
namespace {

// What the instruments read, frame by frame.
constexpr std::int32_t kTraced[] = {
    kVarIndicatedAirspeed, kVarIndicatedAltitude, kVarVerticalSpeed, kVarPitch,   kVarBank,
    kVarHeading,           kVarRadioHeight,       kVarEngine1N2,     kVarEngine2N2, kVarEngine1Egt,
    kVarEngine1FuelFlow,   kVarFuelLeftQuantity,  kVarMainBusVoltage};

struct Flight {
  ScriptTotals totals;
  std::vector<double> trace;
  std::string report;
};

Flight fly(const std::string &name) {
  std::string why, file = std::string(Z480_SCRIPT_DIR) + "/" + name;
  auto source = read_file(file, &why);
  EXPECT_TRUE(source) << why;
  Flight f;
  std::ostringstream out;
  f.totals = run_script(Z480_MODULE_PATH, file, source.value_or(""), out, nullptr,
                        [&f](ScriptRun &run) {
                          run.host.on_frame([&f, &run] {
                            for (std::int32_t token : kTraced) f.trace.push_back(run.host.var(token));
                          });
                        });
  f.report = out.str();
  return f;
}

TEST(FlightScripts, TwoRunsOfAScriptGiveTheSameNumbers) {
  Flight first = fly("flight_take_off.z480"), second = fly("flight_take_off.z480");
  EXPECT_TRUE(first.totals.ok()) << first.report;
  // A flight of some length, identical frame for frame.
  EXPECT_GT(first.trace.size(), 1000 * std::size(kTraced));
  EXPECT_EQ(first.trace, second.trace);
  EXPECT_EQ(first.report, second.report);
}

}  // namespace
}  // namespace z480
