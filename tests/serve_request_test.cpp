// What the panel server lets in: requests from this machine only, and
// bodies read whole and within range.
#include <gtest/gtest.h>

#include "frame/panel.h"
#include "host/script/script.h"
#include "host/serve/serve_request.h"

namespace z480 {
namespace {

TEST(ServeRequest, HostHeaderMustNameThisServer) {
  for (const char *ok : {"localhost:8480", "127.0.0.1:8480", "[::1]:8480"})
    EXPECT_TRUE(local_host_header(ok, 8480)) << ok;
  EXPECT_TRUE(local_host_header("localhost", 80));
  // A name made to resolve here (DNS rebinding), a port that is none, or
  // another program's port on this machine.
  for (const char *bad : {"", "example.com", "localhost.example.com", "127.0.0.1.nip.io",
                          "localhost", "localhost:", "localhost:0", "localhost:65536",
                          "localhost:80x", "localhost:+8480", "[::1", "::1", "127.0.0.2:8480",
                          "localhost :8480", "localhost:3000", "localhost:08480x"})
    EXPECT_FALSE(local_host_header(bad, 8480)) << bad;
}

TEST(ServeRequest, OriginMustBeAPageOfThisServer) {
  EXPECT_TRUE(local_origin(std::nullopt, 8480));
  EXPECT_TRUE(local_origin("http://localhost:8480", 8480));
  EXPECT_TRUE(local_origin("http://127.0.0.1", 80));
  EXPECT_TRUE(local_origin("http://[::1]:9000", 9000));
  for (const char *bad : {"null", "", "http://example.com", "http://localhost.example.com:8480",
                          "https://example.com", "http://localhost:8480/", "file://",
                          "localhost:8480", "http://127.0.0.1@example.com", "http://localhost:3000",
                          "http://localhost"})
    EXPECT_FALSE(local_origin(std::string_view(bad), 8480)) << bad;
}

TEST(ServeRequest, FormsDecodeWholeOrNotAtAll) {
  std::string why;
  auto f = parse_form("gauge=Z480_NAV_COM_1&x=12&text=a+b%20c%2B&empty=&flag", &why);
  ASSERT_TRUE(f) << why;
  EXPECT_EQ(f->at("gauge"), "Z480_NAV_COM_1");
  EXPECT_EQ(f->at("text"), "a b c+");
  EXPECT_EQ(f->at("empty"), "");
  EXPECT_EQ(f->at("flag"), "");
  EXPECT_TRUE(parse_form("", &why)->empty());
  EXPECT_EQ(parse_form("a=1&&b=2&", &why)->size(), 2u);
  // An escape cut short or not hexadecimal, and a field twice, refuse it all.
  for (const char *bad : {"x=%", "x=%4", "x=%zz", "x=1&x=2", "%=1", "a=%G0"}) {
    why.clear();
    EXPECT_FALSE(parse_form(bad, &why)) << bad;
    EXPECT_FALSE(why.empty());
  }
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

TEST(ServeRequest, TextsBecomeUtf8) {
  EXPECT_EQ(utf8_text("RANGE: 15"), "RANGE: 15");
  // The module's texts are Latin-1: the degree sign of the traffic readout.
  EXPECT_EQ(utf8_text("TRK: 90\xB0"), "TRK: 90\xC2\xB0");
  // UTF-8 passes; a sequence cut short is taken byte by byte as Latin-1.
  EXPECT_EQ(utf8_text("\xE2\x82\xAC"), "\xE2\x82\xAC");
  EXPECT_EQ(utf8_text("\xE2\x82"), "\xC3\xA2\xC2\x82");
  // Forms UTF-8 forbids (a five-byte lead, a surrogate, an overlong zero)
  // are no characters either: the script printer escapes the same ones.
  for (const char *bad : {"\xF8\x80\x80", "\xED\xA0\x80", "\xE0\x80\x80"}) {
    EXPECT_EQ(utf8_text(bad).find(bad), std::string::npos) << printable(bad);
    EXPECT_NE(printable(bad).find("\\x"), std::string::npos);
  }
}

}  // namespace
}  // namespace z480
