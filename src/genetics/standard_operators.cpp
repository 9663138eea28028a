#include <memory>

#include "genetics/f1/geno_f1.h"
#include "genetics/f2/geno_f2.h"
#include "genetics/f4/geno_f4.h"
#include "genetics/genman.h"

namespace vorlund {

void registerStandardOperators(GenMan& gm) {
  // Registration order is lookup order: encodings 1, 2, 4.
  gm.registerOperator('1', std::make_unique<TGeno_f1>());
  gm.registerOperator('2', std::make_unique<TGeno_f2>());
  gm.registerOperator('4', std::make_unique<TGeno_f4>());
}

}  // namespace vorlund
