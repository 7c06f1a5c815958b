// The script language's parser: what it refuses, and that it says where and
// what it expected.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "frame/host_names.h"
#include "host/script/flight_report.h"
#include "host/script/script.h"

namespace z480 {
namespace {

// The syntax error of a one-line script, or "" when it parses.
std::string error_of(const std::string &line) {
  try {
    parse_script(tokenize_script("t.z480", line + "\n"));
  } catch (const ScriptError &e) {
    return e.what();
  }
  return "";
}

TEST(ScriptParse, ErrorsNameFileLineAndWhatWasExpected) {
  std::string e;
  try {
    parse_script(tokenize_script("x.z480", "frame\n\nclick A 1\n"));
  } catch (const ScriptError &error) {
    e = error.what();
  }
  EXPECT_EQ(e.rfind("x.z480:3: expected a y pixel", 0), 0u) << e;
  EXPECT_EQ(error_of("place A param \"open").rfind("t.z480:1: expected a closing quote", 0), 0u);
}

// Numbers name records of the host: a token beyond 32 bits would otherwise
// alias a small one, a fractional element number pick some element.
TEST(ScriptParse, NumbersMustBeWholeAndFitTheirRecords) {
  const char *const accepted[] = {
      "expect A #2 = 1", "expect A @1010:2 needle = 1", "window 4294967295 shown",
      "click A 1 1 0xa0200000 times 3", "expect events 66241:0 65884 66506:-1 66506:4294967295",
      "expect A #1 = nan", "expect A #1 = 5 ~ 0", "expect A cursor 1 2 = -1",
      "expect A #1 position = -3 4", "expect A @5 pivot = 0x10 0", "expect log none",
      "expect log event 5:1 sound 10 event 66506:-1", "expect help A 1 1 tooltip = 12562",
      "fail 21 on", "fail 1 off", "render x.png", "render \"a b.png\" window OVERHEAD_PANEL",
      "render x.png window 250", "expect picture x.png size = 1 2",
      "expect picture x.png 1 2 = #0a0B0c ~ 3",
  };
  const char *const refused[] = {
      "expect A #0 = 1", "expect A #1.5 = 1", "expect A @1010:0 = 1", "expect A @1010:1.5 = 1",
      "expect A @10.5 = 1", "expect A @x:0 = 1", "expect A @99999999999 = 1",
      "set 4294967357 5", "expect token 4294967357 = 5", "service A 4294967298",
      "window -1 shown", "window 4294967296 shown", "click A 1 1 0x1ffffffff", "click A 1 1 -1",
      "click A 1 1 times -1", "frame -5", "expect help A 1 1 = 99999999999",
      "expect events 1.5", "expect events 66241:0.5", "expect events 66241:4294967296",
      "expect events", "expect events none 5", "expect A #1 = 5 ~ -1", "expect A #1 = 5 ~ nan",
      "expect A cursor 1 = 2", "expect A cursor 1 2 = 1.5", "expect A #1 position = 3",
      "expect A #1 position = 3.5 4", "expect A #1 pivot = 1 2 3", "expect log",
      "expect log sound 0", "expect log sound 65536", "expect log event", "expect log event 1.5",
      "expect log bang 3", "expect log none event 1", "expect help A 1 1 tooltips = 3",
      "fail 0 on", "fail 22 on", "fail 3 maybe", "fail 3", "render", "render x.png window",
      "render x.png window NOWHERE", "render x.png 250", "expect picture x.png size = 1",
      "expect picture x.png 1 2 = red", "expect picture x.png 1 -2 = #000000",
      "expect picture x.png 1 2 = #000000 ~ 256",
  };
  for (const char *line : accepted) EXPECT_EQ(error_of(line), "") << line;
  for (const char *line : refused) EXPECT_NE(error_of(line), "") << line;
}

// Simulated time comes in seconds: nothing negative, nothing endless, and a
// ramp goes to a number.
TEST(ScriptParse, TimeCommandsTakeFiniteSeconds) {
  const char *const accepted[] = {"clock on", "clock off", "wait 0", "wait 75.6",
                                  "ramp 614 0 257", "ramp 65 -910.336 0",
                                  "wait until 604 > 3", "wait until SimulationTime < 3 within 2",
                                  "wait until radio-height < 200", "flight hold pitch 8",
                                  "flight hold pitch -3 bank 25 heading 270", "flight hold off",
                                  "flight hold"};
  const char *const refused[] = {
      "clock", "clock maybe", "clock on off", "wait", "wait -1", "wait nan", "wait inf",
      "wait 600000", "ramp 614 0", "ramp 614 nan 5", "ramp 614 inf 5", "ramp 614 1 -2",
      "ramp 4294967357 1 1", "ramp 614 1 1 1", "wait until", "wait until 604", "wait until 604 = 3",
      "wait until 604 > nan", "wait until radio-height < 10 within 0",
      "wait until radio-height < 10 within 8000", "wait until 604 > 1 within", "wait until NoSuch > 1",
      "flight hold pitch 40", "flight hold bank -50", "flight hold heading nan", "flight hold yaw 3",
      "flight hold off now",
  };
  for (const char *line : accepted) EXPECT_EQ(error_of(line), "") << line;
  for (const char *line : refused) EXPECT_NE(error_of(line), "") << line;
}

struct Outcome {
  ScriptTotals totals;
  std::string out;
};

Outcome run(const std::string &source) {
  std::ostringstream out;
  ScriptTotals t = run_script(Z480_PROBE_MODULE_PATH, "t.z480", source, out);
  return {t, out.str()};
}

// A command that cannot be carried out is reported with its line and
// counted; the checks after it still run.
TEST(ScriptRun, CommandErrorsAreCountedAndTheScriptGoesOn) {
  Outcome o = run(
      "place Nothing\n"
      "expect ghost #1 = 1\n"
      "place Probe as p\n"
      "place Probe as p\n"
      "frame\n"
      "expect token 5 = 0\n"
      "expect token 5 = 1\n");
  EXPECT_EQ(o.totals.errors, 3);
  EXPECT_EQ(o.totals.passed, 1);
  EXPECT_EQ(o.totals.failed, 1);
  EXPECT_FALSE(o.totals.ok());
  for (const char *cited : {"t.z480:1: error: the module has no gauge Nothing",
                            "t.z480:2: error: no instance named ghost",
                            "t.z480:4: error: an instance named p", "t.z480:7: token 5 is 0"})
    EXPECT_NE(o.out.find(cited), std::string::npos) << cited << "\n" << o.out;
}

// Nothing checked is nothing proved: neither passes.
TEST(ScriptRun, EmptyScriptsAndScriptsWithoutACheckAreErrors) {
  for (const char *source : {"", "\n# only a comment\n  \n"}) {
    Outcome o = run(source);
    EXPECT_EQ(o.totals.errors, 1);
    EXPECT_NE(o.out.find("t.z480: error: the script is empty"), std::string::npos) << o.out;
  }
  Outcome o = run("place Probe\nframe 3\n");
  EXPECT_EQ(o.totals.errors, 1);
  EXPECT_NE(o.out.find("t.z480: error: the script checks nothing"), std::string::npos);
  EXPECT_TRUE(run("expect token 1 = 0\n").totals.ok());
}

// What a script holds is echoed escaped, so a stray byte cannot reach the
// terminal; well-formed UTF-8 stays readable.
TEST(ScriptRun, EchoedBytesAreEscaped) {
  EXPECT_EQ(printable("a\x1b[2Jb\x7f\\"), "a\\x1b[2Jb\\x7f\\\\");
  EXPECT_EQ(printable("12\xc2\xb0 \xe2\x82\xac"), "12\xc2\xb0 \xe2\x82\xac");
  EXPECT_EQ(printable("\xff\xc2 \xc0\x80 \xed\xa0\x80 \xe2\x82"),
            "\\xff\\xc2 \\xc0\\x80 \\xed\\xa0\\x80 \\xe2\\x82");
  Outcome o = run("place \x1b]0;x\x07\n");
  EXPECT_EQ(o.out.find('\x1b'), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("\\x1b]0;x\\x07"), std::string::npos) << o.out;
}

// Tokens and events by the names of the host's catalogue, numbers alike.
TEST(ScriptRun, TokensAndEventsByName) {
  Outcome o = run("set IndicatedAirspeed 150\nexpect token " + std::to_string(kVarIndicatedAirspeed) +
                  " = 150\nexpect events none\n");
  EXPECT_TRUE(o.totals.ok()) << o.out;
  o = run("expect events EventBatteryMasterToggle\n");
  EXPECT_EQ(o.totals.failed, 1) << o.out;
  EXPECT_NE(o.out.find(std::to_string(kEventBatteryMasterToggle)), std::string::npos) << o.out;
  o = run("set NoSuchVariable 1\n");
  EXPECT_NE(o.out.find("expected a token number or name, got NoSuchVariable"), std::string::npos) << o.out;
  o = run("expect events NoSuchEvent:1\n");
  EXPECT_NE(o.out.find("(a number or a name), got NoSuchEvent:1"), std::string::npos) << o.out;
}

// A wait for a condition stops at the frame it holds in; one that does not
// come fails once its time is up, and one on the flight fails without one.
TEST(ScriptRun, WaitUntilStopsWhereTheConditionHolds) {
  Outcome o = run("clock on\nset 604 0\nwait until 604 > 2.01\nexpect token 604 = 2.0555556 ~ 1e-6\n"
                  "expect token 1 = 37\n");
  EXPECT_TRUE(o.totals.ok()) << o.out;
  EXPECT_EQ(o.totals.passed, 3);
  o = run("set 604 5\nwait until 604 < 6\nexpect token 1 = 0\n");
  EXPECT_TRUE(o.totals.ok()) << o.out;
  o = run("clock on\nset 604 0\nwait until 604 < 0 within 1.5\nexpect token 604 = 1.5 ~ 1e-6\n");
  EXPECT_EQ(o.totals.failed, 1) << o.out;
  EXPECT_EQ(o.totals.passed, 1) << o.out;
  EXPECT_NE(o.out.find("t.z480:3: still 1.5 after 1.5 s, waiting for < 0"), std::string::npos) << o.out;
  o = run("wait until radio-height < 100\n");
  EXPECT_EQ(o.totals.failed, 1) << o.out;
  EXPECT_NE(o.out.find("no flight model flies"), std::string::npos) << o.out;
}

// A name a megabyte long is echoed by its first 200 characters.
TEST(ScriptRun, OverlongNamesAreCutWhenEchoed) {
  std::string name(1 << 20, 'n');
  EXPECT_EQ(printable("a " + name + " b"),
            "a " + name.substr(0, kMaxEchoedWord) + "...(" +
                std::to_string(name.size() - kMaxEchoedWord) + " more bytes) b");
  Outcome o = run("remove " + name + "\nexpect token 1 = 0\n");
  EXPECT_EQ(o.totals.errors, 1);
  EXPECT_LT(o.out.size(), 400u) << o.out.substr(0, 400);
}

// The clock text of a clock set to anything: NaN, negative, far beyond a
// day, or beyond any number of seconds a clock word holds.
TEST(ScriptRun, ClockTextsOfAnyClock) {
  EXPECT_EQ(clock_text(3725.9), "1:02:05");
  EXPECT_EQ(clock_text(std::nan("")), "0:00:00");
  EXPECT_EQ(clock_text(-5), "0:00:00");
  EXPECT_EQ(clock_text(1e300), "1193046:28:15");
}

// Scripts are read in bounded chunks: an endless device is refused, not
// read until memory runs out.
TEST(ScriptRun, FilesAreReadWithALimit) {
  std::string why;
  EXPECT_FALSE(read_file("/dev/zero", &why));
  EXPECT_EQ(why, "longer than 16 MB");
  EXPECT_FALSE(read_file(Z480_SCRIPT_DIR, &why));
  EXPECT_EQ(why, "a directory, not a file");
  EXPECT_TRUE(read_file(Z480_SCRIPT_DIR "/render.z480", &why));
  // the code says what the text says
  FileProblem problem;
  EXPECT_FALSE(read_file("/dev/zero", &problem, 1 << 20));
  EXPECT_EQ(problem.code, FileFailure::kTooLong);
  EXPECT_EQ(problem.text, "longer than 1 MB");
  EXPECT_FALSE(read_file(Z480_SCRIPT_DIR, &problem));
  EXPECT_EQ(problem.code, FileFailure::kDirectory);
  EXPECT_FALSE(read_file(Z480_SCRIPT_DIR "/absent.z480", &problem));
  EXPECT_EQ(problem.code, FileFailure::kCannotOpen);
  EXPECT_EQ(problem.text, "cannot be opened");
}

}  // namespace
}  // namespace z480
