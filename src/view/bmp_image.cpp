#include "view/bmp_image.h"

#include <fstream>
#include <iterator>

#include "core/message.h"

namespace vorlund {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderMin = 40;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitfields = 3;
// Bytes read from a file at most: a bigger file is no texture of ours.
constexpr std::streamoff kFileSizeMax = 256LL << 20;

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

bool fail(std::string& problem, const char* why) {
  problem = why;
  return false;
}

}  // namespace

bool decodeBmp(const std::vector<uint8_t>& b, RgbImage& out, std::string& problem, bool& converted) {
  out = RgbImage{};
  converted = false;
  const uint64_t size = b.size();
  if (size < kFileHeaderSize + kInfoHeaderMin) return fail(problem, "file too short for a bitmap header");
  if (b[0] != 'B' || b[1] != 'M') return fail(problem, "not a bitmap file");
  const uint64_t dataOffset = le32(b, 10);
  const uint32_t infoSize = le32(b, 14);
  if (infoSize < kInfoHeaderMin || kFileHeaderSize + static_cast<uint64_t>(infoSize) > size)
    return fail(problem, "bad info header size");
  const int32_t width = static_cast<int32_t>(le32(b, 18));
  const int32_t rawHeight = static_cast<int32_t>(le32(b, 22));
  const uint16_t planes = le16(b, 26);
  const uint16_t bits = le16(b, 28);
  const uint32_t compression = le32(b, 30);
  uint32_t paletteCount = le32(b, 46);
  if (planes != 1) return fail(problem, "bad plane count");
  if (width <= 0 || width > kImageSideMax) return fail(problem, "bad width");
  if (rawHeight == 0 || rawHeight < -kImageSideMax || rawHeight > kImageSideMax) return fail(problem, "bad height");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return fail(problem, "unsupported bit depth");
  if (compression != kCompressionNone && !(compression == kCompressionBitfields && bits == 32))
    return fail(problem, "compressed bitmaps are not supported");
  const bool topDown = rawHeight < 0;
  const int height = topDown ? -rawHeight : rawHeight;

  // Palette of the indexed depths, right after the info header.
  std::vector<uint8_t> palette;
  if (bits <= 8) {
    const uint32_t most = 1u << bits;
    if (paletteCount == 0) paletteCount = most;
    if (paletteCount > most) return fail(problem, "bad palette size");
    const uint64_t at = kFileHeaderSize + static_cast<uint64_t>(infoSize);
    if (at + 4ull * paletteCount > size || at + 4ull * paletteCount > dataOffset)
      return fail(problem, "palette beyond the pixel data");
    palette.assign(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + 4ull * paletteCount));
  }
  const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  if (dataOffset < kFileHeaderSize + static_cast<uint64_t>(infoSize) || dataOffset > size ||
      stride * static_cast<uint64_t>(height) > size - dataOffset)
    return fail(problem, "pixel data beyond the end of the file");

  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<size_t>(width) * height * 3);
  for (int row = 0; row < height; ++row) {
    // Output rows run from the bottom up, as bottom-up files store them.
    const int fileRow = topDown ? height - 1 - row : row;
    const uint8_t* src = b.data() + dataOffset + stride * static_cast<uint64_t>(fileRow);
    uint8_t* dst = out.pixels.data() + static_cast<size_t>(row) * width * 3;
    for (int x = 0; x < width; ++x, dst += 3) {
      const uint8_t* bgr = nullptr;
      if (bits == 24) {
        bgr = src + 3 * x;
      } else if (bits == 32) {
        bgr = src + 4 * x;
      } else {
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);
        const uint32_t index = (src[x / perByte] >> shift) & ((1u << bits) - 1);
        if (index >= paletteCount) {
          out = RgbImage{};
          return fail(problem, "pixel outside the palette");
        }
        bgr = palette.data() + 4 * index;
      }
      dst[0] = bgr[2];
      dst[1] = bgr[1];
      dst[2] = bgr[0];
    }
  }
  converted = bits != 24;
  return true;
}

RgbImage substituteImage() {
  RgbImage img;
  img.width = img.height = kSubstituteSide;
  img.pixels.resize(kSubstituteSide * kSubstituteSide * 3);
  for (size_t i = 0; i < img.pixels.size(); ++i) img.pixels[i] = static_cast<uint8_t>(((i % 3) * 80 + i / 11) % 256);
  return img;
}

RgbImage readTextureFile(const std::string& fileName, bool& failed) {
  failed = false;
  std::vector<uint8_t> bytes;
  std::ifstream in(fileName, std::ios::binary | std::ios::ate);
  std::string problem = "cannot open the file";
  if (in) {
    const std::streamoff length = in.tellg();
    if (length >= 0 && length <= kFileSizeMax) {
      in.seekg(0);
      bytes.resize(static_cast<size_t>(length));
      if (!in.read(reinterpret_cast<char*>(bytes.data()), length)) bytes.clear();
    } else {
      problem = "file too large";
    }
  }
  RgbImage img;
  bool converted = false;
  if (!bytes.empty() && decodeBmp(bytes, img, problem, converted)) {
    if (converted) logMessage("OpenGL", "GetTextureFromFile", "Forcing texture: \"" + fileName + "\" to 24-bit", 0);
    return img;
  }
  logMessage("OpenGL", "GetTextureFromFile", "Cannot load texture file: \"" + fileName + "\"", 2);
  logMessage("OpenGL", "GetTextureFromFile", fileName + ": " + problem, 0);
  failed = true;
  return substituteImage();
}

std::vector<uint8_t> encodeBmp(const RgbImage& image) {
  const uint32_t stride = ((static_cast<uint32_t>(image.width) * 24 + 31) / 32) * 4;
  const uint32_t dataSize = stride * static_cast<uint32_t>(image.height);
  std::vector<uint8_t> b;
  b.reserve(54 + dataSize);
  b.push_back('B');
  b.push_back('M');
  put32(b, 54 + dataSize);
  put32(b, 0);
  put32(b, 54);
  put32(b, kInfoHeaderMin);
  put32(b, static_cast<uint32_t>(image.width));
  put32(b, static_cast<uint32_t>(image.height));
  put16(b, 1);
  put16(b, 24);
  put32(b, kCompressionNone);
  put32(b, dataSize);
  put32(b, 2835);  // 72 dots per inch
  put32(b, 2835);
  put32(b, 0);
  put32(b, 0);
  for (int row = 0; row < image.height; ++row) {
    const uint8_t* src = image.pixels.data() + static_cast<size_t>(row) * image.width * 3;
    for (int x = 0; x < image.width; ++x) {
      b.push_back(src[3 * x + 2]);
      b.push_back(src[3 * x + 1]);
      b.push_back(src[3 * x]);
    }
    for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < stride; ++pad) b.push_back(0);
  }
  return b;
}

bool writeBmp(const std::string& fileName, const RgbImage& image) {
  const std::vector<uint8_t> bytes = encodeBmp(image);
  std::ofstream out(fileName, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace vorlund
