// The module's header routines, as a host that calls them finds them.
#include <gtest/gtest.h>

#include "host/core/module.h"
#include "tests/header_routines.h"

namespace {

TEST(HeaderRoutines, EveryHeaderCarriesThemAndEachReachesItsOwnRoot) {
  std::string error;
  auto module = z480::Module::load(Z480_MODULE_PATH, &error);
  ASSERT_NE(module, nullptr) << error;
  for (const std::string &fault : header_routines::check(module->linkage(), module->imports()))
    ADD_FAILURE() << fault;
}

}  // namespace
