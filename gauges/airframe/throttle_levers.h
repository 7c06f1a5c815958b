// Where along a lever the pilot clicked or dragged.
#pragma once

#include <cstdint>

// 1 at the top of a lever rectangle of height h, 0 at its bottom: 1 - y / h
// held to 0 to 1. A rectangle without height gives 0.
double lever_fraction(std::int32_t y, std::int32_t h);
