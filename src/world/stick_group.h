// The sticks of one range of the force phase that wait for the spring lanes
// (stick_springs_avx.h): gathered across the range's objects, four or eight
// at a time, so that the lanes run full whatever each body's number of sticks.
#pragma once

#include "world/stick_springs_avx.h"

namespace vorlund {

struct est;
class org;

struct StickGroup {
  SpringLane in[kWideSpringLanes];
  est* sticks[kWideSpringLanes];
  org* owners[kWideSpringLanes];  // who earns each stick's assimilation; none for a growing body
  int count = 0;
};

}  // namespace vorlund
