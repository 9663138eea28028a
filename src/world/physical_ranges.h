// The physical ranges of body values: what the validity checker accepts of a
// live object (bounds are valid values), and what the format-0 reader lets
// into a body so that the physics stays finite.
#pragma once

namespace vorlund {

constexpr double kPositionLimit = 1000;  // stick-end coordinates, world units
constexpr double kVelocityLimit = 100;   // stick-end velocity, units per step
constexpr double kFrameLimit = 2;        // components of an orientation frame
constexpr double kMassMin = 0.1, kMassMax = 10;
constexpr double kFrictionMax = 10;
constexpr double kIngestionMax = 1;
constexpr double kAngleLimit = 10;       // joint angles, radians
constexpr double kMusclePowerMax = 1;
constexpr double kPropertyMax = 10;      // assimilation, strength, movement range
constexpr double kOutputLimit = 1;       // neuron output
constexpr double kStateLimit = 10;       // neuron state
constexpr double kWeightLimit = 1000;    // neuron input weight

// How far apart the stick ends of one body description may lie on each axis:
// a quarter of the checker's range, so that a body of that size placed in the
// largest world (the box's corner may go negative for a body wider than the
// world) stays inside the checker's range. Where the body lies does not matter,
// placement moves it.
constexpr double kBodyExtentLimit = kPositionLimit / 4;
// How far from the origin a body description may place a stick end at all:
// far enough for any drawing, near enough that sums of many positions and the
// turn at placement cannot overflow, and that differences of neighbouring
// ends keep their first nine digits.
constexpr double kBodyCoordinateLimit = 1e6;

}  // namespace vorlund
