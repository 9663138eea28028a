// The spring arithmetic of the stick phase: where a stick's first end and
// the joint put the second end, and the pull and turn the two ends receive.
// It reads the ends and writes only the stick's own records, so the sticks of
// an object can be worked out four at a time (stick_springs_avx.h) and their
// pulls applied after, in stick order, with the same bits as one by one.
#pragma once

#include "world/body.h"
#include "world/vec3.h"

namespace vorlund {

// What a stick's spring does to its ends in one step, before water drag.
struct SpringPull {
  Vec3 target;  // where the second end should be, world space
  Vec3 force;   // on the second end; the first end receives -force
  Vec3 turn;    // on the second end; the first end receives -turn
};

}  // namespace vorlund
