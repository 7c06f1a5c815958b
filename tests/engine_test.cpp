// Engine retargeting (digit search, stride tables, the rewrite of every
// element kind and of child rectangles) and the shutdown's reset of the
// shared electrical switches, which no gauge of this family shows.
#include <gtest/gtest.h>

#include <map>

#include "frame/declare.h"
#include "frame/services.h"
#include "gauges/electrical/electrical_state.h"
#include "gauges/engine/engine_gauge_callback.h"

extern GaugeHeader Shut_Down_Engines_Header;

namespace {

TEST(EngineDigit, FirstOfOneToFourBeforeAnyCommentCharacter) {
  EXPECT_TRUE(param_has_digit("2", '2'));
  EXPECT_FALSE(param_has_digit("#2", '2'));
  EXPECT_FALSE(param_has_digit("x/2", '2'));
  EXPECT_FALSE(param_has_digit("'2", '2'));
  EXPECT_FALSE(param_has_digit(nullptr, '2'));
  EXPECT_EQ(engine_from_parameters("2"), 2);
  EXPECT_EQ(engine_from_parameters("3"), 3);
  EXPECT_EQ(engine_from_parameters("4"), 4);
  EXPECT_EQ(engine_from_parameters("21"), 1);  // "1" is tested first
  EXPECT_EQ(engine_from_parameters("32"), 2);
  EXPECT_EQ(engine_from_parameters("2#1"), 2);
  EXPECT_EQ(engine_from_parameters("/2"), 1);
  EXPECT_EQ(engine_from_parameters("5"), 1);
  EXPECT_EQ(engine_from_parameters(""), 1);
  EXPECT_EQ(engine_from_parameters(nullptr), 1);
}

TEST(EngineStride, RowEndsAreInclusiveAndOtherIdsStayPut) {
  EXPECT_EQ(engine_token_stride(126), 0);
  EXPECT_EQ(engine_token_stride(127), 35);
  EXPECT_EQ(engine_token_stride(161), 35);
  EXPECT_EQ(engine_token_stride(162), 0);
  EXPECT_EQ(engine_token_stride(623), 0);
  EXPECT_EQ(engine_token_stride(624), 19);
  EXPECT_EQ(engine_token_stride(625), 19);
  EXPECT_EQ(engine_token_stride(642), 19);
  EXPECT_EQ(engine_token_stride(643), 0);
  EXPECT_EQ(engine_token_stride(644), 0);  // already engine 2: a second install moves nothing
  EXPECT_EQ(engine_token_stride(701), 8);
  EXPECT_EQ(engine_token_stride(887), 0);
  EXPECT_EQ(engine_event_stride(65927), 6);
  EXPECT_EQ(engine_event_stride(65932), 6);
  EXPECT_EQ(engine_event_stride(65933), 0);
  EXPECT_EQ(engine_event_stride(66300), 1);
  EXPECT_EQ(engine_event_stride(66301), 0);
  EXPECT_EQ(engine_event_stride(-1), 0);
}

// A gauge with every element kind in a two-level tree and a mouse list with
// every record type.
struct TestGauge {
  NeedleElement needle_el = needle({.token = 625});
  StringElement string_el = string_element({.tokens = {561, 887, 562}});
  SliderElement slider_el = slider({.x = {.token = 558}, .y = {.token = 559}});
  IconElement icon_el = icon({.token = 701});
  MovingImageElement moving_el = moving_image({.x = {.token = 732}, .y = {.token = 733}});
  SpriteElement sprite_el =
      sprite({.x = {.token = 127}, .y = {.token = 390}, .rotation = {.token = 801}});
  StaticImageElement root = static_image({});
  GaugeElement *sprite_children[2] = {el(sprite_el), nullptr};
  GaugeElement *root_children[7] = {el(needle_el), el(string_el), el(slider_el),
                                    el(icon_el),   el(moving_el), nullptr};
  GaugeElement *elements[2] = {el(root), nullptr};
  MouseRect mouse[8] = {
      mouse_parent({0, 0, 0, 0}, 66300),
      mouse_event({0, 0, 1, 1}, 5, 0, 66300),
      mouse_tooltip(65820),
      mouse_end_parent(),
      mouse_event({0, 0, 1, 1}, 5, 0, 65927),
      mouse_event({0, 0, 1, 1}, 5, 0, 66079),
      mouse_end_parent(),
      mouse_end(),
  };
  GaugeHeader header{};
  TestGauge() {
    root.header.next_element = root_children;
    moving_el.header.next_element = sprite_children;
    header.elements_list = elements;
    header.mouse_rect = mouse;
  }
};

TEST(EngineRetarget, EngineThreeMovesEveryVariableOfEveryKind) {
  TestGauge g;
  retarget_gauge(&g.header, 3);
  EXPECT_EQ(g.needle_el.source_var.id, 625 + 2 * 19);
  EXPECT_EQ(g.string_el.source_var[0].id, 561 + 20);
  EXPECT_EQ(g.string_el.source_var[1].id, 887);
  EXPECT_EQ(g.string_el.source_var[2].id, 562 + 20);
  EXPECT_EQ(g.slider_el.source_var_x.id, 578);
  EXPECT_EQ(g.slider_el.source_var_y.id, 579);
  EXPECT_EQ(g.icon_el.source_var.id, 717);
  EXPECT_EQ(g.moving_el.source_var_x.id, 736);
  EXPECT_EQ(g.moving_el.source_var_y.id, 737);
  // The grandchild, below the moving image
  EXPECT_EQ(g.sprite_el.source_var_x.id, 127 + 70);
  EXPECT_EQ(g.sprite_el.source_var_y.id, 390 + 78);
  EXPECT_EQ(g.sprite_el.source_var_0.id, 803);
}

TEST(EngineRetarget, OnlyChildRectanglesChangeTheirEvents) {
  TestGauge g;
  retarget_gauge(&g.header, 2);
  EXPECT_EQ(g.mouse[0].help_id, 66300);  // a parent's help id is no event
  EXPECT_EQ(g.mouse[1].event_id, 66301);
  EXPECT_EQ(g.mouse[2].help_id, 65820);
  EXPECT_EQ(g.mouse[4].event_id, 65933);
  EXPECT_EQ(g.mouse[5].event_id, 66079);  // in no row
}

TEST(EngineRetarget, EngineOneAndOtherServicesChangeNothing) {
  TestGauge g;
  retarget_gauge(&g.header, 1);
  EXPECT_EQ(g.needle_el.source_var.id, 625);
  EXPECT_EQ(g.mouse[1].event_id, 66300);
  g.header.parameters = "2";
  engine_gauge_callback(&g.header, kServicePreUpdate, 0);
  EXPECT_EQ(g.needle_el.source_var.id, 625);
  engine_gauge_callback(&g.header, kServiceInstall, 0);
  EXPECT_EQ(g.needle_el.source_var.id, 644);
}

// A host answering from a token table and counting key events.
std::map<std::int32_t, double> g_tokens;
int g_events = 0;
void FSAPI lookup(ModuleVar *var) { var->var_value.n = g_tokens[var->id]; }
std::uint32_t FSAPI count_event(std::int32_t, std::uint32_t) {
  ++g_events;
  return 0;
}

class Shutdown : public ::testing::Test {
 protected:
  void SetUp() override {
    g_tokens.clear();
    g_events = 0;
    services.lookup_var = lookup;
    services.trigger_key_event = count_event;
    saved = ImportTable.panels.fn_ptr;
    ImportTable.panels.fn_ptr = &services;
    Alternator_Left_On = Alternator_Right_On = Converter_Left_On = Converter_Right_On = 1;
  }
  void TearDown() override {
    ImportTable.panels.fn_ptr = saved;
    Alternator_Left_On = Alternator_Right_On = Converter_Left_On = Converter_Right_On = 0;
  }
  void connect() { Shut_Down_Engines_Header.gauge_callback(&Shut_Down_Engines_Header, 14, 0); }
  PanelServices services{};
  PanelServices *saved = nullptr;
};

TEST_F(Shutdown, ResetsTheAlternatorAndConverterSwitches) {
  g_tokens[60] = 1;
  connect();
  EXPECT_EQ(Alternator_Left_On + Alternator_Right_On + Converter_Left_On + Converter_Right_On, 0);
  EXPECT_EQ(g_events, 2);  // only the two power levers: nothing else reads as on
}

TEST_F(Shutdown, LeavesThemAloneWhenNotEnabled) {
  g_tokens[60] = 0;
  g_tokens[364] = 1;
  connect();
  g_tokens[60] = -1;
  connect();
  EXPECT_EQ(Alternator_Left_On + Alternator_Right_On + Converter_Left_On + Converter_Right_On, 4);
  EXPECT_EQ(g_events, 0);
}

}  // namespace
