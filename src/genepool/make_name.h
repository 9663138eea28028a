// The generated display name of a genotype: a part derived from the genotype
// text and a part derived from the body built from it.
#pragma once

#include <string>

namespace vorlund {

class org;

// "%s %s": three syllables from hashes of the text, then consonants from the
// stick-end masses interleaved with vowels from the neurons' input counts.
std::string makeName(const org& creature);

// The two parts on their own (the body part from the creature's body).
std::string makeGenotypeNamePart(const std::string& genotype);
std::string makeBodyNamePart(const org& creature);

}  // namespace vorlund
