#include "genetics/converters.h"
#include "genetics/f2/embryo.h"

namespace vorlund {

// The conversion runs in memory; "parametr.txt" still holds the converter's
// switches so that the user can ask for the intermediate listings.
int convertF2ToF1(const std::string& body, std::string& out) {
  const EmbryoOptions options = readEmbryoOptions(kEmbryoOptionsFile);
  return embryoConvert(body, out, options, kEmbryoInputBase);
}

}  // namespace vorlund
