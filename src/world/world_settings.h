// The fields of the "World" parameter table: what the user asks the world to
// be. The map actually in effect may differ (a blocks map that failed to build
// leaves a flat world); the world object keeps that part itself.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

namespace vorlund {

// Values of `wrldtyp` (and of the world's active type).
constexpr int32_t WORLD_FLAT = 0;
constexpr int32_t WORLD_BLOCKS = 1;

// Values of `wrldbnd`.
constexpr int32_t BOUNDARY_NONE = 0;
constexpr int32_t BOUNDARY_FENCE = 1;
constexpr int32_t BOUNDARY_TELEPORT = 2;

// Side length of the world square, in world units.
constexpr double kWorldSizeMin = 10.0;
constexpr double kWorldSizeMax = 200.0;
constexpr double kWorldSizeDefault = 50.0;
// Water surface height; everything below it is under water.
constexpr double kWaterLevelDefault = -1.0;

struct WorldSettings {
  int32_t wrldtyp = WORLD_FLAT;
  double wrldsiz = kWorldSizeDefault;
  double wrldwat = kWaterLevelDefault;
  int32_t wrldbnd = BOUNDARY_FENCE;
  std::string wrldmap;
};
// The parameter table addresses the fields through offsetof.
static_assert(std::is_standard_layout_v<WorldSettings>);

}  // namespace vorlund
