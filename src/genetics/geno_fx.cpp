#include "genetics/geno_fx.h"

namespace vorlund {

int TGeno_fx::CheckValidity(const std::string&) { return GENOPER_NOT_PROVIDED; }
int TGeno_fx::Validate(std::string&) { return GENOPER_NOT_PROVIDED; }
int TGeno_fx::Mutate(std::string&, float&) { return GENOPER_NOT_PROVIDED; }
int TGeno_fx::CrossOver(std::string&, std::string&, float&, float&) { return GENOPER_NOT_PROVIDED; }
float TGeno_fx::Similarity(const std::string&, const std::string&) { return static_cast<float>(GENOPER_NOT_PROVIDED); }
uint32_t TGeno_fx::Style(const std::string&, int) { return 0; }
int TGeno_fx::MarkerNewline() { return 1; }

}  // namespace vorlund
