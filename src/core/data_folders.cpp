#include "core/data_folders.h"

#include "core/message.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vorlund {

namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string normalFolder(const std::string& dir) { return withSlash(fs::path(dir).lexically_normal().string()); }

bool isFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

DataPlaces DataPlaces::forThisProcess() {
  DataPlaces p;
  if (const char* v = std::getenv(kDataDirVariable)) p.override = v;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) p.programDir = exe.parent_path().string();
#ifdef VORLUND_BUILD_TREE
  p.buildTree = VORLUND_BUILD_TREE;
#endif
#ifdef VORLUND_SOURCE_TREE
  p.sourceTree = VORLUND_SOURCE_TREE;
#endif
  return p;
}

bool runsFromBuildTree(const DataPlaces& places) {
  if (places.programDir.empty() || places.buildTree.empty()) return false;
  std::error_code ec;
  const std::string program = withSlash(fs::weakly_canonical(places.programDir, ec).string());
  const std::string build = withSlash(fs::weakly_canonical(places.buildTree, ec).string());
  return !ec && program.compare(0, build.size(), build) == 0;
}

bool runsFromBuildTree() {
  static const bool fromBuild = runsFromBuildTree(DataPlaces::forThisProcess());
  return fromBuild;
}

std::vector<std::string> dataFolders(const DataPlaces& places) {
  std::vector<std::string> folders = {""};
  if (!places.override.empty()) folders.push_back(normalFolder(places.override));
  if (!places.programDir.empty())
    folders.push_back(normalFolder(places.programDir + "/../" + kInstalledDataFolder));
  if (!places.sourceTree.empty() && runsFromBuildTree(places)) folders.push_back(normalFolder(places.sourceTree));
  return folders;
}

const std::vector<std::string>& dataFolders() {
  static const std::vector<std::string> folders = dataFolders(DataPlaces::forThisProcess());
  return folders;
}

std::string findDataFile(const std::string& relative, const std::vector<std::string>& folders) {
  if (relative.empty() || relative.front() == '/') return relative;
  for (const std::string& folder : folders)
    if (isFile(folder + relative)) return folder + relative;
  return {};
}

std::string findDataFile(const std::string& relative) { return findDataFile(relative, dataFolders()); }

std::string missingDataMessage(const std::string& relative, const std::vector<std::string>& folders) {
  std::string text = "Cannot find " + relative + "; looked in: ";
  for (std::size_t k = 0; k < folders.size(); ++k) {
    if (k > 0) text += ", ";
    text += folders[k].empty() ? "the working folder" : folders[k];
  }
  return text;
}

int checkDataFiles(const std::vector<std::string>& relatives, const std::vector<std::string>& folders) {
  int missing = 0;
  std::string origin;
  for (const std::string& file : relatives) {
    const std::string found = findDataFile(file, folders);
    if (found.empty()) {
      ++missing;
      logMessage("MainProgram", "Start", missingDataMessage(file, folders), LOG_WARNING);
    } else if (origin.empty()) {
      const std::string dir = found.substr(0, found.size() - file.size());
      origin = dir.empty() ? "the working folder" : fs::absolute(dir).lexically_normal().string();
      if (origin.size() > 1 && origin.back() == '/') origin.pop_back();
    }
  }
  if (!origin.empty()) logMessage("MainProgram", "Start", "Data from " + origin, LOG_PLAIN);
  return missing;
}

}  // namespace vorlund
