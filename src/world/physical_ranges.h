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

// Coordinates a body description may give its stick ends: a quarter of the
// checker's range, so that a body of that size placed in the largest world
// (the box's corner may go negative for a body wider than the world) stays
// inside the checker's range.
constexpr double kBodyCoordinateLimit = kPositionLimit / 4;
// The lightest stick end a body description may give: encoding 1 never makes
// one lighter (each stick adds 1 to both its ends), and in a crowded world
// ends of a few tenths of a unit go unstable and leave the finite numbers.
constexpr double kBodyMassMin = 1;
// Neuron inertia and force, as encoding 1 clamps them: above 1 the state's
// rate of change grows without bound.
constexpr double kNeuronGainMax = 1;

}  // namespace vorlund
