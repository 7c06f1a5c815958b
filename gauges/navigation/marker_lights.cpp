// Marker_Lights: the outer, middle and inner marker lamps, one lit for the
// beacon the host reports, and a press-to-test button that lights all three
// while held and for 17 drawing passes after release.
// Reads: kVarMarkerBeacon, the marker beacon (1 outer, 2 middle, 3 inner).
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Marker_Lights_Header;

namespace {
constexpr std::int32_t kHelpOuter = 43847;
constexpr std::int32_t kHelpMiddle = 43848;
constexpr std::int32_t kHelpInner = 43849;
constexpr GaugeHeader *kSelf = &Marker_Lights_Header;

// A press sets this; the test image counts it down while above 1.
constexpr int kTestPasses = 18;
int Marker_Test_Count = 0;

constexpr double kDraw = 0.0;
constexpr double kNoDraw = -1.0;

// --- element callbacks

template <int Beacon>
double FSAPI marker_lamp(IconElement *e) {
  return e->source_var.var_value.n == Beacon ? kDraw : kNoDraw;
}

double FSAPI marker_test_image(IconElement *) {
  if (Marker_Test_Count <= 1) return kNoDraw;
  --Marker_Test_Count;
  return kDraw;
}

// --- mouse callbacks

std::int32_t FSAPI marker_test(MouseCallbackRecord *, std::uint32_t) {
  Marker_Test_Count = kTestPasses;
  return 0;
}

// --- the elements

FailureRecord lamp_failures[] = {
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    kFailuresEnd,
};

constexpr IconElement lamp(std::int32_t bitmap, PixPoint pos, IconCallback cb) {
  return icon({.bitmap = bitmap,
               .pos = pos,
               .flags = kImageBright,
               .failures = lamp_failures,
               .gauge = kSelf,
               .token = kVarMarkerBeacon,
               .callback = cb});
}

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 430, .flags = kImageStandard, .gauge = kSelf});
  IconElement test_image = lamp(470, {12, 12}, marker_test_image);
  IconElement outer = lamp(440, {12, 12}, marker_lamp<1>);
  IconElement middle = lamp(450, {12, 52}, marker_lamp<2>);
  IconElement inner = lamp(460, {12, 91}, marker_lamp<3>);
};
constinit DrawOrder<Parts, &Parts::background, &Parts::test_image, &Parts::outer, &Parts::middle,
                    &Parts::inner>
    tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_callback({12, 12, 22, 22}, kCursorHand, kMouseLeftSingle | kMouseDownRepeat, marker_test),
    mouse_parent({12, 12, 22, 22}, kHelpOuter),
    mouse_end_parent(),
    mouse_parent({12, 52, 22, 22}, kHelpMiddle),
    mouse_end_parent(),
    mouse_parent({12, 91, 22, 22}, kHelpInner),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Marker_Lights_Header = gauge_header<&Marker_Lights_Header>(
    {.name = "Marker_Lights", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
