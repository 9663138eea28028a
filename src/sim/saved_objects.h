// Exact text form of genotype records and of whole simulated objects (record
// fields, life state, every stick end, stick, neuron and input), for run
// checkpoints and for genotypes travelling between islands. Pointers inside a
// body are written as indices and rebuilt on reading.
#pragma once

#include <memory>
#include <string>

#include "genepool/przodek.h"
#include "sim/state_text.h"
#include "world/org.h"

namespace vorlund {

// Section lines of the saved forms.
constexpr const char* kSavedRecordSection = "org:";

// The genotype record's texts and numbers (performance, counts, caches).
void writeRecordFields(std::string& out, const przodek& rec);
// Reads what writeRecordFields wrote into `rec` (built with skipRefresh).
bool readRecordFields(StateReader& in, przodek& rec);
// A record read into a new object; null (with the reader failed) on error.
std::unique_ptr<przodek> readSavedRecord(StateReader& in, const Genetics* genetics);

// The record fields, then the object's life state and its whole body.
void writeObject(std::string& out, const org& o);
// An object read back, its body linked as it was; null (reader failed) on error.
std::unique_ptr<org> readObject(StateReader& in, const Genetics* genetics);

}  // namespace vorlund
