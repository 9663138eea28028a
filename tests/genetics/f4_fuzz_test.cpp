#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "genetics/f4/f4_fuzz.h"

namespace vorlund {
namespace {

int replay(const std::string& bytes) {
  return fuzzF4(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(F4Fuzz, CorpusReplaysWithoutBrokenProperties) {
  const std::filesystem::path dir = std::filesystem::path(VORLUND_SOURCE_DIR) / "fuzz" / "corpus" / "f4";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(replay(bytes), 0) << entry.path();
    ++files;
  }
  EXPECT_GE(files, 10);
}

TEST(F4Fuzz, OddBytesAndOversizedInputsStayBounded) {
  EXPECT_EQ(replay(std::string("X\0<", 3)), 0);
  EXPECT_EQ(replay("\xff\xfe<[>#"), 0);
  EXPECT_EQ(replay(std::string(100000, '<')), 0);
  EXPECT_EQ(replay("#999999999<X>>X"), 0);
}

}  // namespace
}  // namespace vorlund
