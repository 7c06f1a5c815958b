// The frame's own pieces: the numeric helpers, the declaration helpers and
// the exported descriptors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"

extern "C" GaugeLinkage Linkage;

namespace {

TEST(Numeric, ToIntDefinesEveryDouble) {
  EXPECT_EQ(to_int(std::nan("")), 0);
  EXPECT_EQ(to_int(HUGE_VAL), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(to_int(-HUGE_VAL), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(to_int(1e300), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(to_int(-2.9), -2);
  EXPECT_EQ(to_int(2147483646.5), 2147483646);
}

TEST(Numeric, EventValuesAndWords) {
  EXPECT_EQ(to_event_value(-16384), 0xFFFFC000u);
  EXPECT_EQ(to_event_value(std::nan("")), 0u);
  EXPECT_EQ(to_word(-1), 0u);
  EXPECT_EQ(to_word(0x3697), 0x3697u);
  EXPECT_EQ(to_word(1e20), 0xFFFFFFFFu);
}

TEST(Declare, HelpersFillOnlyWhatTheyName) {
  NonlinearityEntry t[] = {table_point(1, 2, 3), table_point(4, 5, 6)};
  NeedleElement n = needle({.bitmap = 7, .pos = {8, 9}, .flags = 0x4083, .pivot = {1, 2},
                            .token = 61, .table = table(t)});
  EXPECT_EQ(n.header.element_type, kNeedle);
  EXPECT_EQ(n.header.ofs.x, 1);
  EXPECT_EQ(n.source_var.id, 61);
  EXPECT_EQ(n.nonlinearity_table_size, 2u);
  EXPECT_EQ(n.nonlinearity_table[1].pt.y, 6);
  EXPECT_EQ(n.update_cb, nullptr);
  StringElement s = string_element({.font = "A font name far longer than thirty-one characters"});
  EXPECT_EQ(s.header.resource_id, -1);
  EXPECT_EQ(std::strlen(s.font_name), 31u);
  MouseRect tip = mouse_tooltip_format("%1!s!", nullptr, 1);
  EXPECT_EQ(tip.rect_type, kMouseTooltip);
  EXPECT_STREQ(reinterpret_cast<const char *>(tip.mouse_function), "%1!s!");
}

TEST(Linkage, DescribesTheModule) {
  EXPECT_EQ(Linkage.module_id, 0x13);
  EXPECT_EQ(Linkage.module_version, 0x900u);
  EXPECT_EQ(ImportTable.panels.fn_id, 0x0F);
  int count = 0;
  for (GaugeHeader *g : Linkage.gauge_header_ptr) {
    if (!g) break;
    EXPECT_EQ(g->gauge_header_version, 800u);
    EXPECT_EQ(g->size_y_mm, 0u);
    ++count;
  }
  EXPECT_GE(count, 5);
}

TEST(Services, CallsBeforeTheHostFillsTheTableDoNothing) {
  PanelServices *saved = ImportTable.panels.fn_ptr;
  ImportTable.panels.fn_ptr = nullptr;
  EXPECT_EQ(read_var(61), 0.0);
  trigger_key_event(1, 2);
  EXPECT_EQ(query_host_interface("ITrafficInfo"), nullptr);
  ImportTable.panels.fn_ptr = saved;
}

}  // namespace
