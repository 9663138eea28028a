// The "f1 -> f0" converter: develops an encoding-1 genotype into a temporary
// creature exactly as the creature builder does and writes that body as format 0.
#include "genetics/converters.h"
#include "genetics/genman.h"
#include "world/format0.h"
#include "world/genetics_context.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund {

namespace {

// The builder refuses genotypes that the encoding's check does not accept as
// written; the converter checks with the standard operators, built once.
const GenMan& checkingManager() {
  static const GenMan* manager = [] {
    static GenMan gm;
    registerStandardOperators(gm);
    return &gm;
  }();
  return *manager;
}

}  // namespace

int convertF1ToF0(const std::string& body, std::string& out) {
  // Sticks are written at full length, as if no growing phase followed.
  static const SimSettings defaults;
  const Genetics genetics{&checkingManager(), &defaults, nullptr};
  org temp(&genetics, body);
  temp.allocatePositionMap();
  // A genotype that cannot be built still converts: to the line break alone.
  out = temp.Build() == ORG_BUILD_OK ? writeFormat0(temp) : std::string("\n");
  return 1;
}

}  // namespace vorlund
