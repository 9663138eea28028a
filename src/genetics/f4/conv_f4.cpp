#include "genetics/converters.h"
#include "genetics/f4/f4_organism.h"
#include "genetics/f4/f4_writers.h"

namespace vorlund {

namespace {

// Targets of the encoding-4 conversion.
constexpr int F4_TARGET_F0 = 0;
constexpr int F4_TARGET_F1 = 1;

// Develops the body and writes it for the target; 0 when it does not develop.
int convertF4(const std::string& body, int target, std::string& out) {
  if (target != F4_TARGET_F0 && target != F4_TARGET_F1) return 0;
  Organism org;
  if (developOrganism(body, org) != F4_DEV_OK) return 0;
  out = target == F4_TARGET_F0 ? writeOrganismF0(org) : writeOrganismF1(org);
  return 1;
}

}  // namespace

int convertF4ToF0(const std::string& body, std::string& out) { return convertF4(body, F4_TARGET_F0, out); }

int convertF4ToF1(const std::string& body, std::string& out) { return convertF4(body, F4_TARGET_F1, out); }

// Encoding 1 goes through its own development: the result is the same kind of body.
int convertF1ToF0ViaF4(const std::string& body, std::string& out) { return convertF1ToF0(body, out); }

}  // namespace vorlund
