// Replays every input of the genotype fuzz corpus through the fuzz target's
// entry, so that whatever the fuzzer once found stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "../../fuzz/genotype_fuzz_entry.cpp"

namespace {

TEST(GenotypeFuzzCorpus, EveryInputPassesTheOperators) {
  const std::filesystem::path dir = std::filesystem::path(VORLUND_SOURCE_DIR) / "fuzz" / "corpus" / "genotype";
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(fuzzGenotypeOperators(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0)
        << entry.path().filename();
    ++files;
  }
  EXPECT_GE(files, 30);
}

}  // namespace
