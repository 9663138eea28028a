#include "genepool/pool_files.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/durable_file.h"
#include "core/message.h"
#include "core/record.h"
#include "core/strutil.h"
#include "genepool/listaprz.h"

namespace vorlund {

namespace {

constexpr const char* kGenotypeSection = "org:";
constexpr const char* kSettingsSection = "sim_params:";

void trimControlTail(std::string& line) {
  while (!line.empty() && static_cast<unsigned char>(line.back()) < 32) line.pop_back();
}

std::string createdLine() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  // asctime ends with its own line feed.
  return ssprintf("# created %s", local != nullptr ? std::asctime(local) : "?\n");
}

}  // namespace

std::string backupFileName(const std::string& name, long counter) {
  std::size_t dot = name.rfind('.');
  if (dot == 0) dot = std::string::npos;  // a leading dot does not start an extension
  const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
  return stem + ssprintf("_%03ld%s", counter, ext.c_str());
}

bool loadSimFile(SimFileTarget& t, const std::string& path, int what) {
  param* const sortBy = t.pool.sortAccessor();
  const int sortIndex = t.pool.sortIndex();
  const bool sortDescending = t.pool.sortDescending();
  std::ifstream in(path);
  if (!in) {
    logMessage("Simulator", "Load", ssprintf("Can't open file %s", path.c_str()), LOG_ERROR);
    return false;
  }
  bool sortingOff = false;
  bool commentsAnnounced = false;
  int genotypes = 0;
  bool settingsRead = false;
  std::string line;
  while (std::getline(in, line)) {
    trimControlTail(line);
    if (t.files.filecomm != 0 && !line.empty() && line[0] == '#') {
      if (!commentsAnnounced) {
        logMessage("Simulator", "Load", ssprintf("Comments read from %s follows:", path.c_str()), LOG_PLAIN);
        commentsAnnounced = true;
      }
      logMessage("Simulator", ">", line.substr(1, kFileLineMax - 1), LOG_PLAIN);
    } else if (line == kGenotypeSection && (what & FILE_GENOTYPES) != 0) {
      if (!sortingOff && t.pool.sorted()) {
        t.pool.setSort(nullptr, -1, false);
        sortingOff = true;
      }
      auto rec = std::make_unique<przodek>(t.genetics, "", "", "", true);
      readRecord(rec->parameters(), in);
      // A negative count would turn every pool average upside down.
      if (rec->popsiz < 0) rec->popsiz = 0;
      t.pool.add(std::move(rec));
      ++genotypes;
      t.state.changeFlags |= CHANGED_GENEPOOL;
    } else if (line == kSettingsSection && (what & FILE_SETTINGS) != 0 && t.settings != nullptr) {
      readRecord(*t.settings, in);
      settingsRead = true;
      t.state.changeFlags |= CHANGED_CREATURES;
      logMessage("Simulator", "Load", "Settings loaded", LOG_PLAIN);
    }
  }
  in.close();
  if (genotypes == 0 && !settingsRead)
    logMessage("Simulator", "Load", ssprintf("No usable record in %s", path.c_str()), LOG_WARNING);
  if (genotypes > 0) {
    logMessage("Simulator", "Load", ssprintf("%d genotype(s) loaded", genotypes), LOG_PLAIN);
    t.state.fileName = path;
    t.state.backupCounter = 0;
    t.state.backupSteps = 0;
  }
  if (sortingOff) t.pool.setSort(sortBy, sortIndex, sortDescending);
  return true;
}

int fileRecordKinds(const std::string& path) {
  std::ifstream in(path);
  if (!in) return -1;
  int kinds = 0;
  std::string line;
  while (kinds != (FILE_GENOTYPES | FILE_SETTINGS) && std::getline(in, line)) {
    trimControlTail(line);
    if (line == kGenotypeSection) kinds |= FILE_GENOTYPES;
    if (line == kSettingsSection) kinds |= FILE_SETTINGS;
  }
  return kinds;
}

int saveSimFile(SimFileTarget& t, const std::string& path, int what) {
  const bool backup = (what & FILE_BACKUP) != 0;
  std::string target = path;
  if (backup) target = backupFileName(path, ++t.state.backupCounter);

  // The whole text is made first and then replaces the target in one rename,
  // so that neither a failed write nor a crash leaves a half file in its place.
  std::ostringstream out;
  bool failed = false;
  out << createdLine();
  out << ssprintf("# by %s\n", kProgramBanner);

  int written = 0;
  if ((what & FILE_GENOTYPES) != 0) {
    if (backup) {
      out << ssprintf("\n# automatic backup #%ld (%ld iterations)\n", static_cast<long>(t.state.backupCounter),
                      static_cast<long>(t.files.autosave) * kAutosaveStepUnit);
      out << ssprintf("# original file: %s\n", t.state.fileName.c_str());
    }
    if (t.pool.size() > 0 && t.stats != nullptr && writeRecord(*t.stats, out) != 0) failed = true;
    for (int i = 0; i < t.pool.size() && !failed; ++i) {
      if (writeRecord(t.pool.get(i)->parameters(), out) != 0) {
        failed = true;
        break;
      }
      ++written;
    }
  }
  if ((what & FILE_SETTINGS) != 0 && !failed && t.settings != nullptr && writeRecord(*t.settings, out) != 0)
    failed = true;

  if (!failed) {
    DurableOptions options;
    options.temp = target + kSavingSuffix;
    if (t.files.overwrite == 0) options.keepOldAs = target + kOldSuffix;
    std::string error;
    if (!replaceFileDurably(target, out.str(), error, options)) {
      logMessage("Simulator", "Save", error, LOG_WARNING);
      logMessage("Simulator", "Save", ssprintf("Can't write to file %s", target.c_str()), LOG_WARNING);
      return 1;
    }
  }

  if (!failed && (what & FILE_GENOTYPES) != 0 && written > 0 && !backup) {
    t.state.backupCounter = 0;
    t.state.backupSteps = 0;
    t.state.fileName = path;
  }
  if (!failed && (what & FILE_SETTINGS) != 0) logMessage("Simulator", "Save", "Settings saved", LOG_PLAIN);
  if (failed) logMessage("Simulator", "Save", "Error while saving", LOG_WARNING);
  if (written > 0 && !failed) logMessage("Simulator", "Save", ssprintf("%d genotypes saved", written), LOG_PLAIN);
  return failed ? 1 : 0;
}

}  // namespace vorlund
