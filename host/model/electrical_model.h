// How the simulator's electrical system answers the panel: the battery
// master, the two alternators (online once their engine turns), the bus the
// converters feed, and the light switches; a starter's draw pulls the bus
// down while it turns its engine. Registered with the systems model as the
// "electrical" table.
#pragma once

namespace z480 {

inline constexpr double kBatteryVolts = 24.0;
inline constexpr double kAlternatorVolts = 28.5;
inline constexpr double kConverterBusVolts = 28.0;
// An alternator comes online once its engine turns at this N2, in percent.
inline constexpr double kAlternatorOnlineN2 = 50.0;

// A starter-generator turning its engine draws most at rest and less and
// less as the engine winds up: amperes at an N2 (percent); an N2 that is no
// number draws as at rest, an infinite one as at the cut-out.
inline constexpr double kStarterPeakAmps = 500, kStarterCutoutAmps = 80;
double starter_amps(double n2);
// What the sources give up under load, volts per ampere: the battery's
// internal resistance and cables, and the stiffer regulated alternators.
inline constexpr double kBatteryOhms = 0.0065, kAlternatorOhms = 0.002;

struct ElectricalSwitches {
  bool battery;
  bool converter_bus;
  bool alternator_online[2];
  double load_amps = 0;  // the starters' draw on the main bus
};

struct ElectricalVolts {
  double main_bus;  // the DC voltmeter shows it too
  double converter_bus;
  double alternator[2];
};

// Whether an alternator feeds the main bus: its switch on and its engine
// turning fast enough (an N2 that is no number does not turn it).
bool alternator_online(double switch_state, double n2);

// The alternators carry the main bus when either is online, the battery
// otherwise, each sagging under the load; the converters, regulated, need
// the bus switched on and a live main bus.
ElectricalVolts electrical_volts(const ElectricalSwitches &switches);

}  // namespace z480
