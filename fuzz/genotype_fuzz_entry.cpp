#include "genotype_fuzz_entry.h"

#include <string>

#include "core/random.h"
#include "genetics/genman.h"
#include "quiet_log.h"

namespace {

using vorlund::GenMan;

// Longer inputs are cut: the operators are linear or quadratic in the length,
// and a fuzzer gains nothing from megabytes.
constexpr size_t kMaxInput = 2048;
// Mutation and crossover run the manager's retry loop; only shorter texts get them.
constexpr size_t kMaxOperatedInput = 300;
// A second parent for inputs that do not bring one (no NUL byte).
constexpr const char* kDefaultPartner = "X(X[0:1],LX)";

// Contradictions between operators, as return codes.
constexpr int kValidatedNotValid = 1;
constexpr int kValidateNotStable = 2;
constexpr int kValidButNotValidated = 3;
constexpr int kMutantNotValid = 4;
constexpr int kNoValidChild = 5;
constexpr int kNotSelfSimilar = 6;
constexpr int kValidButChanged = 7;

int checkOne(GenMan& gm, const std::string& text) {
  const int check = gm.CheckValidity(text);
  std::string validated = text;
  const int v = gm.Validate(validated);
  if (v == vorlund::GENMAN_OK && GenMan::GetFormat(text) == '1') {
    if (gm.CheckValidity(validated) != 0) return kValidatedNotValid;
    std::string again = validated;
    if (gm.Validate(again) != vorlund::GENMAN_OK || again != validated) return kValidateNotStable;
  }
  // Encoding 2 has no repair step, so its manager-level Validate always fails.
  if (check == 0 && v != vorlund::GENMAN_OK && GenMan::GetFormat(text) != '2') return kValidButNotValidated;
  // Encoding 1 tidies white space even in a valid text; encoding 4 changes nothing.
  if (check == 0 && v == vorlund::GENMAN_OK && GenMan::GetFormat(text) == '4' && validated != text)
    return kValidButChanged;
  for (size_t i = 0; i <= text.size(); ++i) (void)gm.Style(text, static_cast<int>(i));
  return 0;
}

}  // namespace

int fuzzGenotypeOperators(const uint8_t* data, size_t size) {
  QuietLog quiet;
  static GenMan gm;
  static const bool registered = (vorlund::registerStandardOperators(gm), true);
  (void)registered;

  if (size > kMaxInput) size = kMaxInput;
  const std::string all(reinterpret_cast<const char*>(data), size);
  vorlund::seedRandom(size > 0 ? data[0] : 0);
  const size_t nul = all.find('\0');
  const std::string g1 = all.substr(0, nul);
  const std::string g2 = nul == std::string::npos ? std::string(kDefaultPartner) : all.substr(nul + 1);

  if (int r = checkOne(gm, g1)) return r;
  if (int r = checkOne(gm, g2)) return r;

  const float self = gm.Similarity(g1, g1);
  if (GenMan::GetFormat(g1) == '1' && !g1.empty() && self != 1.0f) return kNotSelfSimilar;
  (void)gm.Similarity(g1, g2);

  if (g1.size() <= kMaxOperatedInput) {
    std::string mutant = g1, info;
    if (gm.Mutate("fuzz", mutant, info) == vorlund::GENMAN_OK && GenMan::GetFormat(mutant) == '1' &&
        gm.CheckValidity(mutant) != 0)
      return kMutantNotValid;
  }
  if (g1.size() <= kMaxOperatedInput && g2.size() <= kMaxOperatedInput) {
    std::string c1 = g1, c2 = g2, i1, i2;
    if (gm.CrossOver("a", c1, i1, "b", c2, i2) == vorlund::GENMAN_OK && GenMan::GetFormat(c1) == '1' &&
        gm.CheckValidity(c1) != 0 && gm.CheckValidity(c2) != 0)
      return kNoValidChild;
  }
  return 0;
}
