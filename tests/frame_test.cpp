// The frame's own pieces: the numeric helpers, the declaration helpers and
// the exported descriptors.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <vector>

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

// A host may run with the invalid-operation exception unmasked: values that
// are no numbers must give NaN without raising it.
TEST(Numeric, WrappingHostValuesRaisesNoInvalidOperation) {
  EXPECT_EQ(wrapped(725.0, 360.0), 5.0);
  EXPECT_EQ(wrapped(-5.0, 360.0), -5.0);
  std::feclearexcept(FE_ALL_EXCEPT);
  for (double v : {HUGE_VAL, -HUGE_VAL, std::nan("")}) {
    EXPECT_TRUE(std::isnan(wrapped(v, 360.0))) << v;
    EXPECT_TRUE(std::isnan(std::sin(finite_or_nan(v)))) << v;
  }
  EXPECT_FALSE(std::fetestexcept(FE_INVALID));
}

TEST(Numeric, BusTestsSayWhetherTheThresholdCounts) {
  EXPECT_TRUE(bus_at_least(20.0, 20.0));
  EXPECT_FALSE(bus_above(20.0, 20.0));
  EXPECT_TRUE(bus_above(20.000001, 20.0));
  EXPECT_FALSE(bus_at_least(19.999999, 20.0));
  EXPECT_FALSE(bus_above(std::nan(""), 20.0));
  EXPECT_FALSE(bus_at_least(std::nan(""), 20.0));
  EXPECT_TRUE(bus_above(HUGE_VAL, 20.0));
}

// A chain, then two branches under one element, the second a chain of two.
struct OrderParts {
  StaticImageElement dial = static_image({.bitmap = 1});
  NeedleElement hand = pointer({.bitmap = 2});
  IconElement left_flag = flag({.bitmap = 3});
  IconElement right_flag = flag({.bitmap = 4});
  StaticImageElement glass = static_image({.bitmap = 5});
};
constinit DrawOrder<OrderParts, &OrderParts::dial, &OrderParts::hand,
                    branches<chain<&OrderParts::left_flag>,
                             chain<&OrderParts::right_flag, &OrderParts::glass>>>
    order_tree;

std::vector<int> children(GaugeElement **list) {
  std::vector<int> ids;
  for (; list && *list; ++list) ids.push_back((*list)->resource_id);
  return ids;
}

TEST(Declare, DrawOrderLinksEachElementUnderTheOneBefore) {
  EXPECT_EQ(children(order_tree.elements), std::vector<int>{1});
  EXPECT_EQ(children(order_tree.dial.header.next_element), std::vector<int>{2});
  EXPECT_EQ(children(order_tree.hand.header.next_element), (std::vector<int>{3, 4}));
  EXPECT_EQ(order_tree.left_flag.header.next_element, nullptr);
  EXPECT_EQ(children(order_tree.right_flag.header.next_element), std::vector<int>{5});
  EXPECT_EQ(order_tree.glass.header.next_element, nullptr);
  // The named helpers keep their own flags unless the gauge names others.
  EXPECT_EQ(order_tree.hand.header.image_flags, static_cast<std::int32_t>(kImageLitSmooth));
  EXPECT_EQ(order_tree.left_flag.header.image_flags, static_cast<std::int32_t>(kImageLit));
  EXPECT_EQ(kImageLitSmooth, 0x4083u);
}

TEST(Linkage, DescribesTheModule) {
  EXPECT_EQ(Linkage.module_id, 0x13);
  EXPECT_EQ(Linkage.module_version, 0x900u);
  EXPECT_EQ(ImportTable.panels.fn_id, 0x0F);
  for (GaugeHeader *g : Linkage.gauge_header_ptr) {
    if (!g) break;
    EXPECT_EQ(g->gauge_header_version, 800u);
    EXPECT_EQ(g->size_y_mm, 0u);
  }
}

// The panel configuration names gauges by these names and sizes; the host
// finds them in this order.
struct RegistryRow {
  const char *name;
  std::uint32_t mm;
  bool callback;
};
constexpr RegistryRow kRegistry[] = {
      {"Registration", 150, true}, {"ATC_Toggle", 19, false}, {"Kneeboard_Toggle", 19, false},
      {"Map_Toggle", 19, false}, {"Invisible_Toggle", 19, true}, {"Radios_Toggle", 19, true},
      {"GPS_Toggle", 19, true}, {"Throttle_Toggle", 19, true}, {"Compass_Toggle", 19, true},
      {"Close_Subpanel", 19, true}, {"Landing_View_Toggle", 19, true},
      {"Electricity_Toggle", 19, true}, {"Overhead_Toggle", 19, true},
      {"Nav_Instruments_Toggle", 19, true}, {"Z480_ADF", 100, true},
      {"Z480_NAV_COM_1", 100, true}, {"Z480_NAV_COM_2", 100, true}, {"Z480_XPDR", 100, true},
      {"Autopilot_FD_Selector", 100, false}, {"Manual_Autopilot", 150, false},
      {"Autopilot_Lights", 200, true}, {"Attitude", 100, false}, {"Radio_Altimeter", 90, true},
      {"Radio_Altimeter_Switch", 30, true}, {"Airspeed", 100, false},
      {"Altimeter_Mb", 100, false}, {"EGT_Oil_Indicator", 100, true}, {"Fire_Light", 40, true},
      {"HSI", 120, false}, {"Fuel_Flow_Left", 100, false}, {"Fuel_Flow_Right", 100, false},
      {"Fuel_Qty_Left", 100, false}, {"Fuel_Qty_Right", 100, false},
      {"Low_Fuel_Lamp_Left", 20, false}, {"Low_Fuel_Lamp_Right", 20, false},
      {"Fuel_Consumption_Left", 70, true}, {"Fuel_Consumption_Right", 70, true},
      {"Fuel_Temp", 100, false}, {"RMI", 100, false}, {"Vertical_Speed", 100, false},
      {"Shut_Down_Engines", 30, true}, {"Marker_Lights", 100, false},
      {"ILS_TACAN_Switch", 30, true}, {"NAV_GPS_Switch", 30, false}, {"Turn_Ball", 100, false},
      {"Engine_N2", 100, true}, {"OAT_Indicator", 100, false}, {"Homing_Indicator", 120, false},
      {"Low_Oil_Press_Light", 30, true}, {"Standby_Attitude", 100, false},
      {"Propeller_RPM", 100, true}, {"Torque", 100, false}, {"Breguet_Timer", 100, false},
      {"Flaps_Position", 100, false}, {"Gear_Lever_Left", 45, false},
      {"Gear_Lever_Right", 45, false}, {"Throttle_Levers", 100, false},
      {"Hydr_Press_Indicator", 100, false}, {"Brake_Pressure", 100, false},
      {"Pitch_Trim_Wheel_Left", 40, false}, {"Pitch_Trim_Wheel_Right", 40, false},
      {"Starter_Board", 150, true}, {"Gear_Lamps", 40, false}, {"Elec_Light_Alt_1", 40, false},
      {"Elec_Light_Alt_2", 40, false}, {"Elec_Light_Conv_1", 40, false},
      {"Elec_Light_Conv_2", 40, false}, {"Voltmeter_DC", 100, false},
      {"Voltmeter_AC", 100, false}, {"Voltmeter_Switch", 30, true}, {"Annunciator", 30, false},
      {"Radar", 150, true}, {"Master_Battery_Switch", 30, true},
      {"Landing_Lights_Switch", 60, true}, {"Panel_Lights_Button", 60, true},
      {"Strobe_Lights_Switch", 40, true}, {"Beacon_Lights_Switch", 60, true},
      {"Nav_Lights_Switch", 60, true}, {"Wing_Lights_Switch", 60, true},
      {"Switch_Alternator_Left", 30, true}, {"Switch_Alternator_Right", 30, true},
      {"Left_Converter_Switch", 30, true}, {"Right_Converter_Switch", 30, true},
};

TEST(Linkage, GaugesFollowTheRegistryWithTheHeaderFieldsTheModuleFills) {
  ASSERT_EQ(std::size(Linkage.gauge_header_ptr), std::size(kRegistry) + 1);
  EXPECT_EQ(Linkage.gauge_header_ptr[std::size(kRegistry)], nullptr);
  for (std::size_t row = 0; row < std::size(kRegistry); ++row) {
    const GaugeHeader *g = Linkage.gauge_header_ptr[row];
    const RegistryRow &r = kRegistry[row];
    ASSERT_NE(g, nullptr) << r.name;
    EXPECT_STREQ(g->gauge_name, r.name);
    EXPECT_EQ(g->size_x_mm, r.mm) << r.name;
    EXPECT_EQ(g->gauge_callback != nullptr, r.callback) << r.name;
    EXPECT_EQ(g->user_data, 0u) << r.name;
    EXPECT_EQ(g->parameters, nullptr) << r.name;
    EXPECT_NE(g->mouse_rect, nullptr) << r.name;
    // One top-level element, the background; everything else hangs below it.
    ASSERT_NE(g->elements_list, nullptr) << r.name;
    EXPECT_NE(g->elements_list[0], nullptr) << r.name;
    EXPECT_EQ(g->elements_list[1], nullptr) << r.name;
  }
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
