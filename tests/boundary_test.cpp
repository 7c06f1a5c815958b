// The module's boundary: work that throws gives the callback's fallback,
// and only the first failure of a load is written out.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "frame/boundary.h"

namespace {

TEST(FailSoft, AThrowGivesTheFallbackAndIsWrittenOnce) {
  unsigned before = failures_caught();
  EXPECT_EQ(fail_soft("sum", 0, [] { return 2 + 3; }), 5);
  EXPECT_EQ(failures_caught(), before);

  testing::internal::CaptureStderr();
  EXPECT_EQ(fail_soft("alloc", -1, []() -> int { throw std::bad_alloc(); }), -1);
  EXPECT_FALSE(fail_soft("other", [] { throw std::runtime_error("x"); }));
  EXPECT_FALSE(fail_soft("thrown int", [] { throw 7; }));
  std::string written = testing::internal::GetCapturedStderr();
  EXPECT_EQ(failures_caught(), before + 3);
  // The first of this load names its place; the others are counted only.
  if (before == 0) {
    EXPECT_NE(written.find("alloc"), std::string::npos) << written;
  }
  EXPECT_EQ(written.find("other"), std::string::npos) << written;
  EXPECT_TRUE(fail_soft("done", [] {}));
}

}  // namespace
