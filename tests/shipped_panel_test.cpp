// The aircraft's own panel/panel.cfg: every gauge of the module placed, each
// engine gauge once per engine, every window a hot spot names present, and
// every gauge drawn whole inside its window, clear of the others.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "frame/host_names.h"
#include "host/core/panel_loader.h"
#include "host/render/render.h"
#include "host/script/script.h"

namespace z480 {
namespace {

// The gauge names of the registry.
std::set<std::string> registry_names() {
  std::string list = read_file(Z480_SOURCE_DIR "/frame/gauge_list.inc").value_or("");
  std::set<std::string> names;
  std::regex entry(R"(Z480_GAUGE\((\w+)\))");
  for (std::sregex_iterator it(list.begin(), list.end(), entry), end; it != end; ++it)
    names.insert((*it)[1]);
  return names;
}

class ShippedPanel : public ::testing::Test {
 protected:
  void SetUp() override { config = parse_panel_config(read_file(Z480_SOURCE_DIR "/panel/panel.cfg").value_or("")); }
  PanelConfig config;
};

TEST_F(ShippedPanel, ReadsCleanlyAndPlacesEveryGaugeOfTheRegistry) {
  for (const PanelDiagnostic &d : config.diagnostics)
    ADD_FAILURE() << "panel.cfg:" << d.line << ": " << d.message;
  std::map<std::string, std::multiset<std::string>> placed;  // gauge -> parameters
  for (const PanelWindowConfig &w : config.windows)
    for (const GaugePlacementConfig &g : w.gauges) {
      EXPECT_EQ(g.module, "Z480_Instr") << g.line;
      placed[g.gauge].insert(g.parameters.value_or(""));
    }
  std::set<std::string> names = registry_names();
  ASSERT_EQ(names.size(), kGaugeCount);
  for (const std::string &n : names) EXPECT_TRUE(placed.count(n)) << n << " is not placed";
  for (const auto &[gauge, params] : placed) EXPECT_TRUE(names.count(gauge)) << gauge;

  for (const char *engine_gauge : {"EGT_Oil_Indicator", "Fire_Light", "Engine_N2",
                                   "Low_Oil_Press_Light", "Propeller_RPM"})
    EXPECT_EQ(placed[engine_gauge], (std::multiset<std::string>{"1", "2"})) << engine_gauge;
  EXPECT_EQ(placed["Radio_Altimeter"], std::multiset<std::string>{"s1"});
}

// The simulator takes a gauge line's fifth field as the height and the rest
// as the parameter string, blanks and all; the plate's font must be one a
// Windows machine has.
TEST_F(ShippedPanel, GaugeLinesGiveTheirHeightAndParametersWithoutABlank) {
  std::istringstream text(read_file(Z480_SOURCE_DIR "/panel/panel.cfg").value_or(""));
  std::regex line_form(R"(gauge\d+=\w+!\w+, *\d+, *\d+, *\d+, *\d+(,[^ ,].*)?)");
  int gauges = 0;
  for (std::string line; std::getline(text, line);) {
    if (line.rfind("gauge", 0) != 0) continue;
    ++gauges;
    EXPECT_TRUE(std::regex_match(line, line_form)) << line;
  }
  EXPECT_GT(gauges, 83);
  for (const PanelWindowConfig &w : config.windows)
    for (const GaugePlacementConfig &g : w.gauges) {
      EXPECT_TRUE(g.height) << g.line;
      if (g.gauge == "Registration") {
        EXPECT_EQ(g.parameters.value_or("").find(" f"), std::string::npos) << *g.parameters;
      }
    }
}

TEST_F(ShippedPanel, GaugesLieInsideTheirWindows) {
  for (const PanelWindowConfig &w : config.windows) {
    EXPECT_GT(w.width, 0) << "Window" << w.number;
    EXPECT_FALSE(w.title.empty()) << "Window" << w.number;
    for (const GaugePlacementConfig &g : w.gauges) {
      ASSERT_TRUE(g.width) << "line " << g.line << " gives no width";
      EXPECT_GE(g.x, 0) << g.line;
      EXPECT_GE(g.y, 0) << g.line;
      EXPECT_LE(g.x + *g.width, w.width) << g.line;
      EXPECT_LE(g.y + g.height.value_or(0), w.height) << g.line;
    }
  }
}

// As drawn: a gauge given only a width takes its height from its background
// bitmap, so the configuration's numbers alone do not show an overlap.
TEST_F(ShippedPanel, DrawnGaugesStayInsideTheirWindowsAndClearOfEachOther) {
  std::string error;
  auto module = Module::load(Z480_MODULE_PATH, &error);
  ASSERT_TRUE(module) << error;
  Host host(*module);
  load_panel(host, config);
  Renderer renderer(module->handle());
  struct Drawn {
    std::string alias;
    std::uint32_t window;
    WindowBox box;
  };
  std::vector<Drawn> drawn;
  for (const auto &inst : host.instances()) {
    auto box = window_box(renderer, *inst);
    ASSERT_TRUE(box) << inst->alias();
    drawn.push_back({inst->alias(), inst->placement()->window, *box});
  }
  for (const PanelWindowConfig &w : config.windows)
    for (const Drawn &d : drawn)
      if (d.window == w.ident) {
        EXPECT_LE(d.box.x + d.box.width, w.width) << d.alias << " leaves " << w.title;
        EXPECT_LE(d.box.y + d.box.height, w.height) << d.alias << " leaves " << w.title;
      }
  for (std::size_t i = 0; i < drawn.size(); ++i)
    for (std::size_t j = i + 1; j < drawn.size(); ++j) {
      const WindowBox &a = drawn[i].box, &b = drawn[j].box;
      bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
                   b.y + b.height <= a.y;
      EXPECT_TRUE(drawn[i].window != drawn[j].window || apart)
          << drawn[i].alias << " and " << drawn[j].alias << " overlap";
    }
}

// The shutdown window has a user ident (no view change opens it) and stays
// closed until the pilot opens it: its gauge stops the engines on connecting.
TEST_F(ShippedPanel, TheShutdownWaitsForThePilotAndEveryHotSpotNamesAWindow) {
  std::string error;
  auto module = Module::load(Z480_MODULE_PATH, &error);
  ASSERT_TRUE(module) << error;
  Host host(*module);
  for (const PanelDiagnostic &d : load_panel(host, config))
    EXPECT_NE(d.message.find("the module has no gauge"), std::string::npos) << d.message;

  Instance *shutdown = host.instance("Shut_Down_Engines");
  ASSERT_TRUE(shutdown && shutdown->placement());
  EXPECT_FALSE(shutdown->connected());
  EXPECT_GE(shutdown->placement()->window, kUserIdentBase);

  std::set<std::uint32_t> idents;
  for (const PanelWindowConfig &w : config.windows) idents.insert(w.ident);
  for (const auto &inst : host.instances()) {
    std::string name = inst->source()->gauge_name;
    if (name.find("Toggle") == std::string::npos && name != "Close_Subpanel") continue;
    host.forget_events();
    host.click(*inst, {8, 8}, 0x20000000);
    for (const KeyEvent &e : host.events()) {
      if (e.id == kEventPanelIdToggle || e.id == kEventPanelIdOpen || e.id == kEventPanelIdClose) {
        EXPECT_TRUE(idents.count(e.value)) << inst->alias() << " names window " << e.value;
      }
    }
  }
}

}  // namespace
}  // namespace z480
