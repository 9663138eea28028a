// Shared helpers of the encoding-1 operator tests: a message collector and an
// operator whose mutation sites are all switched off.
#pragma once

#include <string>

#include "support/message_capture.h"
#include "genetics/f1/geno_f1.h"

namespace vorlund::test {

// Collects every message logged while it lives; keeps stderr quiet meanwhile.
using MessageLog = test_support::MessageCapture;

// Every mutation site off: a pass then only rewrites modifier runs and drops
// text after closed branchings.
inline void silenceSites(f1::F1Params& p) {
  p.geno_f1_sm0 = p.geno_f1_sm1 = p.geno_f1_sm2 = p.geno_f1_sm3 = p.geno_f1_sm4 = 0;
  p.geno_f1_nm0 = p.geno_f1_nm1 = p.geno_f1_nm2 = p.geno_f1_nm3 = p.geno_f1_nm4 = p.geno_f1_nm5 = 0;
}

}  // namespace vorlund::test
