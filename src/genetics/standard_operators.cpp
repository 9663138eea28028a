#include <memory>

#include "genetics/f1/geno_f1.h"
#include "genetics/genman.h"

namespace vorlund {

void registerStandardOperators(GenMan& gm) {
  // Each encoding's operator is registered here, in the order 1, 2, 4.
  gm.registerOperator('1', std::make_unique<TGeno_f1>());
}

}  // namespace vorlund
