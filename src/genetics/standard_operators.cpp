#include <memory>

#include "genetics/f4/geno_f4.h"
#include "genetics/genman.h"

namespace vorlund {

void registerStandardOperators(GenMan& gm) {
  // Each encoding's operator is registered here, in the order 1, 2, 4.
  gm.registerOperator('4', std::make_unique<TGeno_f4>());
}

}  // namespace vorlund
