// Panel windows in the host: a configuration placed through the probe
// module, instances connecting and disconnecting with their windows, and
// only connected instances updating.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "frame/host_names.h"
#include "host/core/panel_loader.h"

namespace z480 {
namespace {

class PanelHost : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module = Module::load(Z480_PROBE_MODULE_PATH, &error);
    ASSERT_TRUE(module) << error;
    log = static_cast<char *>(dlsym(module->handle(), "ProbeLog"));
    ASSERT_NE(log, nullptr);
    host = std::make_unique<Host>(*module);
  }
  void TearDown() override { host.reset(); }

  std::vector<PanelDiagnostic> load(const std::string &text) {
    return load_panel(*host, parse_panel_config(text));
  }
  std::string take_log() {
    std::string s = log;
    log[0] = '\0';
    return s;
  }

  std::unique_ptr<Module> module;
  std::unique_ptr<Host> host;
  char *log = nullptr;
};

const char *const kTwoWindows =
    "[Window00]\nident=MAIN_PANEL\nvisible=1\n"
    "gauge00=z480_probe_module!Probe, 10, 20, Main\n"
    "[Window01]\nident=7\nvisible=0\n"
    "gauge00=z480_probe_module!Probe, 0, 0, 40, 30, Sub\n";

TEST_F(PanelHost, InstancesConnectWithTheirWindowsAndOnlyConnectedOnesUpdate) {
  EXPECT_TRUE(load(kTwoWindows).empty());
  // The hidden window's gauge is installed but not connected.
  EXPECT_EQ(take_log(), "Main:2;Main:14;Main:3;Sub:2;Sub:3;");
  EXPECT_TRUE(host->window_shown(0));
  EXPECT_FALSE(host->window_shown(7));
  host->frame();
  EXPECT_EQ(take_log(), "Main:6;");

  host->send_key_event(kEventPanelIdToggle, 7);
  EXPECT_EQ(take_log(), "Sub:14;");
  host->frame();
  EXPECT_EQ(take_log(), "Main:6;Sub:6;");
  host->set_window(0, false);
  EXPECT_EQ(take_log(), "Main:15;");
  host->frame();
  EXPECT_EQ(take_log(), "Sub:6;");
  // Showing a shown window again connects nothing twice.
  host->set_window(7, true);
  EXPECT_EQ(take_log(), "");
  // A disconnected instance is only destroyed.
  host->remove("Probe");
  EXPECT_EQ(take_log(), "Main:12;");
}

TEST_F(PanelHost, InstancesRememberTheirPlaceAndRepeatedGaugesAreNumbered) {
  load(kTwoWindows);
  Instance *main = host->instance("Probe");
  Instance *sub = host->instance("Probe:2");
  ASSERT_TRUE(main && sub);
  EXPECT_EQ(main->placement()->window, 0u);
  EXPECT_EQ(main->placement()->x, 10);
  EXPECT_EQ(main->placement()->width, 50);  // the gauge's own 50 mm
  EXPECT_FALSE(main->placement()->height);
  EXPECT_EQ(sub->placement()->window, 7u);
  EXPECT_EQ(sub->placement()->height, 30);
  ASSERT_EQ(host->panel_windows().size(), 2u);
  EXPECT_TRUE(host->panel_windows()[1].gauges.empty());
}

TEST_F(PanelHost, AWindowClosedFromInsideACallbackDisconnectsAfterIt) {
  load("[Window01]\nident=7\ngauge00=z480_probe_module!Probe, 0, 0, HIDE\n"
       "gauge01=z480_probe_module!Probe, 0, 0, Next\n");
  take_log();
  host->frame();
  // Both disconnect once the update call has returned, so the next one in
  // the window no longer updates.
  EXPECT_EQ(take_log(), "HIDE:6;HIDE:15;Next:15;");
  EXPECT_FALSE(host->window_shown(7));
}

TEST_F(PanelHost, ReportsGaugesItCannotPlaceAndPlacesTheRest) {
  std::string error;
  ASSERT_TRUE(host->place("Probe", "Probe", "script", &error));
  auto report = load(
      "[Window00]\n"
      "gauge00=Other!Probe, 0, 0\n"
      "gauge01=z480_probe_module!Missing, 0, 0\n"
      "gauge02=z480_probe_module!Probe, 0, 0\n"  // the script's instance has that name
      "gauge03=Z480_PROBE_MODULE!Clicker, 0, 0\n"
      "gauge04=z480_probe_module!Clicker, 0\n");
  ASSERT_EQ(report.size(), 4u);
  EXPECT_EQ(report[0].line, 2);
  EXPECT_NE(report[0].message.find("Other"), std::string::npos);
  EXPECT_EQ(report[1].line, 3);
  EXPECT_NE(report[1].message.find("Missing"), std::string::npos);
  EXPECT_EQ(report[2].line, 4);
  EXPECT_EQ(report[3].line, 6);
  EXPECT_TRUE(host->instance("Clicker"));
}

TEST_F(PanelHost, ALaterPanelReplacesTheWindowsAndGaugesOfTheOneBefore) {
  std::string error;
  ASSERT_TRUE(host->place("Probe", "scripted", "Script", &error));
  load(kTwoWindows);
  take_log();
  load("[Window00]\nident=9\ngauge00=z480_probe_module!Probe, 0, 0, New\n");
  EXPECT_EQ(take_log(), "Sub:12;Main:15;Main:12;New:2;New:14;New:3;");
  ASSERT_EQ(host->panel_windows().size(), 1u);
  EXPECT_TRUE(host->instance("scripted"));
  EXPECT_FALSE(host->instance("Probe:2"));
}

}  // namespace
}  // namespace z480
