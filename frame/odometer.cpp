#include "frame/odometer.h"

#include <cmath>

double odometer_digit(double x, double place, double span, double modulus) {
  if (!std::isfinite(x) || !(place > 0.0) || !(span > 0.0) || !(modulus > 0.0)) return 0.0;
  double steps = std::floor(x / place);
  double below = x - place * steps;
  double roll = (below - place + span) * (place / span);
  if (!(roll > 0.0)) roll = 0.0;
  double v = place * steps + roll;
  double result = v - modulus * std::floor(v / modulus);
  // Rounding at the wrap can land a hair outside the strip.
  if (!(result >= 0.0)) return 0.0;
  return result > modulus ? modulus : result;
}

double odometer_drum(const MovingImageElement &drum, double x) {
  double modulus = std::fmax(drum.max_y, drum.min_y);
  return odometer_digit(x, drum.min_x, drum.max_x, modulus);
}
