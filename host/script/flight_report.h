// The report of a flight flown by script: each phase with its simulated time
// and what the panel showed, the panel pictures drawn for it, and, once the
// run is over, a text summary, the key-event log and an index.html that shows
// the pictures in order under their phases and plays the recorded sound.
//
//   phase "TITLE"     prints one line: the simulator's clock, the title and
//                     the readings (speed, altitudes, N2 and torque, volts,
//                     frequencies),
//                     and adds it to the report when the run writes one,
//                     with the pictures `render` drew since the phase before
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/core/host.h"

namespace z480 {

class ScriptRun;

// A picture drawn into the report's directory.
struct Snapshot {
  std::string file;     // relative to the directory
  std::string caption;  // what it shows: the panel window's title
};

struct PhaseRecord {
  double seconds = 0;  // the simulator's clock
  std::string title;
  std::string readings;
  std::vector<Snapshot> snapshots;
};

class FlightReport {
 public:
  explicit FlightReport(std::filesystem::path dir) : dir_(std::move(dir)) {}
  const std::filesystem::path &dir() const { return dir_; }

  // A picture drawn for the phase that comes next.
  void add_snapshot(Snapshot snapshot) { pending_.push_back(std::move(snapshot)); }
  // The phase, with the pictures drawn since the one before.
  void add_phase(PhaseRecord phase);
  // The log of one script's run, kept for events.log; pictures drawn after
  // its last phase are shown under the script's name.
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
  std::vector<Snapshot> pending_;
  std::vector<std::pair<std::string, std::vector<LogEntry>>> logs_;
  int passed_ = 0, failed_ = 0, errors_ = 0;
};

// Lets the run's `phase` and `render` commands add to the report.
void attach_flight_report(ScriptRun &run, std::shared_ptr<FlightReport> report);
FlightReport *flight_report(ScriptRun &run);
// Where a script's file lies: a relative name in the report's directory
// when the run writes a report, else in the run's out_dir (made when
// missing); an absolute name as given.
std::filesystem::path report_file(ScriptRun &run, const std::filesystem::path &file);

// What the panel shows, on one line: "118 kt, 1500 ft, RA 120 ft, N2 96/95 %,
// torque 71/70 %, main bus 28.5 V, converter bus 28.0 V, COM1 118.30,
// NAV1 110.30, ADF 379".
std::string panel_readings(const Host &host);
// Host seconds as H:MM:SS.
std::string clock_text(double seconds);

}  // namespace z480
