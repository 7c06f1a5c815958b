// Parameter strings: key search with the comment rule, numbers, window and
// help names, and the toggle actions (through a recording services table).
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "frame/params.h"
#include "frame/services.h"

namespace {

std::vector<std::pair<std::int32_t, std::uint32_t>> g_events;
std::uint32_t FSAPI record_event(std::int32_t id, std::uint32_t value) {
  g_events.push_back({id, value});
  return 0;
}

class ParamActions : public ::testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    services.trigger_key_event = record_event;
    saved = ImportTable.panels.fn_ptr;
    ImportTable.panels.fn_ptr = &services;
  }
  void TearDown() override { ImportTable.panels.fn_ptr = saved; }
  std::vector<std::pair<std::int32_t, std::uint32_t>> actions(const char *text) {
    GaugeHeader g{};
    g.parameters = text;
    g_events.clear();
    param_apply_panel_actions(&g);
    return g_events;
  }
  PanelServices services{};
  PanelServices *saved = nullptr;
};

using Events = std::vector<std::pair<std::int32_t, std::uint32_t>>;

TEST(ParamFindKey, KeysCountOnlyBeforeTheFirstCommentCharacter) {
  const char *text = "t50 // o75";
  EXPECT_EQ(param_find_key(text, "t"), text);
  EXPECT_EQ(param_find_key(text, "o"), nullptr);
  EXPECT_EQ(param_find_key("x1 #o2", "o"), nullptr);
  EXPECT_EQ(param_find_key("x1 'o2", "o"), nullptr);
  EXPECT_EQ(param_find_key(nullptr, "o"), nullptr);
  EXPECT_EQ(param_find_key("", "o"), nullptr);
  EXPECT_EQ(param_find_key("abc", "abcd"), nullptr);  // never reads past the end
}

TEST(ParamReadInt, ReadsLeadingBlanksSignsAndClampsOverflow) {
  EXPECT_EQ(param_read_int("  42x"), 42);
  EXPECT_EQ(param_read_int("-2"), -2);
  EXPECT_EQ(param_read_int("x"), 0);
  EXPECT_EQ(param_read_int("01"), 1);
  EXPECT_EQ(param_read_int("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(param_read_int("-99999999999999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(PanelIdent, NamesMatchAsPrefixesNumbersOtherwise) {
  EXPECT_EQ(panel_ident_from_text("RADIO_STACK_PANELX"), 50);
  EXPECT_EQ(panel_ident_from_text("ANNUNCIATOR2_PANEL"), 150);
  EXPECT_EQ(panel_ident_from_text("75 rest"), 75);
  EXPECT_EQ(panel_ident_from_text("junk"), 0);
  EXPECT_EQ(panel_ident_from_text(""), -1);
}

TEST(HelpId, NamesNumbersAndTheFloor) {
  EXPECT_EQ(help_id_from_text("TOGGLE_GPS_WINDOW"), 43911);
  EXPECT_EQ(help_id_from_text("43910"), 43910);
  EXPECT_EQ(help_id_from_text("12345"), 0);
  EXPECT_EQ(help_id_from_text(""), 0);
}

TEST_F(ParamActions, WindowKeysApplyEveryOccurrenceInPassOrder) {
  EXPECT_EQ(actions("t50 // o75"), (Events{{66506, 50}}));
  EXPECT_EQ(actions("o75 o250"), (Events{{66507, 75}, {66507, 250}}));
  EXPECT_EQ(actions("t10 c50 o75"), (Events{{66507, 75}, {66508, 50}, {66506, 10}}));
  EXPECT_EQ(actions("o-5"), Events{});  // negative idents are not sent
}

TEST_F(ParamActions, PanelStepsTakeTheFirstPOnly) {
  EXPECT_EQ(actions("p3 p1"), (Events{{65734, 0}, {65734, 0}, {65734, 0}}));
  EXPECT_EQ(actions("p-2"), (Events{{65735, 0}, {65735, 0}}));
  EXPECT_EQ(actions("p0"), (Events{{65875, 0}}));
  EXPECT_EQ(actions("p99999999999").size(), static_cast<std::size_t>(kMaxPanelSteps));
}

TEST_F(ParamActions, EmptyStringsReturnZero) {
  GaugeHeader g{};
  EXPECT_EQ(param_apply_panel_actions(&g), 0);
  g.parameters = "";
  EXPECT_EQ(param_apply_panel_actions(&g), 0);
  EXPECT_EQ(param_apply_panel_actions(nullptr), 0);
  g.parameters = "zzz";
  EXPECT_EQ(param_apply_panel_actions(&g), 1);
}

TEST(InstallKeys, BitmapAndHelpRules) {
  StaticImageElement background{};
  background.header.resource_id = 100;
  GaugeElement *elements[] = {&background.header, nullptr};
  MouseRect mouse[] = {{kMouseParent, {}, -1, 43000, 0, 0, nullptr, nullptr}, {}};
  GaugeHeader g{};
  g.elements_list = elements;
  g.mouse_rect = mouse;
  auto apply = [&](const char *text) {
    g.parameters = text;
    param_apply_install_keys(&g);
  };
  apply("b135 hTOGGLE_GPS_WINDOW");
  EXPECT_EQ(background.header.resource_id, 100);
  EXPECT_EQ(mouse[0].help_id, 43000);
  apply("b130 hTOGGLE_GPS_WINDOW");
  EXPECT_EQ(background.header.resource_id, 130);
  EXPECT_EQ(mouse[0].help_id, 43911);
  apply("h12345");
  EXPECT_EQ(mouse[0].help_id, 0);
  apply("b210");
  EXPECT_EQ(background.header.resource_id, 130);
  apply("b-100 h43911");  // negative multiples of 10 are no bitmap either
  EXPECT_EQ(background.header.resource_id, 130);
  EXPECT_EQ(mouse[0].help_id, 0);
  apply("h43912");  // no b at all: h alone applies
  EXPECT_EQ(mouse[0].help_id, 43912);
}

TEST(InstallKeys, MissingRecordsAreLeftAlone) {
  GaugeHeader g{};
  g.parameters = "b130 hTOGGLE_GPS_WINDOW";
  param_apply_install_keys(&g);  // no background, no mouse list
  GaugeElement *none[] = {nullptr};
  MouseRect end_only[] = {{}};
  g.elements_list = none;
  g.mouse_rect = end_only;
  g.parameters = "h43911";
  param_apply_install_keys(&g);
  EXPECT_EQ(end_only[0].help_id, 0);  // the end record is not a parent group
  param_apply_install_keys(nullptr);
}

TEST_F(ParamActions, AutoCloseSendsOnlyRealIdents) {
  auto close = [](const char *text) {
    GaugeHeader g{};
    g.parameters = text;
    g_events.clear();
    param_apply_auto_close(&g);
    return g_events;
  };
  EXPECT_EQ(close("t50 a50"), (Events{{66508, 50}}));
  EXPECT_EQ(close("aGPS_PANEL aCOMPASS_PANEL"), (Events{{66508, 225}}));  // the first a only
  EXPECT_EQ(close("a"), Events{});
  EXPECT_EQ(close("a-1"), Events{});
  EXPECT_EQ(close("# a50"), Events{});
  EXPECT_EQ(close(""), Events{});
}

TEST_F(ParamActions, KeysInsideValuesCountAndEmptyValuesAreSkipped) {
  // "tox" holds a t key (value "ox") and an o key (value "x"): neither is a
  // name or a number, so both mean the main panel
  EXPECT_EQ(actions("c50tox"), (Events{{66507, 0}, {66508, 50}, {66506, 0}}));
  EXPECT_EQ(actions("t50 o"), (Events{{66506, 50}}));
  EXPECT_EQ(actions("p-99999999999").size(), static_cast<std::size_t>(kMaxPanelSteps));
}

}  // namespace
