// A developer's aid: with `debug` on, every simulated object is checked at
// fixed points of each step for broken links and values out of their physical
// range. Findings are critical messages (module "debug", function = the check
// point's label), which stop the run; the check itself changes nothing.
#pragma once

#include <string_view>

#include "core/lists.h"
#include "world/org.h"

namespace vorlund {

// Checks every object of the two-list view; does nothing unless `enabled`.
void checkValidity(const listaduo<org>& objects, bool enabled, std::string_view label);

// The checks of one object, reported under `label`.
void checkObject(const org& o, std::string_view label);

}  // namespace vorlund
