// What the panel server lets in: requests from this machine only, and
// bodies read whole and within range.
#include <gtest/gtest.h>

#include "frame/panel.h"
#include "host/script/script.h"
#include "host/serve/serve_request.h"

namespace z480 {
namespace {

TEST(ServeRequest, HostHeaderMustNameThisMachine) {
  for (const char *ok : {"localhost", "localhost:8480", "127.0.0.1", "127.0.0.1:1", "[::1]:65535"})
    EXPECT_TRUE(local_host_header(ok)) << ok;
  // A name made to resolve here (DNS rebinding) or a port that is none.
  for (const char *bad : {"", "example.com", "localhost.example.com", "127.0.0.1.nip.io",
                          "localhost:", "localhost:0", "localhost:65536", "localhost:80x",
                          "localhost:+80", "[::1", "::1", "127.0.0.2", "localhost :80"})
    EXPECT_FALSE(local_host_header(bad)) << bad;
}

TEST(ServeRequest, OriginMustBeAPageOfThisMachine) {
  EXPECT_TRUE(local_origin(std::nullopt));
  EXPECT_TRUE(local_origin("http://localhost:8480"));
  EXPECT_TRUE(local_origin("http://127.0.0.1"));
  EXPECT_TRUE(local_origin("http://[::1]:9000"));
  for (const char *bad : {"null", "", "http://example.com", "http://localhost.example.com:8480",
                          "https://example.com", "http://localhost:8480/", "file://",
                          "localhost:8480", "http://127.0.0.1@example.com"})
    EXPECT_FALSE(local_origin(std::string_view(bad))) << bad;
}

TEST(ServeRequest, MouseRequestsReadWhole) {
  std::string why;
  auto r = parse_mouse({{"gauge", "Airspeed"}, {"x", "12"}, {"y", "0"}, {"action", "left"}}, &why);
  ASSERT_TRUE(r) << why;
  EXPECT_EQ(r->gauge, "Airspeed");
  EXPECT_EQ(r->x, 12);
  EXPECT_EQ(r->y, 0);
  EXPECT_EQ(r->flags, kMouseLeftSingle);

  // Held buttons carry the button with the repeat, so a gauge can tell
  // which one repeats, and a held button is never taken for a new press
  // (that would toggle a switch again); a drag is the drag alone.
  r = parse_mouse({{"gauge", "HSI"}, {"x", "1"}, {"y", "2"}, {"action", "left-repeat"}}, &why);
  ASSERT_TRUE(r) << why;
  EXPECT_EQ(r->flags, kMouseLeftSingle | kMouseDownRepeat);
  EXPECT_EQ(mouse_flags("right-repeat"), kMouseRightSingle | kMouseDownRepeat);
  EXPECT_EQ(mouse_flags("right"), kMouseRightSingle);
  EXPECT_EQ(mouse_flags("drag"), kMouseLeftDrag);
  EXPECT_EQ(mouse_flags("move"), kMouseMove);
  EXPECT_FALSE(mouse_flags("middle"));

  const Fields good = {{"gauge", "HSI"}, {"x", "5"}, {"y", "6"}, {"action", "right"}};
  ASSERT_TRUE(parse_mouse(good, &why));
  for (auto [key, value] : std::initializer_list<std::pair<const char *, const char *>>{
           {"x", "-1"}, {"x", "4096"}, {"x", "1e2"}, {"x", " 5"}, {"x", "5 "}, {"x", ""},
           {"x", "99999999999999999999"}, {"y", "0x10"}, {"y", "nan"}, {"action", "LEFT"},
           {"action", ""}}) {
    Fields f = good;
    f[key] = value;
    why.clear();
    EXPECT_FALSE(parse_mouse(f, &why)) << key << "=" << value;
    EXPECT_FALSE(why.empty());
  }
  Fields missing = good;
  missing.erase("y");
  EXPECT_FALSE(parse_mouse(missing, &why));
  Fields extra = good;
  extra["button"] = "1";
  EXPECT_FALSE(parse_mouse(extra, &why));
  EXPECT_EQ(why, "unknown field button");
}

TEST(ServeRequest, FlightStripValuesWithinTheirRanges) {
  std::string why;
  auto c = parse_controls({{"power", "0.5"}}, &why);
  ASSERT_TRUE(c) << why;
  EXPECT_EQ(c->power, 0.5);
  EXPECT_FALSE(c->elevator);
  c = parse_controls({{"elevator", "-1"}, {"aileron", "1"}, {"rudder", "0.25"}}, &why);
  ASSERT_TRUE(c) << why;
  EXPECT_EQ(*c->elevator, -1);
  EXPECT_EQ(*c->aileron, 1);
  EXPECT_EQ(*c->rudder, 0.25);
  EXPECT_FALSE(c->power);
  // The attitude the old strip took is no control of an aircraft.
  for (const Fields &bad : std::vector<Fields>{
           {}, {{"power", "1.01"}}, {{"power", "nan"}}, {{"elevator", "inf"}}, {{"aileron", "-1.5"}},
           {{"rudder", "3deg"}}, {{"pitch", "5"}}, {{"power", "0.5"}, {"yaw", "1"}}})
    EXPECT_FALSE(parse_controls(bad, &why)) << (bad.empty() ? "empty" : bad.begin()->first);

  auto s = parse_sim({{"paused", "1"}}, &why);
  ASSERT_TRUE(s) << why;
  EXPECT_EQ(s->paused, true);
  EXPECT_FALSE(s->rate);
  EXPECT_EQ(parse_sim({{"rate", "8"}}, &why)->rate, 8);
  for (const Fields &bad : std::vector<Fields>{
           {}, {{"paused", "2"}}, {{"paused", "yes"}}, {{"rate", "0"}}, {{"rate", "9"}},
           {{"rate", "-1"}}})
    EXPECT_FALSE(parse_sim(bad, &why));
}

TEST(ServeRequest, WindowsAndScenarios) {
  std::string why;
  auto w = parse_window({{"ident", "250"}, {"shown", "0"}}, &why);
  ASSERT_TRUE(w) << why;
  EXPECT_EQ(w->ident, 250u);
  EXPECT_FALSE(w->shown);
  EXPECT_FALSE(parse_window({{"ident", "4294967296"}, {"shown", "1"}}, &why));
  EXPECT_FALSE(parse_window({{"ident", "250"}}, &why));
  EXPECT_FALSE(parse_window({{"ident", "250"}, {"shown", "true"}}, &why));

  EXPECT_EQ(parse_scenario({{"name", "approach"}}, &why), "approach");
  EXPECT_FALSE(parse_scenario({{"name", ""}}, &why));
  EXPECT_FALSE(parse_scenario({{"scenario", "cold"}}, &why));
}

TEST(ServeRequest, JsonStringsAreValidUtf8) {
  EXPECT_EQ(json_string("RANGE: 15"), "\"RANGE: 15\"");
  EXPECT_EQ(json_string("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\u000a\\u0001\"");
  // The module's texts are Latin-1: the degree sign of the traffic readout.
  EXPECT_EQ(json_string("TRK: 90\xB0"), "\"TRK: 90\xC2\xB0\"");
  // UTF-8 passes; a sequence cut short is taken byte by byte as Latin-1.
  EXPECT_EQ(json_string("\xE2\x82\xAC"), "\"\xE2\x82\xAC\"");
  EXPECT_EQ(json_string("\xE2\x82"), "\"\xC3\xA2\xC2\x82\"");
  // Forms UTF-8 forbids (a five-byte lead, a surrogate, an overlong zero)
  // are no characters either: the script printer escapes the same ones.
  for (const char *bad : {"\xF8\x80\x80", "\xED\xA0\x80", "\xE0\x80\x80"}) {
    EXPECT_EQ(json_string(bad).find(bad), std::string::npos) << printable(bad);
    EXPECT_NE(printable(bad).find("\\x"), std::string::npos);
  }
}

}  // namespace
}  // namespace z480
