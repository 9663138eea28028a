// The constants of the physics step. One step is one unit of time: forces are
// added to velocities directly (divided by mass) and positions move by the
// velocity. Lengths are world units.
#pragma once

namespace vorlund {

// Share of a stick's position error that its spring pulls back per step.
constexpr double SPRING_GAIN = 0.15;
// Low-damping model: gain of the change of the position and orientation errors.
constexpr double DERIVATIVE_GAIN = 0.1;
// Share of a stick's orientation error that turns its ends back.
constexpr double ORIENTATION_GAIN = 0.2;
// Share of an end's velocity across its stick that water resists.
constexpr double WATER_DRAG = 0.2;
// Sticks shorter than this (squared length) feel no water drag.
constexpr float WATER_DRAG_MIN_LENGTH2 = 0.001f;
// A stick crossing block cells is sampled at this many inner points, each
// pushed out of the ground by this share of its depth.
constexpr int BLOCK_SAMPLES = 9;
constexpr double BLOCK_PUSH = 0.02;
// Share of its depth that pushes a stick end out of the ground per step.
constexpr double GROUND_PUSH = 0.5;
// Static friction holds an end at its anchor up to this many times friction x push.
constexpr double FRICTION_LIMIT_FACTOR = 2.0;
// Low-damping model: an end that stays on the ground keeps this share of its velocity.
constexpr double GROUND_VELOCITY_KEEP = 0.5;
// Gravity and buoyancy per unit of mass / buoyancy, per step.
constexpr double GRAVITY = 0.005;
constexpr double BUOYANCY = 0.005;
// Stick ends of different objects interact within these distances.
constexpr double EAT_RANGE = 2.0;
constexpr double PUSH_RANGE = 1.0;
// Closer than this the push is a fixed amount per axis (the proportional push
// would blow up as the distance goes to 0).
constexpr double CLOSE_RANGE = 0.3;
constexpr double CLOSE_PUSH = 1.16;
constexpr double PUSH_GAIN = 0.5;
// A stick end without a positive mass (a format-0 record may give 0 or less)
// falls and moves as if it had the default mass, rather than dividing by zero
// or falling upward.
constexpr double FALLBACK_MASS = 1.0;
// Assimilation per unit of `sun` and `asym`, per step.
constexpr double ASSIMILATION_FACTOR = 0.005;

}  // namespace vorlund
