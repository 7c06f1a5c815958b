#include "host/script/flight_report.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "host/script/script.h"

namespace z480 {
namespace {

constexpr const char *kReportExtension = "flight-report";
constexpr double kFeetPerMetre = 3.28084;

// Four packed-decimal digits of a host frequency word.
int bcd_digits(double word) {
  std::uint32_t w = to_word(word);
  int n = 0;
  for (int shift = 12; shift >= 0; shift -= 4) n = n * 10 + static_cast<int>((w >> shift) & 0xF) % 10;
  return n;
}

std::string fixed(double v, int decimals) {
  if (!std::isfinite(v)) return "--";
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::string whole(double v) { return fixed(std::round(v), 0); }

std::string html(const std::string &text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A file of the directory as a link: every byte but the unreserved ones and
// the separator percent-encoded, so that '#', '?', '%' and spaces in a name
// stay part of it.
std::string url_path(const std::string &file) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : file) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

std::string describe(const LogEntry &e) {
  if (e.kind == LogEntry::kSound)
    return "sound " + std::to_string(e.id) + (e.gauge.empty() ? "" : " (" + e.gauge + ")");
  return "event " + std::to_string(e.id) + ":" + std::to_string(static_cast<std::int32_t>(e.value));
}

// One line per entry; a run of the same entry (a lamp's event at every
// frame) becomes one line with its count and time span.
void write_log(std::ostream &out, const std::vector<LogEntry> &log) {
  for (std::size_t i = 0; i < log.size();) {
    std::size_t j = i + 1;
    std::string text = describe(log[i]);
    while (j < log.size() && describe(log[j]) == text) ++j;
    out << clock_text(log[i].seconds);
    if (j - i > 1) out << "-" << clock_text(log[j - 1].seconds);
    out << "  " << text;
    if (j - i > 1) out << "  x" << (j - i);
    out << "\n";
    i = j;
  }
}

bool check(std::ofstream &file, const std::filesystem::path &path, std::string *error) {
  file.close();
  if (file) return true;
  *error = "cannot write " + path.string();
  return false;
}

Step cmd_phase(const ScriptLine &, Args &a) {
  std::string title = a.text("a quoted phase title");
  a.done();
  return [=](ScriptRun &run) {
    PhaseRecord p{run.host.var(kVarSimulationTime), title, panel_readings(run.host), {}};
    run.out() << "[" << clock_text(p.seconds) << "] " << p.title << ": " << p.readings << "\n";
    if (FlightReport *report = flight_report(run)) report->add_phase(std::move(p));
  };
}

}  // namespace

void add_report_commands(ScriptTables &tables) {
  tables.commands["phase"] = cmd_phase;
}

std::string clock_text(double seconds) {
  // Whole seconds as the host's clock word: NaN and negative times read 0,
  // a huge clock stops at the word's end.
  std::uint32_t total = to_word(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u:%02u", total / 3600, total / 60 % 60, total % 60);
  return text;
}

std::string panel_readings(const Host &host) {
  auto var = [&host](std::int32_t token) { return host.var(token); };
  std::string s = whole(var(kVarIndicatedAirspeed)) + " kt, " + whole(var(kVarIndicatedAltitude)) +
                  " ft, RA " + whole(var(kVarRadioHeight) * kFeetPerMetre) + " ft";
  s += ", N2 " + whole(var(kVarEngine1N2)) + "/" + whole(var(kVarEngine2N2)) + " %";
  s += ", torque " + whole(var(kVarEngine1Torque) * 100) + "/" + whole(var(kVarEngine2Torque) * 100) +
       " %";
  s += ", main bus " + fixed(var(kVarMainBusVoltage), 1) + " V, converter bus " +
       fixed(var(kVarBusVoltage), 1) + " V";
  s += ", COM1 " + fixed(100 + bcd_digits(var(kVarCom1Frequency)) / 100.0, 2);
  s += ", NAV1 " + fixed(100 + bcd_digits(var(kVarNav1Frequency)) / 100.0, 2);
  s += ", ADF " + std::to_string(bcd_digits(var(kVarAdfFrequency)));
  return s;
}

void attach_flight_report(ScriptRun &run, std::shared_ptr<FlightReport> report) {
  run.extensions[kReportExtension] = std::move(report);
}

FlightReport *flight_report(ScriptRun &run) {
  auto it = run.extensions.find(kReportExtension);
  return it == run.extensions.end() ? nullptr : static_cast<FlightReport *>(it->second.get());
}

std::filesystem::path report_file(ScriptRun &run, const std::filesystem::path &file) {
  if (file.is_absolute()) return file;
  FlightReport *report = flight_report(run);
  std::filesystem::path placed = (report ? report->dir() : run.out_dir) / file;
  std::error_code ec;
  std::filesystem::create_directories(placed.parent_path(), ec);
  return placed;
}

void FlightReport::add_phase(PhaseRecord phase) {
  phase.snapshots = std::move(pending_);
  pending_.clear();
  phases_.push_back(std::move(phase));
}

void FlightReport::add_log(const std::string &script, const std::vector<LogEntry> &log) {
  logs_.emplace_back(script, log);
  if (!pending_.empty()) add_phase({log.empty() ? 0 : log.back().seconds, script, "", {}});
}

void FlightReport::set_totals(int passed, int failed, int errors) {
  passed_ = passed;
  failed_ = failed;
  errors_ = errors;
}

bool FlightReport::write(const std::string &wav, std::string *error) const {
  std::size_t events = 0, sounds = 0;
  double end = 0;
  for (const auto &[script, log] : logs_)
    for (const LogEntry &e : log) {
      ++(e.kind == LogEntry::kEvent ? events : sounds);
      end = std::fmax(end, e.seconds);
    }
  std::string totals = std::to_string(passed_) + " checks passed, " + std::to_string(failed_) +
                       " failed, " + std::to_string(errors_) + " errors; " +
                       std::to_string(events) + " key events and " + std::to_string(sounds) +
                       " sounds over " + clock_text(end) + " of frames";

  auto summary_path = dir_ / "summary.txt";
  std::ofstream summary(summary_path, std::ios::binary);
  summary << "Z480 panel: the flight, phase by phase\n\n";
  for (const PhaseRecord &p : phases_) {
    summary << clock_text(p.seconds) << "  " << p.title << (p.readings.empty() ? "" : ": ")
            << p.readings << "\n";
    for (const Snapshot &s : p.snapshots)
      summary << "         picture " << s.file << " (" << s.caption << ")\n";
  }
  summary << "\n" << totals << "\n";
  if (!check(summary, summary_path, error)) return false;

  auto log_path = dir_ / "events.log";
  std::ofstream events_log(log_path, std::ios::binary);
  for (const auto &[script, log] : logs_) {
    events_log << "# " << script << "\n";
    write_log(events_log, log);
  }
  if (!check(events_log, log_path, error)) return false;

  auto index_path = dir_ / "index.html";
  std::ofstream index(index_path, std::ios::binary);
  index << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>Z480 panel: the flight</title>\n<style>\n"
           "body{background:#1b1e22;color:#dde;font-family:sans-serif;margin:2em;}\n"
           "section{margin:0 0 2.5em 0;} h2{font-size:110%;margin:0 0 .2em 0;}\n"
           "figure{display:inline-block;vertical-align:top;margin:.6em 1em 0 0;}\n"
           "img{max-width:100%;border:1px solid #444;} figcaption{color:#aab;font-size:90%;}\n"
           ".time{color:#9ab;font-family:monospace;} .readings{color:#aab;font-size:90%;}\n"
           "</style>\n</head>\n<body>\n"
           "<h1>Z480 panel: the flight</h1>\n<p>"
        << html(totals) << ". <a href=\"summary.txt\">Summary</a>, "
        << "<a href=\"events.log\">key-event log</a>.</p>\n";
  if (!wav.empty())
    index << "<p>Every click and callout, mixed:<br><audio controls src=\"" << url_path(wav)
          << "\"></audio></p>\n";
  for (const PhaseRecord &p : phases_) {
    index << "<section>\n<h2><span class=\"time\">" << clock_text(p.seconds) << "</span> "
          << html(p.title) << "</h2>\n";
    if (!p.readings.empty()) index << "<div class=\"readings\">" << html(p.readings) << "</div>\n";
    for (const Snapshot &s : p.snapshots)
      index << "<figure><img src=\"" << url_path(s.file) << "\" alt=\""
            << html(p.title + ": " + s.caption) << "\"><figcaption>" << html(s.caption)
            << "</figcaption></figure>\n";
    index << "</section>\n";
  }
  index << "</body>\n</html>\n";
  return check(index, index_path, error);
}

}  // namespace z480
