// Turn_Ball: the inclinometer ball, riding a tube that curves up at both ends.
// Reads: kVarTurnBall, the ball deflection (signed, 0 = centred).
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Turn_Ball_Header;

namespace {
constexpr std::int32_t kHelpTurnBall = 43873;
constexpr GaugeHeader *kSelf = &Turn_Ball_Header;
constexpr double kSidewaysPixels = 0.3515625;    // 45/128 px per unit of deflection
constexpr double kRisePixels = -0.000244140625;  // b*b/4096 px upward
}  // namespace

// The ball's height: the square of its deflection, so b and -b sit equally high.
double FSAPI ball_height(SliderElement *e) {
  double b = e->source_var_y.var_value.n;
  return b * b;
}

namespace {
struct Parts {
  StaticImageElement dial = static_image({.bitmap = 300, .flags = kImageLit, .gauge = kSelf});
  SliderElement ball = slider({.bitmap = 310,
                               .pos = {79, 27},
                               .flags = kImageLitSmooth,
                               .gauge = kSelf,
                               .x = {.token = kVarTurnBall, .scale = kSidewaysPixels},
                               .y = {.token = kVarTurnBall, .scale = kRisePixels},
                               .y_callback = ball_height});
  StaticImageElement glass = static_image({.bitmap = 320, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::ball, &Parts::glass> tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpTurnBall), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Turn_Ball_Header =
    gauge_header<&Turn_Ball_Header>({.name = "Turn_Ball", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
