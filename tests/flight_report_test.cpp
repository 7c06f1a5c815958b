// The report of a flight: the pictures a script draws land in the report's
// directory and show in index.html under the phase they were drawn for, in
// order, with their window's title.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/script/flight_report.h"
#include "host/script/script.h"

namespace z480 {
namespace {

namespace fs = std::filesystem;

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) /
          ("report_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    report = std::make_shared<FlightReport>(dir);
  }

  ScriptTotals run(const std::string &source) {
    out.str("");
    ScriptTotals t = run_script(
        Z480_MODULE_PATH, "t.z480", source, out,
        [this](ScriptRun &r) { report->add_log("t.z480", r.host.log()); },
        [this](ScriptRun &r) { attach_flight_report(r, report); });
    std::string error;
    EXPECT_TRUE(report->write("", &error)) << error;
    return t;
  }

  fs::path dir;
  std::shared_ptr<FlightReport> report;
  std::ostringstream out;
};

TEST_F(Report, PicturesGoToTheDirectoryAndShowUnderTheirPhaseInOrder) {
  ScriptTotals t = run(
      "panel default\nclick Overhead_Toggle 8 8\nframe\n"
      "render \"over #1.png\" window OVERHEAD_PANEL\nrender main.png window 0\nphase \"One\"\n"
      "phase \"Two\"\nrender after.png window MAIN_PANEL\nexpect window 0 shown\n");
  EXPECT_TRUE(t.ok()) << out.str();
  for (const char *file : {"over #1.png", "main.png", "after.png"})
    EXPECT_GT(fs::file_size(dir / file), 1000u) << file;

  std::string index = read_file(dir / "index.html").value_or("");
  auto at = [&index](const std::string &text) { return index.find(text); };
  // a name that is no plain URL is encoded in the link
  std::size_t one = at("One</h2>"), over = at("<img src=\"over%20%231.png\""),
              main = at("<img src=\"main.png\""), two = at("Two</h2>"),
              script = at("t.z480</h2>"), after = at("<img src=\"after.png\"");
  ASSERT_NE(one, std::string::npos) << index;
  ASSERT_NE(after, std::string::npos) << index;
  EXPECT_LT(one, over);
  EXPECT_LT(over, main);
  EXPECT_LT(main, two);
  EXPECT_LT(two, script);
  EXPECT_LT(script, after);
  EXPECT_NE(at("<figcaption>Overhead Panel</figcaption>"), std::string::npos);
  EXPECT_NE(read_file(dir / "summary.txt").value_or("").find("picture over #1.png (Overhead Panel)"), std::string::npos);
}

TEST_F(Report, AClosedWindowIsNotDrawnAndNoPictureIsShown) {
  ScriptTotals t = run(
      "panel default\nframe\nrender over.png window OVERHEAD_PANEL\nphase \"One\"\n"
      "expect window 250 hidden\n");
  EXPECT_EQ(t.errors, 1);
  EXPECT_NE(out.str().find("t.z480:3: error: window 250 is closed"), std::string::npos) << out.str();
  EXPECT_FALSE(fs::exists(dir / "over.png"));
  EXPECT_EQ(read_file(dir / "index.html").value_or("").find("<img"), std::string::npos);
}

// A picture proves nothing about the panel: a script that only draws still
// checks nothing.
TEST_F(Report, AScriptThatOnlyDrawsChecksNothing) {
  ScriptTotals t = run("panel default\nframe\nrender main.png window MAIN_PANEL\n");
  EXPECT_EQ(t.errors, 1);
  EXPECT_NE(out.str().find("t.z480: error: the script checks nothing"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir / "main.png"));
}

}  // namespace
}  // namespace z480
