// Must not compile: the glass is declared but left out of the drawing order.
#include "frame/declare.h"

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 1});
  NeedleElement hand = pointer({.bitmap = 2});
  StaticImageElement glass = static_image({.bitmap = 3});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::hand> tree;
