#include <memory>

#include "genetics/f2/geno_f2.h"
#include "genetics/genman.h"

namespace vorlund {

void registerStandardOperators(GenMan& gm) {
  // Each encoding's operator is registered here, in the order 1, 2, 4.
  gm.registerOperator('2', std::make_unique<TGeno_f2>());
}

}  // namespace vorlund
