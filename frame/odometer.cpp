#include "frame/odometer.h"

#include <cmath>

double odometer_digit(double x, double place, double span, double modulus) {
  if (!std::isfinite(x) || !(place > 0.0) || !(span > 0.0) || !(modulus > 0.0) ||
      !std::isfinite(place / span))
    return 0.0;
  double steps = place * std::floor(x / place);
  double below = x - steps;
  double t = (below - place + span) * (place / span);
  double v = steps + (t > 0.0 ? t : 0.0);
  double position = v - modulus * std::floor(v / modulus);
  // Rounding at the wrap may land a hair outside the strip.
  if (!(position >= 0.0)) return 0.0;
  return position > modulus ? modulus : position;
}
