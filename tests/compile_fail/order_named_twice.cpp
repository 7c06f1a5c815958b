// Must not compile: the hand is named twice (and so drawn in a loop).
#include "frame/declare.h"

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 1});
  NeedleElement hand = pointer({.bitmap = 2});
  NeedleElement spare = pointer({.bitmap = 3});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::hand, &Parts::hand> tree;
