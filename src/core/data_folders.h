// Where both programs find the files they ship with (textures, sounds, the
// manual, the examples): one search order, used by every lookup.
//
//   1. the working folder, so that a user's own copies win;
//   2. the folder named by $VORLUND_DATA_DIR, when set;
//   3. PROGRAM/../share/vorlund, the installed data beside an installed
//      program, wherever its prefix is (/usr, /usr/local, a DESTDIR);
//   4. the source tree, only for a program that runs from the build folder
//      it was built in; an installed program never looks there.
#pragma once

#include <string>
#include <vector>

namespace vorlund {

constexpr const char* kDataDirVariable = "VORLUND_DATA_DIR";
// The data folder below an installed prefix.
constexpr const char* kInstalledDataFolder = "share/vorlund";
// Shipped files that more than one place looks up.
constexpr const char* kManualFile = "doc/doc_index.html";
constexpr const char* kExamplesFolder = "examples";

// What the search order is made of; `forThisProcess` fills it in.
struct DataPlaces {
  std::string override;    // $VORLUND_DATA_DIR, empty when unset
  std::string programDir;  // the folder of the running program
  std::string buildTree;   // the build folder the program was built in
  std::string sourceTree;  // the source folder it was built from
  static DataPlaces forThisProcess();
};

// True when the program lies inside the build folder it was built in.
bool runsFromBuildTree(const DataPlaces& places);
bool runsFromBuildTree();

// The folders searched, in order, each ending with '/'; "" is the working folder.
std::vector<std::string> dataFolders(const DataPlaces& places);
const std::vector<std::string>& dataFolders();

// The path of a shipped file by its relative name ("textures/stone256.bmp"),
// the first existing one in the search order; empty when none exists. An
// absolute name is returned as it is.
std::string findDataFile(const std::string& relative, const std::vector<std::string>& folders);
std::string findDataFile(const std::string& relative);

// "Cannot find FILE; looked in: the working folder, A, B".
std::string missingDataMessage(const std::string& relative, const std::vector<std::string>& folders);

// Logs a warning naming each missing file and the places looked in, then a
// plain line naming the folder the first file came from ("Data from DIR").
// Returns the number of files missing.
int checkDataFiles(const std::vector<std::string>& relatives, const std::vector<std::string>& folders);

}  // namespace vorlund
