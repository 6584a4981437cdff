#include "platform/codecs/image.h"

#include <algorithm>
#include <array>

#include "platform/codecs/bmp.h"
#include "platform/codecs/gif.h"
#include "platform/codecs/ico.h"
#include "platform/codecs/jpeg.h"
#include "platform/codecs/png.h"
#include "platform/codecs/tiff.h"

namespace qrsmith::platform::codecs {
namespace {

struct Signature {
  std::array<std::uint8_t, 8> bytes;
  std::size_t length;
  ImageFormat format;
};

// "BM"; the PNG signature; SOI and the first marker's FF; "GIF8" (87a and
// 89a); little- and big-endian TIFF and BigTIFF; the ICO and CUR directory
// headers (reserved 0, type 1 or 2).
constexpr std::array<Signature, 9> kSignatures{{
    {{'B', 'M'}, 2, ImageFormat::kBmp},
    {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, 8, ImageFormat::kPng},
    {{0xFF, 0xD8, 0xFF}, 3, ImageFormat::kJpeg},
    {{'G', 'I', 'F', '8'}, 4, ImageFormat::kGif},
    {{'I', 'I', 42, 0}, 4, ImageFormat::kTiff},
    {{'M', 'M', 0, 42}, 4, ImageFormat::kTiff},
    {{'I', 'I', 43, 0}, 4, ImageFormat::kTiff},
    {{'M', 'M', 0, 43}, 4, ImageFormat::kTiff},
    {{0, 0, 1, 0}, 4, ImageFormat::kIco},
}};

}  // namespace

std::optional<ImageFormat> DetectImageFormat(std::span<const std::uint8_t> bytes) {
  for (const Signature& signature : kSignatures) {
    if (bytes.size() >= signature.length &&
        std::equal(signature.bytes.begin(), signature.bytes.begin() + signature.length,
                   bytes.begin())) {
      return signature.format;
    }
  }
  if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 2 && bytes[3] == 0) {
    return ImageFormat::kIco;  // a cursor: an icon with hotspots
  }
  return std::nullopt;
}

std::optional<Bitmap> DecodeImage(std::span<const std::uint8_t> bytes) {
  const auto format = DetectImageFormat(bytes);
  if (!format) return std::nullopt;
  switch (*format) {
    case ImageFormat::kBmp:
      return DecodeBmp(bytes);
    case ImageFormat::kJpeg:
      return DecodeJpeg(bytes);
    case ImageFormat::kGif:
      return DecodeGif(bytes);
    case ImageFormat::kTiff:
      return DecodeTiff(bytes);
    case ImageFormat::kPng:
      return DecodePng(bytes);
    case ImageFormat::kIco:
      return DecodeIco(bytes);
  }
  return std::nullopt;
}

Bytes EncodeImage(const Bitmap& bitmap, ImageFormat format) {
  switch (format) {
    case ImageFormat::kBmp:
      return EncodeBmp(bitmap);
    case ImageFormat::kJpeg:
      return EncodeJpeg(bitmap);
    case ImageFormat::kGif:
      return EncodeGif(bitmap);
    case ImageFormat::kTiff:
      return EncodeTiff(bitmap);
    case ImageFormat::kPng:
      return EncodePng(bitmap);
    case ImageFormat::kIco:
      return EncodeIco(bitmap);
  }
  return {};
}

}  // namespace qrsmith::platform::codecs
