// The registration plate's parameter handling on hand-made records: hosts
// that give the string element less room, missing records, and names that
// would not fit the font-name field.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/declare.h"
#include "radar/registration.h"

namespace {

// A plate whose host gives the text a buffer of exactly `room` bytes, the
// record's length (the terminator counted), with a canary after it.
struct Plate {
  explicit Plate(const char *params, std::uint16_t room = 8) {
    text = string_element({.text_color = 0xFFFFFF, .font = "Arial", .characters = 7});
    text.max_string_length = room;
    buffer.assign(room, '\x7f');
    canary = buffer.size();
    buffer.push_back('#');
    text.string = buffer.data();
    text.header.gauge_header = &gauge;
    background_next[0] = &text.header;
    background.header.next_element = background_next;
    elements[0] = &background.header;
    gauge.elements_list = elements;
    gauge.parameters = params;
  }
  std::string shown() {
    registration_text(&text);
    EXPECT_EQ(buffer[canary], '#') << "wrote past the host's buffer";
    return text.string;
  }
  StaticImageElement background{};
  StringElement text{};
  GaugeElement *background_next[2] = {nullptr, nullptr};
  GaugeElement *elements[2] = {nullptr, nullptr};
  GaugeHeader gauge{};
  std::string buffer;
  std::size_t canary = 0;
};

TEST(RegistrationText, NeverWritesPastTheElementsRoom) {
  // The declared record holds the seven characters and the terminator.
  EXPECT_EQ(Plate("t").text.max_string_length, 8);
  Plate exact("tABCDEFGHI");
  EXPECT_EQ(exact.shown(), "ABCDEFG");
  Plate narrow("tABCDEFGHI", 4);
  EXPECT_EQ(narrow.shown(), "ABC");
  Plate terminator_only("tABC", 1);
  EXPECT_EQ(terminator_only.shown(), "");
  Plate none("tABC", 0);
  none.shown();
  Plate wide("tABCDEFGHIJKLMNOP", 20);  // the plate shows seven whatever the room
  EXPECT_EQ(wide.shown(), "ABCDEFG");
  Plate fallback(nullptr, 5);
  EXPECT_EQ(fallback.shown(), "N700");
}

TEST(RegistrationText, WithoutBufferOrHeaderKeepsCalm) {
  Plate p("tABC");
  p.text.string = nullptr;
  EXPECT_EQ(registration_text(&p.text), 0.0);
  EXPECT_EQ(registration_text(nullptr), 0.0);
  Plate orphan("tABC");
  orphan.text.header.gauge_header = nullptr;
  EXPECT_EQ(orphan.shown(), "N700MS");
}

TEST(RegistrationOptions, FontNameIsCutToItsField) {
  std::string params = "tX f" + std::string(100, 'F');
  Plate p(params.c_str());
  registration_apply_options(&p.gauge);
  EXPECT_EQ(std::strlen(p.text.font_name), sizeof p.text.font_name - 1);
  Plate empty_font("tX f");
  registration_apply_options(&empty_font.gauge);
  EXPECT_STREQ(empty_font.text.font_name, "");
}

TEST(RegistrationOptions, StartsFromTheCurrentColourAndNeedsItsRecords) {
  Plate p("tX g0");
  p.text.fg_color = 0x123456;
  registration_apply_options(&p.gauge);
  EXPECT_EQ(p.text.fg_color, 0x120056u);
  Plate no_blank("tXr0");
  registration_apply_options(&no_blank.gauge);
  EXPECT_EQ(no_blank.text.fg_color, 0xFFFFFFu);

  Plate wrong_kind("tX r0");
  wrong_kind.text.header.element_type = kIcon;  // not a string element: untouched
  registration_apply_options(&wrong_kind.gauge);
  EXPECT_EQ(wrong_kind.text.fg_color, 0xFFFFFFu);
  Plate childless("tX r0");
  childless.background.header.next_element = nullptr;
  registration_apply_options(&childless.gauge);
  registration_apply_options(nullptr);
  registration_install(&childless.gauge, kServiceInstall, 0);
  EXPECT_EQ(childless.text.fg_color, 0xFFFFFFu);
}

TEST(RegistrationInstall, AppliesOptionsAtInstallOnly) {
  Plate p("tX r0");
  registration_install(&p.gauge, kServicePreUpdate, 0);
  EXPECT_EQ(p.text.fg_color, 0xFFFFFFu);
  registration_install(&p.gauge, kServiceInstall, 0);
  EXPECT_EQ(p.text.fg_color, 0xFFFF00u);
}

}  // namespace
