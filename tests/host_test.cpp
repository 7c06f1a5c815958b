// The substitute host on its own, driven through the probe module: instance
// copies, service order, element evaluation, mouse routing, help and tooltips.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "frame/host_names.h"
#include "host/core/host.h"

namespace z480 {
namespace {

class HostTest : public ::testing::Test {
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

  Instance &place(const std::string &gauge, const std::string &alias,
                  std::optional<std::string> param = std::nullopt) {
    std::string error;
    Instance *i = host->place(gauge, alias, std::move(param), &error);
    EXPECT_TRUE(i) << error;
    return *i;
  }

  std::unique_ptr<Module> module;
  std::unique_ptr<Host> host;
  char *log = nullptr;
};

TEST_F(HostTest, ServicesComeInPlacementAndRemovalOrder) {
  place("Probe", "p", "P1");
  host->frame();
  host->remove("p");
  EXPECT_STREQ(log, "P1:2;P1:14;P1:3;P1:6;P1:15;P1:12;");
}

// The header routines run where their service codes say, each handing the
// host its own gauge's root; one that hands over another gauge's elements is
// reported, and the instance still updates once a frame.
TEST_F(HostTest, HeaderRoutinesReachTheirOwnElementsWhereTheirServicesAre) {
  Instance &p = place("Probe", "p", "P1");
  EXPECT_EQ(p.routines_reached(), (std::array<int, 7>{1, 1, 1, 0, 0, 0, 0}));
  host->frame();
  host->frame();
  EXPECT_EQ(p.routines_reached(), (std::array<int, 7>{1, 1, 1, 2, 0, 2, 0}));
  host->remove("p");
  EXPECT_TRUE(host->routine_faults().empty());

  place("Stray", "stray");
  log[0] = '\0';
  host->frame();
  EXPECT_STREQ(log, "stray;");
  ASSERT_EQ(host->routine_faults().size(), 1u);
  EXPECT_EQ(host->routine_faults()[0].rfind("stray: its update routine handed the host the elements", 0),
            0u)
      << host->routine_faults()[0];
}

TEST_F(HostTest, FrameSendsPreUpdateToEveryInstanceInPlacementOrder) {
  place("Probe", "a", "A");
  place("Probe", "b", "B");
  log[0] = '\0';
  host->frame();
  EXPECT_STREQ(log, "A:6;B:6;");
}

TEST_F(HostTest, RefusesDuplicateAliasAndUnknownGauge) {
  place("Probe", "p");
  std::string error;
  EXPECT_EQ(host->place("Probe", "p", std::nullopt, &error), nullptr);
  EXPECT_EQ(host->place("Nothing", "n", std::nullopt, &error), nullptr);
  EXPECT_NE(error.find("Nothing"), std::string::npos);
}

TEST_F(HostTest, InstancesOwnTheirRecordsWhileModuleStaticsStayShared) {
  Instance &one = place("Retarget", "one", "101");
  Instance &two = place("Retarget", "two", "202");
  ASSERT_EQ(one.elements().size(), 2u);
  EXPECT_EQ(reinterpret_cast<IconElement *>(one.elements()[1])->source_var.id, 101);
  EXPECT_EQ(reinterpret_cast<IconElement *>(two.elements()[1])->source_var.id, 202);
  // The module's own record keeps its declared token.
  GaugeHeader *source = module->find_gauge("Retarget");
  EXPECT_EQ(reinterpret_cast<IconElement *>(source->elements_list[0]->next_element[0])
                ->source_var.id,
            1);
  EXPECT_NE(one.header(), source);
  EXPECT_EQ(one.elements()[1]->gauge_header, one.header());
  EXPECT_STREQ(one.header()->parameters, "101");
  host->set_var(101, 1);
  host->set_var(202, 0);
  host->frame();
  EXPECT_EQ(one.views()[1].image, 1);
  EXPECT_EQ(two.views()[1].image, 0);
}

TEST_F(HostTest, ElementsAreEvaluatedParentFirstInListOrder) {
  Instance &p = place("Probe", "p");
  std::vector<std::int32_t> bitmaps;
  for (GaugeElement *e : p.elements()) bitmaps.push_back(e->resource_id);
  EXPECT_EQ(bitmaps, (std::vector<std::int32_t>{1, 2, 3, 4, -1}));
}

TEST_F(HostTest, NeedleTakesCallbackValueThroughItsTable) {
  Instance &p = place("Probe", "p");
  host->set_var(10, 5);  // callback doubles it: 10, the point straight right
  host->frame();
  EXPECT_DOUBLE_EQ(p.views()[1].value, 10);
  EXPECT_NEAR(p.views()[1].needle, 90, 1e-9);
  host->set_var(10, 2.5);  // 5: halfway from up to right
  host->frame();
  EXPECT_NEAR(p.views()[1].needle, 45, 1e-9);
  host->set_var(10, 50);  // parks at the last entry, straight down
  host->frame();
  EXPECT_NEAR(p.views()[1].needle, 180, 1e-9);
  host->set_var(10, std::nan(""));  // no reading: the needle stays
  host->frame();
  EXPECT_NEAR(p.views()[1].needle, 180, 1e-9);
}

TEST_F(HostTest, IconImagesFollowTheLampAndSwitchRules) {
  Instance &p = place("Probe", "p");
  auto image_for = [&](double v) {
    host->set_var(11, v);
    host->frame();
    return p.views()[2].image;
  };
  EXPECT_EQ(image_for(0), 0);
  EXPECT_EQ(image_for(2), 2);
  EXPECT_EQ(image_for(7), 2);  // beyond the last of three images: the last
  EXPECT_EQ(image_for(-1), -1);
  EXPECT_TRUE(static_cast<std::uint32_t>(p.elements()[2]->image_flags) & kImageHidden);
  EXPECT_EQ(image_for(std::nan("")), -1);
}

// A failure list ends at key 0; the first record whose key is failed and
// whose action the host knows decides.
TEST_F(HostTest, FailureListsAreReadToTheirEndAndTheFirstFailedKeyDecides) {
  FailureRecord list[] = {{5, 0, 0}, {3, 7, 0}, {3, 2, 0}, {4, 3, 0}, {0, 0, 0}, {6, 4, 0}};
  GaugeElement e{};
  EXPECT_EQ(host->failure_action(e), kFailActionNone);  // no list
  e.failure_systems = list;
  auto with = [&](std::initializer_list<std::int32_t> keys) {
    for (std::int32_t k = 1; k <= kLastFailureKey; ++k) host->set_failure(k, false);
    for (std::int32_t k : keys) host->set_failure(k, true);
    return host->failure_action(e);
  };
  EXPECT_EQ(with({}), kFailActionNone);
  EXPECT_EQ(with({5}), kFailActionNone);  // listed without an action
  EXPECT_EQ(with({3}), kFailActionZero);  // action 7 is none the host knows
  EXPECT_EQ(with({4, 3}), kFailActionZero);
  EXPECT_EQ(with({4}), kFailActionNoDraw);
  EXPECT_EQ(with({6}), kFailActionNone);  // past the end of the list
  // A list without its end record is read no further than there are keys.
  std::vector<FailureRecord> endless(kLastFailureKey + 1, FailureRecord{9, 0, 0});
  endless.push_back({8, 1, 0});
  e.failure_systems = endless.data();
  EXPECT_EQ(with({8}), kFailActionNone);
}

// A failed element is not updated: it keeps what it showed, or shows zero.
TEST_F(HostTest, FailedElementsFreezeOrZeroWithoutTheirCallbacks) {
  Instance &p = place("Probe", "p");
  FailureRecord needle_list[] = {{3, 1, 0}, {0, 0, 0}};
  FailureRecord lamp_list[] = {{3, 2, 0}, {0, 0, 0}};
  p.elements()[1]->failure_systems = needle_list;
  p.elements()[2]->failure_systems = lamp_list;
  host->set_var(10, 2.5);
  host->set_var(11, 2);
  host->frame();
  EXPECT_NEAR(p.views()[1].needle, 45, 1e-9);
  host->set_failure(3, true);
  host->set_var(10, 5);
  host->frame();
  EXPECT_EQ(p.views()[1].failure, 1);
  EXPECT_DOUBLE_EQ(p.views()[1].value, 5);  // frozen at the doubled 2.5
  EXPECT_NEAR(p.views()[1].needle, 45, 1e-9);
  EXPECT_EQ(p.views()[2].failure, 2);
  EXPECT_EQ(p.views()[2].image, 0);  // zero: the first image
  host->set_failure(3, false);
  host->frame();
  EXPECT_EQ(p.views()[1].failure, 0);
  EXPECT_NEAR(p.views()[1].needle, 90, 1e-9);
  EXPECT_EQ(p.views()[2].image, 2);
}

// Fuzzing bounds a script's work: frames and clicks alike, then every one
// after the limit is refused.
TEST_F(HostTest, TheWorkLimitCountsFramesAndClicks) {
  Instance &p = place("Probe", "p");
  host->limit_work(3);
  host->frame();
  host->click(p, {65, 65}, kMouseLeftSingle);
  host->frame();
  EXPECT_THROW(host->frame(), WorkLimitReached);
  EXPECT_THROW(host->click(p, {65, 65}, kMouseLeftSingle), WorkLimitReached);
  EXPECT_EQ(host->frame_count(), 2u);
}

TEST_F(HostTest, StringElementsGetTheirOwnBoundedBuffer) {
  Instance &p = place("Probe", "p");
  host->set_var(10, 1234567);
  host->frame();
  EXPECT_EQ(p.views()[4].text, "ALT 12");  // six characters at most
  // The buffer holds just the record's length, the terminator included.
  auto *text = reinterpret_cast<StringElement *>(p.elements()[4]);
  EXPECT_EQ(text->max_string_length, 7);
  EXPECT_EQ(string_buffer_size(*text), 7u);
}

TEST_F(HostTest, ClicksGoToTheFirstMatchingChildRelativeToItsParent) {
  Instance &p = place("Probe", "p");
  // Parent at 50,50; child at 10,10 inside it: 60..80.
  EXPECT_TRUE(host->click(p, {65, 67}, kMouseLeftSingle));
  EXPECT_NE(std::string(log).find("click:5,7:Probe:20:20000000;"), std::string::npos);
  ASSERT_EQ(host->events().size(), 1u);
  EXPECT_EQ(host->events()[0].id, 777);
  EXPECT_EQ(host->events()[0].value, 5u);
}

TEST_F(HostTest, RectanglesWithoutCallbackSendTheirEvent) {
  Instance &p = place("Probe", "p");
  EXPECT_TRUE(host->click(p, {65, 67}, kMouseRightSingle));
  EXPECT_TRUE(host->click(p, {95, 95}, kMouseLeftSingle));  // nested parent at 90,90
  EXPECT_TRUE(host->click(p, {2, 2}, kMouseLeftSingle));    // loose child after the groups
  ASSERT_EQ(host->events().size(), 3u);
  EXPECT_EQ(host->events()[0].id, 555);
  EXPECT_EQ(host->events()[1].id, 666);
  EXPECT_EQ(host->events()[2].id, 888);
}

TEST_F(HostTest, ClicksMissOutsideBoxesAndUnmatchedFlags) {
  Instance &p = place("Probe", "p");
  EXPECT_FALSE(host->click(p, {85, 65}, kMouseLeftSingle));
  EXPECT_FALSE(host->click(p, {65, 67}, kMouseMove));
  EXPECT_FALSE(host->click(p, {-5, -5}, kMouseLeftSingle));
  EXPECT_TRUE(host->events().empty());
}

TEST_F(HostTest, HelpComesFromTheInnermostParentWithHelp) {
  Instance &p = place("Probe", "p");
  EXPECT_EQ(host->help_id(p, {10, 10}), 1000);
  EXPECT_EQ(host->help_id(p, {60, 60}), 2000);
  EXPECT_EQ(host->help_id(p, {95, 95}), 2000);  // the inner parent has none
}

TEST_F(HostTest, TooltipFillsNumberedArguments) {
  Instance &p = place("Probe", "p");
  host->set_var(10, 25);
  EXPECT_EQ(host->tooltip(p, {10, 10}), "FAR at 12.5 nm (100%)");
}

TEST_F(HostTest, PanelWindowEventsShowAndHideWindows) {
  host->send_key_event(kEventPanelIdOpen, 50);
  EXPECT_TRUE(host->window_shown(50));
  host->send_key_event(kEventPanelIdToggle, 50);
  EXPECT_FALSE(host->window_shown(50));
  host->toggle_window(75);
  EXPECT_TRUE(host->window_shown(75));
  host->send_key_event(kEventPanelIdClose, 75);
  EXPECT_FALSE(host->window_shown(75));
}

TEST_F(HostTest, KeyEventsReachReactionsAtTheNextFrame) {
  std::vector<std::int32_t> seen;
  host->on_key_event([&](const KeyEvent &e) { seen.push_back(e.id); });
  host->send_key_event(65884, 0);
  EXPECT_TRUE(seen.empty());
  host->frame();
  EXPECT_EQ(seen, std::vector<std::int32_t>{65884});
}

TEST_F(HostTest, PendingEventsReachTheSimulationBeforeTheNextInstanceUpdates) {
  place("Probe", "a", "SEND");
  place("Probe", "b", "B");
  std::vector<std::string> seen_at;
  host->on_key_event([&](const KeyEvent &) { seen_at.push_back(log); });
  log[0] = '\0';
  host->send_key_event(1, 0);
  host->frame();
  // The event sent between frames reaches the simulation before any update;
  // the one sent by the first instance before the second one updates.
  EXPECT_EQ(seen_at, (std::vector<std::string>{"", "SEND:6;"}));
}

TEST(ModuleLoad, EachLoadStartsWithFreshStatics) {
  std::string error;
  auto first = Module::load(Z480_PROBE_MODULE_PATH, &error);
  ASSERT_TRUE(first) << error;
  std::strcpy(static_cast<char *>(dlsym(first->handle(), "ProbeLog")), "dirty");
  auto second = Module::load(Z480_PROBE_MODULE_PATH, &error);
  ASSERT_TRUE(second) << error;
  EXPECT_STREQ(static_cast<char *>(dlsym(second->handle(), "ProbeLog")), "");
}

TEST(ModuleLoad, ReportsMissingFilesAndForeignLibraries) {
  std::string error;
  EXPECT_EQ(Module::load("/nonexistent/Z480_Instr.gau", &error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace z480
