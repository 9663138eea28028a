// What a headless run loads before its first step, shared by the terminal
// runner and scripts so that the same files and seed start the same run.
#pragma once

#include <string>

namespace vorlund {

class symulator;

// The settings file a run reads first when it is in the working folder.
constexpr const char* kDefaultSettingsFile = "Default.sim";
// The genotype a run starts from when neither the pool nor the world holds anything.
constexpr const char* kSeedGenotype = "X";

// FILE_SETTINGS for "*.sim", FILE_GENOTYPES for "*.gen" (any case), 0 otherwise.
int inputFileKind(const std::string& path);

// Loads one settings or genotype file by its kind; false, with the reason in
// `error`, for a file that is neither kind or cannot be read (nothing changes then).
bool loadRunInput(symulator& sim, const std::string& path, std::string& error);

// Starts one creature of kSeedGenotype when the pool and the world are empty;
// true when it did.
bool startFromSeedGenotype(symulator& sim);

}  // namespace vorlund
