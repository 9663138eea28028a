// Placeholder until the encoding-1 development lands: develops nothing, so an
// encoding-1 genotype builds an empty body. Delete this file with that change.
#include "world/f1_development.h"

namespace vorlund {

void developF1(org&, const std::string&, const SimSettings&) {}

}  // namespace vorlund
