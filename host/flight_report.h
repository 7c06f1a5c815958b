// The report of a flight flown by script: each phase with its simulated time
// and what the panel showed, the panel snapshots taken, and, once the run is
// over, a text summary, the key-event log and an index.html that shows the
// snapshots in order and plays the recorded sound.
//
//   phase "TITLE"     prints one line: the simulator's clock, the title and
//                     the readings (speed, altitudes, N2 and torque, volts,
//                     frequencies),
//                     and adds it to the report when the run writes one
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"

namespace z480 {

class ScriptRun;

struct PhaseRecord {
  double seconds = 0;  // the simulator's clock
  std::string title;
  std::string readings;
  std::string snapshot;  // file name in the report's directory, "" for none
};

class FlightReport {
 public:
  explicit FlightReport(std::filesystem::path dir) : dir_(std::move(dir)) {}
  const std::filesystem::path &dir() const { return dir_; }

  void add_phase(PhaseRecord phase) { phases_.push_back(std::move(phase)); }
  // The log of one script's run, kept for events.log.
  void add_log(const std::string &script, const std::vector<LogEntry> &log);
  // The checks' totals, for the summary.
  void set_totals(int passed, int failed, int errors);

  // Writes summary.txt, events.log and index.html (which plays `wav`, a
  // file of the directory, when not empty). False with a reason when a file
  // cannot be written.
  bool write(const std::string &wav, std::string *error) const;

 private:
  std::filesystem::path dir_;
  std::vector<PhaseRecord> phases_;
  std::vector<std::pair<std::string, std::vector<LogEntry>>> logs_;
  int passed_ = 0, failed_ = 0, errors_ = 0;
};

// Lets the run's `phase` commands add to the report.
void attach_flight_report(ScriptRun &run, std::shared_ptr<FlightReport> report);
FlightReport *flight_report(ScriptRun &run);

// What the panel shows, on one line: "118 kt, 1500 ft, RA 120 ft, N2 96/95 %,
// torque 71/70 %, main bus 28.5 V, converter bus 28.0 V, COM1 118.30,
// NAV1 110.30, ADF 379".
std::string panel_readings(const Host &host);
// Host seconds as H:MM:SS.
std::string clock_text(double seconds);

}  // namespace z480
