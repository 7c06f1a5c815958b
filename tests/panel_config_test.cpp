// The panel configuration reader: windows and gauge lines as aircraft panels
// write them, and every kind of line it must report and skip.
#include <gtest/gtest.h>

#include <string>

#include "host/panel/panel_config.h"

namespace z480 {
namespace {

const char *const kPanel = R"cfg(// a whole small panel
[Window Titles]
Window00=Main Panel
Window01=Radio Stack

[Fltsim]
anything=goes here

[Window00]
ident=MAIN_PANEL
size_mm=1600,900
position=7
visible=1
window_pos=0.0,0.4
window_size=1.0,0.6
background_color=38,43,48
zorder=3                                    // unknown: ignored
gauge00=Z480_Instr!Airspeed, 20, 30
gauge01=Z480_Instr!Engine_N2, 940, 20, 130, , 1
gauge02=Z480_Instr!Radios_Toggle, 60, 860, 30, 30, t50 // o75, 'x'
gauge03=Z480_Instr!Registration, 10, 10, tD-IZAR r240 fDejaVu Sans
gauge04 = z480_instr!HSI , -5 , +7 , 180 , 190   // a note
gauge05=Z480_Instr!Torque, 1, 2, 3, 4,

[Window01]
ident=IDENT_RADIO_STACK_PANEL
visible=0
file=radio.bmp
size_mm=420,560
gauge00=Z480_Instr!Z480_ADF, 20, 380
)cfg";

TEST(PanelConfig, ReadsWindowsAndGaugesAsAircraftPanelsWriteThem) {
  PanelConfig c = parse_panel_config(kPanel);
  EXPECT_TRUE(c.diagnostics.empty()) << c.diagnostics[0].line << ": " << c.diagnostics[0].message;
  ASSERT_EQ(c.windows.size(), 2u);

  const PanelWindowConfig &main = c.windows[0];
  EXPECT_EQ(main.title, "Main Panel");
  EXPECT_EQ(main.ident, 0u);
  EXPECT_TRUE(main.visible);
  EXPECT_EQ(main.width, 1600);
  EXPECT_EQ(main.height, 900);
  EXPECT_EQ(main.position, 7);
  EXPECT_EQ(main.background_color, 0x262B30u);
  EXPECT_DOUBLE_EQ(*main.pos_y, 0.4);
  EXPECT_DOUBLE_EQ(*main.size_x, 1.0);
  ASSERT_EQ(main.gauges.size(), 6u);

  struct Want {
    const char *gauge;
    int x, y;
    std::optional<int> w, h;
    std::optional<std::string> parameters;
  };
  const Want want[] = {
      {"Airspeed", 20, 30, {}, {}, {}},
      // an empty width field keeps the gauge's own size, the rest is the parameter
      {"Engine_N2", 940, 20, 130, {}, "1"},
      // the parameter is kept as written: the gauge applies its own comment rule
      {"Radios_Toggle", 60, 860, 30, 30, "t50 // o75, 'x'"},
      // a parameter may follow the position directly
      {"Registration", 10, 10, {}, {}, "tD-IZAR r240 fDejaVu Sans"},
      // blanks, signs, case of the module name; a comment ends a line of numbers
      {"HSI", -5, 7, 180, 190, {}},
      {"Torque", 1, 2, 3, 4, {}},
  };
  for (std::size_t i = 0; i < std::size(want); ++i) {
    SCOPED_TRACE(want[i].gauge);
    const GaugePlacementConfig &g = main.gauges[i];
    EXPECT_EQ(g.gauge, want[i].gauge);
    EXPECT_EQ(g.x, want[i].x);
    EXPECT_EQ(g.y, want[i].y);
    EXPECT_EQ(g.width, want[i].w);
    EXPECT_EQ(g.height, want[i].h);
    EXPECT_EQ(g.parameters, want[i].parameters);
  }
  EXPECT_EQ(main.gauges[4].module, "z480_instr");
  EXPECT_EQ(main.gauges[4].line, 22);

  const PanelWindowConfig &radio = c.windows[1];
  EXPECT_EQ(radio.title, "Radio Stack");
  EXPECT_EQ(radio.ident, 50u);
  EXPECT_FALSE(radio.visible);
  EXPECT_EQ(radio.file, "radio.bmp");
  EXPECT_FALSE(radio.background_color);
  ASSERT_EQ(radio.gauges.size(), 1u);
  EXPECT_EQ(radio.gauges[0].gauge, "Z480_ADF");
}

TEST(PanelConfig, ReportsEachMalformedLineByNumberAndReadsTheRest) {
  struct Case {
    const char *line;
    const char *says;  // part of the report
  };
  const Case cases[] = {
      {"no equals sign here", "KEY=VALUE"},
      {"=value", "key"},
      {"size_mm=100", "size_mm"},
      {"size_mm=0,100", "size_mm"},
      {"visible=yes", "visible"},
      {"ident=NOT_A_PANEL", "ident"},
      {"ident=4294967295", "ident"},
      {"background_color=1,2", "background_color"},
      {"background_color=1,2,256", "background_color"},
      {"position=9", "position"},
      {"window_pos=0.5", "window_pos"},
      {"gauge10=Airspeed, 1, 2", "MODULE!GAUGE"},
      {"gauge11=Z480_Instr!, 1, 2", "MODULE!GAUGE"},
      {"gauge12=Z480_Instr!Airspeed", "X and Y"},
      {"gauge13=Z480_Instr!Airspeed, 1", "X and Y"},
      {"gauge14=Z480_Instr!Airspeed, one, 2", "X and Y"},
      {"gauge15=Z480_Instr!Airspeed, 1, 2.5", "X and Y"},
      {"gauge16=Z480_Instr!Airspeed, 99999999999, 2", "X and Y"},
      {"gauge17=Z480_Instr!Airspeed, 1, 2, 0", "above 0"},
      {"gauge18=Z480_Instr!Airspeed, 1, 2, 10, -3", "above 0"},
      {"gauge00=Z480_Instr!Torque, 1, 2", "twice"},
      {"[Window00]", "twice"},
      {"[Window01", "']'"},
  };
  std::string text = "[Window00]\ngauge00=Z480_Instr!Airspeed, 0, 0\n";
  for (const Case &c : cases) text += std::string(c.line) + "\n";
  text += "[Window02]\ngauge00=Z480_Instr!HSI, 5, 5\n";

  PanelConfig c = parse_panel_config(text);
  ASSERT_EQ(c.diagnostics.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].line);
    EXPECT_EQ(c.diagnostics[i].line, static_cast<int>(i) + 3);
    EXPECT_NE(c.diagnostics[i].message.find(cases[i].says), std::string::npos)
        << c.diagnostics[i].message;
  }
  // Nothing of the bad lines was taken; the good lines around them were.
  ASSERT_EQ(c.windows.size(), 2u);
  EXPECT_EQ(c.windows[0].width, 0);
  EXPECT_TRUE(c.windows[0].visible);
  EXPECT_EQ(c.windows[0].ident, kUserIdentBase);
  ASSERT_EQ(c.windows[0].gauges.size(), 1u);
  EXPECT_EQ(c.windows[0].gauges[0].gauge, "Airspeed");
  ASSERT_EQ(c.windows[1].gauges.size(), 1u);
  EXPECT_EQ(c.windows[1].gauges[0].gauge, "HSI");
}

TEST(PanelConfig, AnIdentTakenTwiceFallsBackToTheWindowsOwn) {
  PanelConfig c = parse_panel_config(
      "[Window00]\nident=50\n[Window03]\nvisible=0\nident=RADIO_STACK_PANEL\n"
      "[Window01]\nident=10002\n[Window02]\n");
  ASSERT_EQ(c.windows.size(), 3u);
  EXPECT_EQ(c.windows[0].ident, 50u);
  EXPECT_EQ(c.windows[1].ident, kUserIdentBase + 3);
  EXPECT_EQ(c.windows[2].ident, kUserIdentBase + 2);
  ASSERT_EQ(c.diagnostics.size(), 2u);
  EXPECT_EQ(c.diagnostics[0].line, 5);  // the second ident line
  // Window02's own ident is already Window01's: nothing is left for it.
  EXPECT_EQ(c.diagnostics[1].line, 8);
  EXPECT_NE(c.diagnostics[1].message.find("skipped"), std::string::npos);
}

TEST(PanelConfig, TakesWindowsLineEndingsAndNoFinalNewline) {
  PanelConfig c = parse_panel_config(
      "[Window Titles]\r\nWindow00=Main\r\n[Window00]\r\nsize_mm=10,20\r\n"
      "gauge00=Z480_Instr!Airspeed, 1, 2, 3, 4, t50\r\n; a comment\r\ngauge01=Z480_Instr!HSI,0,0");
  EXPECT_TRUE(c.diagnostics.empty());
  ASSERT_EQ(c.windows.size(), 1u);
  EXPECT_EQ(c.windows[0].title, "Main");
  EXPECT_EQ(c.windows[0].height, 20);
  ASSERT_EQ(c.windows[0].gauges.size(), 2u);
  EXPECT_EQ(c.windows[0].gauges[0].parameters, "t50");
  EXPECT_EQ(c.windows[0].gauges[1].gauge, "HSI");
}

// Old Mac editors end lines in a lone CR; Windows ones start with a BOM.
TEST(PanelConfig, TakesCarriageReturnLinesAndAByteOrderMark) {
  PanelConfig c = parse_panel_config(
      "\xEF\xBB\xBF[Window00]\rsize_mm=10,20\r\rgauge00=Z480_Instr!HSI,0,0\r\ngauge01=Z480_Instr!RMI,1,1");
  EXPECT_TRUE(c.diagnostics.empty()) << c.diagnostics[0].message;
  ASSERT_EQ(c.windows.size(), 1u);
  EXPECT_EQ(c.windows[0].height, 20);
  ASSERT_EQ(c.windows[0].gauges.size(), 2u);
  EXPECT_EQ(c.windows[0].gauges[0].line, 4);
  EXPECT_EQ(c.windows[0].gauges[1].line, 5);
}

TEST(PanelConfig, GaugesPastTheLimitAreReportedOnceAndSkipped) {
  std::string text;
  for (std::size_t w = 0; w < 5; ++w) {
    text += "[Window0" + std::to_string(w) + "]\n";
    for (std::size_t g = 0; g < kMaxPanelGauges / 4; ++g)
      text += "gauge" + std::to_string(g) + "=Z480_Instr!HSI,0,0\n";
  }
  PanelConfig c = parse_panel_config(text);
  std::size_t placed = 0;
  for (const PanelWindowConfig &w : c.windows) placed += w.gauges.size();
  EXPECT_EQ(placed, kMaxPanelGauges);
  ASSERT_EQ(c.diagnostics.size(), kMaxPanelGauges / 4);
  EXPECT_NE(c.diagnostics[0].message.find("more than 4096 gauges"), std::string::npos);
}

TEST(PanelConfig, PanelIdentsByNameOrNumber) {
  EXPECT_EQ(panel_ident("MAIN_PANEL"), 0u);
  EXPECT_EQ(panel_ident("overhead_panel"), 250u);
  EXPECT_EQ(panel_ident("IDENT_GPS_PANEL"), 225u);
  EXPECT_EQ(panel_ident(" 10010 "), 10010u);
  EXPECT_EQ(panel_ident("USER"), kUserIdentBase);
  EXPECT_FALSE(panel_ident("RADIO_STACK_PANELX"));  // whole names only
  EXPECT_FALSE(panel_ident(""));
  EXPECT_FALSE(panel_ident("-1"));
  EXPECT_FALSE(panel_ident("4294967296"));
}

}  // namespace
}  // namespace z480
