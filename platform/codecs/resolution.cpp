#include "platform/codecs/resolution.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "platform/codecs/byte_order.h"
#include "platform/codecs/tiff.h"

namespace qrsmith::platform::codecs {
namespace {

constexpr double kMetresPerInch = 0.0254;

// PNG: 8 signature bytes, then IHDR (length, type, 13 data bytes, CRC).
constexpr std::size_t kPngIhdrEnd = 8 + 4 + 4 + 13 + 4;
constexpr std::uint8_t kPngUnitMetre = 1;
// JPEG: SOI, then the JFIF APP0 segment: FF E0, length, "JFIF\0", version,
// units at 13, X density at 14, Y density at 16 (big-endian).
constexpr std::size_t kJfifUnits = 13;
constexpr std::uint8_t kJfifUnitInch = 1;
constexpr std::uint8_t kJfifUnitCentimetre = 2;
// BMP: the 14-byte file header, then the information header, whose pixels
// per metre lie at 24 and 28.
constexpr std::size_t kBmpXPelsPerMetre = 14 + 24;

bool IsJfif(std::span<const std::uint8_t> file) {
  static constexpr std::array<std::uint8_t, 11> kStart{0xFF, 0xD8, 0xFF, 0xE0, 0, 16,
                                                       'J',  'F',  'I',  'F',  0};
  return file.size() > kJfifUnits + 4 && file[2] == kStart[2] && file[3] == kStart[3] &&
         std::equal(kStart.begin() + 6, kStart.end(), file.begin() + 6);
}

bool IsPngWithHeader(std::span<const std::uint8_t> file) {
  return file.size() > kPngIhdrEnd &&
         std::string_view(reinterpret_cast<const char*>(&file[12]), 4) == "IHDR";
}

// The pHYs chunk's resolution, found by walking the chunks up to IDAT.
std::optional<Resolution> PngResolution(std::span<const std::uint8_t> file) {
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const std::uint32_t length = LoadBe32(&file[at]);
    if (length > file.size() - at - 12) return std::nullopt;
    const std::string_view type(reinterpret_cast<const char*>(&file[at + 4]), 4);
    if (type == "IDAT") return std::nullopt;
    if (type == "pHYs" && length == 9) {
      if (file[at + 16] != kPngUnitMetre) return std::nullopt;
      return Resolution{LoadBe32(&file[at + 8]) * kMetresPerInch,
                        LoadBe32(&file[at + 12]) * kMetresPerInch};
    }
    at += 12 + length;
  }
  return std::nullopt;
}

}  // namespace

std::uint32_t PixelsPerMetre(std::int32_t dpi) {
  return static_cast<std::uint32_t>(std::lround(dpi / kMetresPerInch));
}

bool SetResolution(Bytes& file, ImageFormat format, std::int32_t dpi) {
  if (dpi < 1 || dpi > 0xFFFF) return false;
  const std::uint32_t perMetre = PixelsPerMetre(dpi);
  switch (format) {
    case ImageFormat::kPng: {
      if (!IsPngWithHeader(file)) return false;
      Bytes chunk;
      AppendBe32(chunk, 9);
      for (char c : std::string_view("pHYs")) chunk.push_back(static_cast<std::uint8_t>(c));
      AppendBe32(chunk, perMetre);
      AppendBe32(chunk, perMetre);
      chunk.push_back(kPngUnitMetre);
      AppendBe32(chunk, Crc32(std::span(chunk).subspan(4)));
      file.insert(file.begin() + kPngIhdrEnd, chunk.begin(), chunk.end());
      return true;
    }
    case ImageFormat::kJpeg:
      if (!IsJfif(file)) return false;
      file[kJfifUnits] = kJfifUnitInch;
      for (std::size_t at : {kJfifUnits + 1, kJfifUnits + 3}) StoreBe16(&file[at], dpi);
      return true;
    case ImageFormat::kBmp:
      if (file.size() < kBmpXPelsPerMetre + 8 || file[0] != 'B' || file[1] != 'M' ||
          LoadLe32(&file[14]) < 40) {
        return false;
      }
      StoreLe32(&file[kBmpXPelsPerMetre], perMetre);
      StoreLe32(&file[kBmpXPelsPerMetre + 4], perMetre);
      return true;
    default:
      return false;
  }
}

std::optional<Resolution> ResolutionOf(std::span<const std::uint8_t> file) {
  const auto format = DetectImageFormat(file);
  if (!format) return std::nullopt;
  switch (*format) {
    case ImageFormat::kPng:
      return PngResolution(file);
    case ImageFormat::kJpeg: {
      if (!IsJfif(file)) return std::nullopt;
      const double x = (file[kJfifUnits + 1] << 8) | file[kJfifUnits + 2];
      const double y = (file[kJfifUnits + 3] << 8) | file[kJfifUnits + 4];
      if (file[kJfifUnits] == kJfifUnitInch) return Resolution{x, y};
      if (file[kJfifUnits] == kJfifUnitCentimetre) return Resolution{x * 2.54, y * 2.54};
      return std::nullopt;
    }
    case ImageFormat::kBmp:
      // The 12-byte core header of the oldest files has no such field.
      if (file.size() < kBmpXPelsPerMetre + 8 || LoadLe32(&file[14]) < 40) return std::nullopt;
      return Resolution{LoadLe32(&file[kBmpXPelsPerMetre]) * kMetresPerInch,
                        LoadLe32(&file[kBmpXPelsPerMetre + 4]) * kMetresPerInch};
    case ImageFormat::kTiff:
      if (const auto dpi = TiffResolution(file)) return Resolution{dpi->first, dpi->second};
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace qrsmith::platform::codecs
