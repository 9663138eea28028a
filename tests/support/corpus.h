// Test helper: replays every input of a checked-in fuzz corpus through the
// fuzz target's entry, so that whatever the fuzzer once found stays fixed.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/strutil.h"

namespace vorlund::test_support {

inline int entryOnText(int (*entry)(const uint8_t*, std::size_t), const std::string& bytes) {
  return entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Expects 0 from `entry` for every file of fuzz/corpus/<name>, and at least `minFiles` files.
inline void replayCorpus(const char* name, int (*entry)(const uint8_t*, std::size_t), int minFiles) {
  const std::filesystem::path dir = std::filesystem::path(VORLUND_SOURCE_DIR) / "fuzz" / "corpus" / name;
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int files = 0;
  for (const auto& file : std::filesystem::directory_iterator(dir)) {
    if (!file.is_regular_file()) continue;
    std::string bytes;
    readWholeFile(file.path().string(), bytes);
    EXPECT_EQ(entryOnText(entry, bytes), 0) << file.path().filename();
    ++files;
  }
  EXPECT_GE(files, minFiles);
}

}  // namespace vorlund::test_support
