// What pages are sent of each frame, against the real module: a page that
// takes the changes ends up holding what a page given everything in full
// holds; nothing is sent twice; the radar's screen travels only when it
// changes. And which windows each page has.
#include <gtest/gtest.h>

#include <sstream>

#include "frame/host_names.h"
#include "host/script/host_resources.h"
#include "host/serve/serve_frame.h"
#include "host/serve/serve_session.h"
#include "host/serve/serve_windows.h"

namespace z480 {
namespace {

using nlohmann::json;

std::unique_ptr<PanelSession> open_session(const std::string &scenario, std::ostream &out) {
  std::string why;
  auto s = PanelSession::open(Z480_MODULE_PATH, std::string(host_resource("PANEL", 1)), scenario,
                              out, &why, {Z480_PANEL_FOLDER});
  EXPECT_TRUE(s) << why;
  return s;
}

// The gauges as a page holds them, from what it was sent.
struct PageModel {
  std::map<std::string, json> gauges;  // index -> the elements
  void take(const json &update) {
    for (const auto &[index, u] : update.items()) {
      if (u[0] == 0) {
        gauges[index] = json(u.begin() + 1, u.end());
        continue;
      }
      ASSERT_TRUE(gauges.count(index)) << "changes to a gauge never sent in full: " << index;
      for (std::size_t c = 1; c < u.size(); ++c) {
        json &e = gauges[index][u[c][0].get<std::size_t>()];
        for (std::size_t f = 1; f + 1 < u[c].size(); f += 2) e[u[c][f].get<std::size_t>()] = u[c][f + 1];
      }
    }
  }
};

class Frames : public ::testing::Test {
 protected:
  void open(const std::string &scenario) {
    session = open_session(scenario, out);
    ASSERT_TRUE(session);
    encoder.reset(session->gauges().size());
  }
  void capture() {
    const auto &gauges = session->gauges();
    for (std::size_t i = 0; i < gauges.size(); ++i) {
      Instance *inst = session->host().instance(gauges[i].alias);
      encoder.capture(i, inst && inst->connected() ? inst : nullptr);
    }
  }
  std::vector<bool> shown() {
    std::vector<bool> s;
    for (const GaugeBox &g : session->gauges()) s.push_back(session->host().window_shown(g.window));
    return s;
  }
  json update(PageCopy &copy, std::vector<std::string> *binary = nullptr) {
    std::vector<std::string> ignored;
    return encoder.update(copy, shown(), binary ? binary : &ignored);
  }
  std::size_t index_of(const std::string &alias) {
    const auto &g = session->gauges();
    for (std::size_t i = 0; i < g.size(); ++i)
      if (g[i].alias == alias) return i;
    ADD_FAILURE() << "no gauge " << alias;
    return 0;
  }

  std::ostringstream out;
  std::unique_ptr<PanelSession> session;
  FrameEncoder encoder;
};

TEST_F(Frames, ChangesAddUpToTheWholeAndComeOnce) {
  open("cold");
  ASSERT_TRUE(session->set_window({250, true}));
  session->frame();
  capture();
  PageCopy steady, late;
  PageModel page;
  json first = update(steady);
  page.take(first);
  // Every gauge of a shown window in full, none of a closed one.
  for (std::size_t i = 0; i < session->gauges().size(); ++i) {
    bool shows = session->host().window_shown(session->gauges()[i].window);
    EXPECT_EQ(first.contains(std::to_string(i)), shows) << session->gauges()[i].alias;
  }
  EXPECT_EQ(first[std::to_string(index_of("Airspeed"))][0], 0);
  // Nothing new: nothing goes.
  capture();
  EXPECT_TRUE(update(steady).empty());

  // The battery comes on: a few gauges change, as changes of a few fields.
  ASSERT_EQ(session->mouse({"Master_Battery_Switch", 20, 30, kMouseLeftSingle}), MouseResult::kTaken);
  for (int i = 0; i < 3; ++i) {
    session->frame();
    capture();
    json changes = update(steady);
    if (i == 0) {
      EXPECT_GT(changes.size(), 0u);
      EXPECT_LT(changes.size(), first.size() / 2);
      json battery = changes[std::to_string(index_of("Master_Battery_Switch"))];
      ASSERT_EQ(battery[0], 1) << battery;
      for (std::size_t c = 1; c < battery.size(); ++c) EXPECT_LT(battery[c].size(), 9u) << battery[c];
    }
    page.take(changes);
  }
  // The page that took only changes holds what a page that comes now is
  // given in full.
  PageModel fresh;
  fresh.take(update(late));
  EXPECT_EQ(page.gauges, fresh.gauges);
  EXPECT_GT(fresh.gauges.size(), 40u);

  // A gauge the page stopped showing comes in full when it shows it again.
  std::size_t airspeed = index_of("Airspeed");
  FrameEncoder::forget(steady, airspeed);
  json again = update(steady);
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[std::to_string(airspeed)][0], 0);
}

TEST_F(Frames, APageThatMissedAFrameIsSentTheGaugeWhole) {
  open("approach");
  session->frame();
  capture();
  PageCopy behind, steady;
  PageModel page;
  page.take(update(behind));
  update(steady);
  // Two frames of flight go by while this page takes none.
  for (int i = 0; i < 2; ++i) {
    session->frame();
    capture();
    update(steady);
  }
  // What changed twice comes whole; what changed once, as that change.
  json caught_up = update(behind);
  int whole = 0;
  for (const auto &[index, u] : caught_up.items()) whole += u[0] == 0 ? 1 : 0;
  EXPECT_GT(whole, 0);
  EXPECT_EQ(caught_up[std::to_string(index_of("Airspeed"))][0], 0);
  page.take(caught_up);
  PageModel fresh;
  PageCopy late;
  fresh.take(update(late));
  EXPECT_EQ(page.gauges, fresh.gauges);
}

TEST_F(Frames, TheRadarScreenTravelsWhenItChanges) {
  open("approach");
  session->frame();
  capture();
  PageCopy copy;
  std::vector<std::string> pixels;
  update(copy, &pixels);
  std::size_t radar = index_of("Radar");
  ASSERT_EQ(pixels.size(), 1u);
  auto word = [](const std::string &m, int at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(m[at + i])) << (8 * i);
    return v;
  };
  EXPECT_EQ(word(pixels[0], 0), radar);
  EXPECT_EQ(pixels[0].substr(13, 3), "PNG");
  // The range goes up: the screen, drawn anew once a second, shows it and
  // is sent again; in two seconds of frames no more than about twice.
  ASSERT_EQ(session->mouse({"Radar", 263, 65, kMouseLeftSingle}), MouseResult::kTaken);
  pixels.clear();
  for (int i = 0; i < 2 * Host::kFramesPerSecond; ++i) {
    session->frame();
    capture();
    update(copy, &pixels);
  }
  EXPECT_GE(pixels.size(), 1u);
  EXPECT_LE(pixels.size(), 3u);
}

TEST(FrameFields, NumbersThatAreNoneDoNotChangeEveryFrame) {
  ElementView v;
  v.kind = kNeedle;
  v.needle = std::nan("");
  v.x = 1.23456789;
  ElementState a = element_state(v, 0), b = element_state(v, 0);
  EXPECT_EQ(a, b);
  EXPECT_TRUE(field_json(a, kFieldNeedle).is_null());
  EXPECT_EQ(field_json(a, kFieldMoveX), 1.235);
  EXPECT_TRUE(field_json(a, kFieldKind).is_number_integer());
  // A host bit that comes and goes each frame is no change of the picture.
  v.flags = kImageOnScreen;
  EXPECT_EQ(element_state(v, 0), a);
  v.flags = kImageHidden;
  EXPECT_FALSE(element_state(v, 0) == a);
}

TEST(WindowSets, EachPageHasItsOwn) {
  using C = Host::WindowChange;
  WindowSets sets({0});
  EXPECT_EQ(sets.shown(), (WindowSets::Set{0}));
  sets.join(1, {0});
  sets.join(2, {0, 250});
  EXPECT_EQ(sets.shown(), (WindowSets::Set{0, 250}));
  // A toggle while answering page 1 opens the window for page 1 alone, even
  // though page 2 has it open already.
  sets.ask(1, 250, C::kToggle);
  EXPECT_EQ(sets.of(1), (WindowSets::Set{0, 250}));
  EXPECT_EQ(sets.of(2), (WindowSets::Set{0, 250}));
  sets.ask(2, 250, C::kToggle);
  EXPECT_EQ(sets.of(2), (WindowSets::Set{0}));
  EXPECT_EQ(sets.shown(), (WindowSets::Set{0, 250}));
  // What the panel asks by itself reaches every page.
  sets.ask(std::nullopt, 50, C::kOpen);
  EXPECT_EQ(sets.of(1), (WindowSets::Set{0, 50, 250}));
  EXPECT_EQ(sets.of(2), (WindowSets::Set{0, 50}));
  sets.set(1, 250, false);
  sets.set_all(50, false);
  EXPECT_EQ(sets.shown(), (WindowSets::Set{0}));
  sets.keep_only({50});
  EXPECT_TRUE(sets.of(1).empty());
  // With no page, the host keeps what it showed before.
  sets.leave(1);
  sets.leave(2);
  EXPECT_TRUE(sets.of(7).empty());
  EXPECT_EQ(sets.shown(), (WindowSets::Set{}));
}

}  // namespace
}  // namespace z480
