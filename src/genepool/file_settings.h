// The file side of the simulation rules (group "Files"), and the state the
// genotype and settings files keep between saves: the current file name and
// the automatic-backup counters.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

namespace vorlund {

// A genotype pool that has never been saved or loaded is called this.
constexpr const char* kUntitledFileName = "untitled.gen";

// Steps between automatic backups per unit of `autosave`.
constexpr long kAutosaveStepUnit = 1000000;

struct FileSettings {
  int32_t autosave = 0;   // backup every autosave x kAutosaveStepUnit steps (0: never)
  int32_t overwrite = 1;  // 0: an existing file is kept as "<name>_old"
  int32_t filecomm = 0;   // echo "#" lines of loaded files as messages
};
static_assert(std::is_standard_layout_v<FileSettings>);

// Change flags the interface reads (and clears after refreshing its views).
constexpr uint32_t CHANGED_GENEPOOL = 1;    // genotypes were loaded
constexpr uint32_t CHANGED_CREATURES = 2;   // a creature was added, or settings were loaded

struct FileState {
  std::string fileName = kUntitledFileName;  // where the genotypes came from or went to
  int32_t backupCounter = 0;                 // automatic backups written since then
  int64_t backupSteps = 0;                   // steps since the last backup
  uint32_t changeFlags = 0;                  // CHANGED_* bits
};

}  // namespace vorlund
