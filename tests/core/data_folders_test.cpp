#include "core/data_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/message_capture.h"

namespace vorlund {
namespace {

namespace fs = std::filesystem;

TEST(DataFolders, SearchOrderOfInstalledAndBuildTreePrograms) {
  const fs::path root = fs::temp_directory_path() / "vorlund_data_folders_test";
  fs::create_directories(root / "build/apps/gui");
  fs::create_directories(root / "prefix/bin");
  struct Case {
    const char* what;
    DataPlaces places;
    std::vector<std::string> folders;
  };
  const std::string r = root.string();
  const Case cases[] = {
      {"installed: never the source tree",
       {"", r + "/prefix/bin", r + "/build", r + "/src"},
       {"", r + "/prefix/share/vorlund/"}},
      {"build tree: the source tree last",
       {"", r + "/build/apps/gui", r + "/build", r + "/src"},
       {"", r + "/build/apps/share/vorlund/", r + "/src/"}},
      {"override before the prefix",
       {"/opt/data", r + "/prefix/bin", r + "/build", r + "/src"},
       {"", "/opt/data/", r + "/prefix/share/vorlund/"}},
      // A sibling whose name starts with the build folder's is not inside it.
      {"build2 is not build",
       {"", r + "/build2/bin", r + "/build", r + "/src"},
       {"", r + "/build2/share/vorlund/"}},
  };
  for (const Case& c : cases) EXPECT_EQ(dataFolders(c.places), c.folders) << c.what;
  fs::remove_all(root);
}

TEST(DataFolders, FirstFolderHoldingTheFileWinsAndMissingOnesAreNamed) {
  const fs::path root = fs::temp_directory_path() / "vorlund_data_find_test";
  fs::create_directories(root / "a/textures");
  fs::create_directories(root / "b/textures");
  std::ofstream(root / "b/textures/x.bmp") << "b";
  std::ofstream(root / "b/textures/y.bmp") << "b";
  std::ofstream(root / "a/textures/y.bmp") << "a";
  const std::vector<std::string> folders = {(root / "a").string() + "/", (root / "b").string() + "/"};
  EXPECT_EQ(findDataFile("textures/x.bmp", folders), folders[1] + "textures/x.bmp");
  EXPECT_EQ(findDataFile("textures/y.bmp", folders), folders[0] + "textures/y.bmp");
  EXPECT_EQ(findDataFile("textures/z.bmp", folders), "");
  EXPECT_EQ(findDataFile("/abs/z.bmp", folders), "/abs/z.bmp");

  test_support::MessageCapture log;
  EXPECT_EQ(checkDataFiles({"textures/z.bmp", "textures/x.bmp"}, folders), 1);
  EXPECT_EQ(log.entries.size(), 2u);
  EXPECT_TRUE(log.has("Start", "Cannot find textures/z.bmp; looked in: " + folders[0] + ", " + folders[1]));
  EXPECT_TRUE(log.has("Start", "Data from " + (root / "b").string()));
  fs::remove_all(root);
}

}  // namespace
}  // namespace vorlund
