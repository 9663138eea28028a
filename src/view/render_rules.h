// The arithmetic of the 3D view that needs no GL context: projection angle,
// light direction, stick colour, ball size and whether a stick casts a shadow.
#pragma once

#include "view/gl_settings.h"
#include "world/body.h"
#include "world/vec3.h"
#include "world/world_map.h"

namespace vorlund {

class org;

// Vertical field of view in degrees for a w x h view: 60 when the view is
// taller than wide, narrower as it widens. A zero height counts as one pixel.
double fieldOfView(int width, int height);

// The directional light's position (w = 0) for a light angle and height in degrees.
Vec3 lightPosition(double angle, double height);

// The colour of a stick: strength, assimilation and the first end's ingestion
// for a living creature, the corpse colour for remains.
Rgba stickColour(const est& stick, const org& owner);

// The radius of an energy ball of `energy`: at most 0.5, never negative.
double ballRadius(double energy);

// The shadow a stick from a to b casts on the ground of `w`: a quad of
// half-width 0.1 under the stick. False when the stick is too short
// horizontally (below 0.05) or steeper than 45 degrees over the ground.
bool stickShadow(const world& w, const Vec3& a, const Vec3& b, Vec3 (&quad)[4]);

// Whether an object is a bare energy ball (no sticks, one end at least).
bool isBall(const org& o);

}  // namespace vorlund
