// Texture images: the reader of uncompressed bitmap files (1, 4, 8, 24 and
// 32 bits per pixel) into rows of R, G, B bytes, and the writer the texture
// generator and the snapshot use. The reader checks every header field
// against the file's length before it allocates or reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlund {

// Largest side the reader accepts, in pixels.
constexpr int kImageSideMax = 8192;
// Side of the image that stands in for a file that cannot be read.
constexpr int kSubstituteSide = 32;

// Rows from the bottom up, three bytes (R, G, B) per pixel, no padding.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  bool empty() const { return pixels.empty(); }
};

// Decodes a bitmap file held in memory. On failure returns false and says why
// in `problem`; `out` is then left empty.
bool decodeBmp(const std::vector<uint8_t>& bytes, RgbImage& out, std::string& problem, bool& converted);

// The 32 x 32 image whose byte i is ((i mod 3) x 80 + i / 11) mod 256.
RgbImage substituteImage();

// Reads a texture file. An image that is not 24-bit is converted (with an
// information message); a file that cannot be read logs an error and yields
// the substitute image, and `failed` is set so that the caller can show its box.
RgbImage readTextureFile(const std::string& fileName, bool& failed);

// A 24-bit bitmap file of `image`; false when the file cannot be written.
bool writeBmp(const std::string& fileName, const RgbImage& image);
std::vector<uint8_t> encodeBmp(const RgbImage& image);

}  // namespace vorlund
