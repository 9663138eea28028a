// Helpers of the world tests: a world set up from a map text, and a message
// catcher that keeps the log quiet and remembers what was reported.
#pragma once

#include <string>

#include "support/message_capture.h"
#include "world/world_map.h"

namespace vorlund::testing_world {

using MessageCatcher = test_support::MessageCapture;

// Sets the fields directly and builds, as loading the settings does.
inline void makeBlocks(world& w, const std::string& map, double size = 50.0) {
  w.vars.wrldtyp = WORLD_BLOCKS;
  w.vars.wrldsiz = size;
  w.vars.wrldmap = map;
  w.build();
}

}  // namespace vorlund::testing_world
