// Genotype files (*.gen) and settings files (*.sim): one loader and one saver
// for both, the what-mask choosing the contents. A save goes to a temporary
// file beside the target and replaces it only once completely written.
#pragma once

#include <string>

#include "genepool/file_settings.h"

namespace vorlund {

class listaprz;
class param;
struct Genetics;

// What-mask bits.
constexpr int FILE_GENOTYPES = 1;  // "org:" records (and "stats:" on save)
constexpr int FILE_SETTINGS = 2;   // the "sim_params:" record
constexpr int FILE_BACKUP = 4;     // automatic backup: derived name, backup header

constexpr const char* kProgramBanner = "Vorlund simulator (30-May-00) [MS Windows]";
// Loaded lines longer than this are cut when echoed as comments.
constexpr std::size_t kFileLineMax = 99;
// Appended to a file name kept when `overwrite` is off.
constexpr const char* kOldSuffix = "_old";
// Appended to the target's name while a save is being written.
constexpr const char* kSavingSuffix = ".saving~";

// Everything the files touch, observed.
struct SimFileTarget {
  listaprz& pool;
  const Genetics* genetics = nullptr;  // given to the records read
  param* settings = nullptr;           // the "sim_params:" chain
  param* stats = nullptr;              // the "stats:" accessor
  FileSettings& files;
  FileState& state;
};

// Reads the parts of the file that the mask asks for; reports through logMessage.
// False when the file cannot be opened.
bool loadSimFile(SimFileTarget& t, const std::string& path, int what);
// Which parts a file holds (FILE_GENOTYPES for an "org:" record, FILE_SETTINGS
// for "sim_params:"), read without loading anything; -1 when it cannot be opened.
// A caller checks this before it clears what the load would replace.
int fileRecordKinds(const std::string& path);
// Writes the parts the mask asks for; nonzero on any failure (the previous
// file is then left as it was).
int saveSimFile(SimFileTarget& t, const std::string& path, int what);

// The name of automatic backup number `counter`: evolution.gen -> evolution_001.gen, run -> run_001.
std::string backupFileName(const std::string& name, long counter);

}  // namespace vorlund
