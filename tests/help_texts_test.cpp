// Every help id the module's mouse rectangles carry has its text, as the
// simulator would show it.
#include <gtest/gtest.h>

#include "host/core/help_texts.h"
#include "host/core/host.h"

namespace z480 {
namespace {

TEST(HelpTexts, EveryHelpIdOfTheModuleReads) {
  std::string why;
  auto module = Module::load(Z480_MODULE_PATH, &why);
  ASSERT_TRUE(module) << why;
  Host host(*module);
  int ids = 0;
  for (GaugeHeader *g : module->linkage().gauge_header_ptr) {
    if (!g) break;
    Instance *inst = host.place(g->gauge_name, g->gauge_name, std::nullopt, &why);
    ASSERT_TRUE(inst) << why;
    for (MouseRect *r = inst->mouse(); r && r->rect_type != kMouseEnd; ++r) {
      if (r->help_id == 0) continue;
      ++ids;
      EXPECT_FALSE(help_text(r->help_id).empty()) << g->gauge_name << " help id " << r->help_id;
    }
  }
  EXPECT_GT(ids, 80);
  EXPECT_EQ(help_text(0), "");
  EXPECT_EQ(help_text(43911), "GPS");
}

}  // namespace
}  // namespace z480
