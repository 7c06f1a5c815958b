// The script language's parser: what it refuses, and that it says where and
// what it expected.
#include <gtest/gtest.h>

#include <string>

#include "host/script.h"

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

TEST(ScriptParse, ElementsAreNamedByWholeNumbers) {
  EXPECT_EQ(error_of("expect A #2 = 1"), "");
  EXPECT_EQ(error_of("expect A @1010:2 needle = 1"), "");
  EXPECT_NE(error_of("expect A #0 = 1"), "");
  EXPECT_NE(error_of("expect A #1.5 = 1"), "");
  EXPECT_NE(error_of("expect A @1010:0 = 1"), "");
  EXPECT_NE(error_of("expect A @1010:1.5 = 1"), "");
  EXPECT_NE(error_of("expect A @10.5 = 1"), "");
  EXPECT_NE(error_of("expect A @x:0 = 1"), "");
  EXPECT_NE(error_of("expect A @99999999999 = 1"), "");
}

TEST(ScriptParse, NumbersOutsideTheirRecordsAreRefused) {
  // A token beyond 32 bits would otherwise alias a small one.
  EXPECT_NE(error_of("set 4294967357 5"), "");
  EXPECT_NE(error_of("expect token 4294967357 = 5"), "");
  EXPECT_NE(error_of("service A 4294967298"), "");
  EXPECT_NE(error_of("window -1 shown"), "");
  EXPECT_NE(error_of("window 4294967296 shown"), "");
  EXPECT_EQ(error_of("window 4294967295 shown"), "");
  EXPECT_NE(error_of("click A 1 1 0x1ffffffff"), "");
  EXPECT_NE(error_of("click A 1 1 -1"), "");
  EXPECT_EQ(error_of("click A 1 1 0xa0200000 times 3"), "");
  EXPECT_NE(error_of("click A 1 1 times -1"), "");
  EXPECT_NE(error_of("frame -5"), "");
  EXPECT_NE(error_of("expect help A 1 1 = 99999999999"), "");
}

TEST(ScriptParse, EventsAndTolerances) {
  EXPECT_EQ(error_of("expect events 66241:0 65884 66506:-1 66506:4294967295"), "");
  EXPECT_NE(error_of("expect events 1.5"), "");
  EXPECT_NE(error_of("expect events 66241:0.5"), "");
  EXPECT_NE(error_of("expect events 66241:4294967296"), "");
  EXPECT_NE(error_of("expect events"), "");
  EXPECT_NE(error_of("expect events none 5"), "");
  EXPECT_EQ(error_of("expect A #1 = nan"), "");
  EXPECT_EQ(error_of("expect A #1 = 5 ~ 0"), "");
  EXPECT_NE(error_of("expect A #1 = 5 ~ -1"), "");
  EXPECT_NE(error_of("expect A #1 = 5 ~ nan"), "");
}

}  // namespace
}  // namespace z480
