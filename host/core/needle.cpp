#include "host/core/needle.h"

#include <cmath>
#include <numbers>

namespace z480 {
namespace {
constexpr double kPi = std::numbers::pi;

// The step from angle a to angle b, clockwise: a needle turns clockwise from
// each entry of its table to the next (a scale listed from its high end runs
// clockwise towards its low end), so an engine dial may sweep three quarters
// of a turn between two entries.
double turn_between(double a, double b) {
  double d = std::fmod(b - a, 2 * kPi);
  if (d < 0) d += 2 * kPi;
  if (d > 2 * kPi - 1e-12) d = 0;
  return d;
}

double between(const NonlinearityEntry &lo, const NonlinearityEntry &hi, double value) {
  double span = hi.value - lo.value;
  if (span == 0.0) return lo.degrees;
  return lo.degrees + turn_between(lo.degrees, hi.degrees) * ((value - lo.value) / span);
}
}  // namespace

void fill_table_angles(NonlinearityEntry *table, std::uint32_t size, PixPoint pivot) {
  for (std::uint32_t i = 0; i < size; ++i) {
    double dx = table[i].pt.x - pivot.x;
    double dy = table[i].pt.y - pivot.y;
    table[i].degrees = std::atan2(dx, -dy);
  }
}

double table_angle(const NonlinearityEntry *table, std::uint32_t size, double value) {
  if (size == 0 || !table) return value * kPi / 180.0;
  if (size == 1) return table[0].degrees;
  if (size == 2) return between(table[0], table[1], value);
  // Tables run with rising or with falling values; compare in table order.
  double sign = table[size - 1].value < table[0].value ? -1.0 : 1.0;
  if (sign * value <= sign * table[0].value) return table[0].degrees;
  // Accumulate the turns so a scale that passes straight up keeps going.
  double angle = table[0].degrees;
  for (std::uint32_t i = 0; i + 1 < size; ++i) {
    const NonlinearityEntry &lo = table[i];
    const NonlinearityEntry &hi = table[i + 1];
    double step = turn_between(lo.degrees, hi.degrees);
    if (sign * value < sign * hi.value) {
      double span = hi.value - lo.value;
      return span == 0.0 ? angle : angle + step * ((value - lo.value) / span);
    }
    angle += step;
  }
  return angle;
}

double wrap_degrees(double radians) {
  double d = std::fmod(radians * 180.0 / kPi, 360.0);
  if (d < 0) d += 360.0;
  if (d >= 360.0) d -= 360.0;
  return d;
}

}  // namespace z480
