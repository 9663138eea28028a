#include "view/bmp_image.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/message_capture.h"

namespace vorlund {
namespace {

RgbImage gradient(int w, int h) {
  RgbImage img{w, h, {}};
  for (int i = 0; i < w * h * 3; ++i) img.pixels.push_back(static_cast<uint8_t>(i * 7));
  return img;
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(BmpImageTest, TwentyFourBitImagesRoundTripWithRowPadding) {
  const RgbImage img = gradient(5, 3);  // 15-byte rows padded to 16
  RgbImage back;
  std::string problem;
  bool converted = true;
  ASSERT_TRUE(decodeBmp(encodeBmp(img), back, problem, converted)) << problem;
  EXPECT_FALSE(converted);
  EXPECT_EQ(back.width, 5);
  EXPECT_EQ(back.height, 3);
  EXPECT_EQ(back.pixels, img.pixels);
}

TEST(BmpImageTest, PalettedAndTopDownImagesAreConvertedToRgbRowsFromTheBottom) {
  // A 2 x 2, 8-bit, top-down image with a two-colour palette.
  std::vector<uint8_t> b(14 + 40 + 8 + 8, 0);
  b[0] = 'B', b[1] = 'M';
  put32(b, 2, static_cast<uint32_t>(b.size()));
  put32(b, 10, 14 + 40 + 8);
  put32(b, 14, 40);
  put32(b, 18, 2);
  put32(b, 22, static_cast<uint32_t>(-2));
  b[26] = 1, b[28] = 8;
  put32(b, 46, 2);
  const uint8_t palette[] = {255, 0, 0, 0, 0, 0, 255, 0};  // blue, red (B, G, R, 0)
  std::copy(std::begin(palette), std::end(palette), b.begin() + 54);
  b[62] = 0, b[63] = 1;  // top row: blue, red
  b[66] = 1, b[67] = 1;  // bottom row: red, red
  RgbImage img;
  std::string problem;
  bool converted = false;
  ASSERT_TRUE(decodeBmp(b, img, problem, converted)) << problem;
  EXPECT_TRUE(converted);
  const std::vector<uint8_t> expect = {255, 0, 0, 255, 0, 0, 0, 0, 255, 255, 0, 0};
  EXPECT_EQ(img.pixels, expect);
}

TEST(BmpImageTest, HeadersThatDisagreeWithTheFileAreRejectedBeforeReading) {
  const std::vector<uint8_t> good = encodeBmp(gradient(4, 4));
  const std::pair<const char*, std::function<void(std::vector<uint8_t>&)>> damages[] = {
      {"magic", [](auto& b) { b[1] = 'X'; }},
      {"truncated pixels", [](auto& b) { b.pop_back(); }},
      {"short header", [](auto& b) { b.resize(30); }},
      {"huge width", [](auto& b) { put32(b, 18, 0x7fffffff); }},
      {"zero width", [](auto& b) { put32(b, 18, 0); }},
      {"huge height", [](auto& b) { put32(b, 22, 100000); }},
      {"most negative height", [](auto& b) { put32(b, 22, 0x80000000u); }},
      {"offset past the end", [](auto& b) { put32(b, 10, 0xfffffff0u); }},
      {"offset inside the header", [](auto& b) { put32(b, 10, 20); }},
      {"info size past the end", [](auto& b) { put32(b, 14, 0xffffff00u); }},
      {"bit depth", [](auto& b) { b[28] = 16; }},
      {"compression", [](auto& b) { put32(b, 30, 1); }},
      {"planes", [](auto& b) { b[26] = 2; }},
      {"palette larger than the depth", [](auto& b) { b[28] = 1, put32(b, 46, 3); }},
  };
  for (const auto& [what, damage] : damages) {
    std::vector<uint8_t> b = good;
    damage(b);
    RgbImage img;
    std::string problem;
    bool converted = false;
    EXPECT_FALSE(decodeBmp(b, img, problem, converted)) << what;
    EXPECT_TRUE(img.empty()) << what;
    EXPECT_FALSE(problem.empty()) << what;
  }
}

TEST(BmpImageTest, AnUnreadableFileGivesTheSubstituteAndAnError) {
  test_support::MessageCapture messages;
  bool failed = false;
  const RgbImage img = readTextureFile("no/such/texture.bmp", failed);
  EXPECT_TRUE(failed);
  ASSERT_EQ(img.pixels.size(), 32u * 32 * 3);
  EXPECT_EQ(img.pixels[1], 80);
  EXPECT_EQ(img.pixels[3071], (2 * 80 + 3071 / 11) % 256);
  EXPECT_TRUE(messages.has("GetTextureFromFile", "Cannot load texture file: \"no/such/texture.bmp\""));
}

TEST(BmpImageTest, ShippedTexturesReadAsTwentyFourBit) {
  test_support::MessageCapture messages;
  for (const char* name : {"desert256", "stone256", "manystones256", "water128", "energy128", "wood128",
                           "teleport-w256"}) {
    bool failed = true;
    const RgbImage img = readTextureFile(std::string(VORLUND_SOURCE_DIR) + "/textures/" + name + ".bmp", failed);
    EXPECT_FALSE(failed) << name;
    EXPECT_GE(img.width, 128) << name;
  }
  EXPECT_TRUE(messages.entries.empty());
}

}  // namespace
}  // namespace vorlund
