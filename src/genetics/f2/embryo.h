// The embryo converter: assembles the stick and connection records of an
// encoding-2 genotype into a body by affinity of their vectors and writes that
// body as an encoding-1 genotype.
#pragma once

#include <string>

namespace vorlund {

// The converter's two switches, kept in "parametr.txt".
struct EmbryoOptions {
  int writeOnlyStkAndF1 = 1;  // 0: also write the intermediate listings
  int moreInformations = 0;   // 1: report counts and progress
};

constexpr const char* kEmbryoOptionsFile = "parametr.txt";
// The name the in-memory input stands for; the intermediate listings are named after it.
constexpr const char* kEmbryoInputBase = "_temp";

// Reads the options; when the file cannot be read, uses the defaults and
// writes the file with them so that the user finds and can edit it.
EmbryoOptions readEmbryoOptions(const std::string& path);

// Converts an encoding-2 body to an encoding-1 body (with its closing line
// break). 1 on success; 0 on failure, reported as a critical "f2"/"err" message.
// `listingBase` names the intermediate listings (base + ".f3", ".2f3", ".1f3").
int embryoConvert(const std::string& input, std::string& out, const EmbryoOptions& options,
                  const std::string& listingBase);

}  // namespace vorlund
