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

// Each format's reader and writer, in one place for both directions.
struct Codec {
  ImageFormat format;
  std::optional<Bitmap> (*decode)(std::span<const std::uint8_t>);
  Bytes (*encode)(const Bitmap&);
};

constexpr std::array<Codec, 6> kCodecs{{
    {ImageFormat::kBmp, DecodeBmp, [](const Bitmap& bitmap) { return EncodeBmp(bitmap); }},
    {ImageFormat::kJpeg, DecodeJpeg, EncodeJpeg},
    {ImageFormat::kGif, DecodeGif, EncodeGif},
    {ImageFormat::kTiff, DecodeTiff, [](const Bitmap& bitmap) { return EncodeTiff(bitmap); }},
    {ImageFormat::kPng, DecodePng, EncodePng},
    {ImageFormat::kIco, DecodeIco, EncodeIco},
}};

const Codec* CodecOf(std::optional<ImageFormat> format) {
  if (!format) return nullptr;
  const auto found = std::find_if(kCodecs.begin(), kCodecs.end(),
                                  [&](const Codec& codec) { return codec.format == *format; });
  return found == kCodecs.end() ? nullptr : &*found;
}

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
  const Codec* codec = CodecOf(DetectImageFormat(bytes));
  if (codec == nullptr) return std::nullopt;
  return codec->decode(bytes);
}

Bytes EncodeImage(const Bitmap& bitmap, ImageFormat format) {
  const Codec* codec = CodecOf(format);
  if (codec == nullptr) return {};
  return codec->encode(bitmap);
}

}  // namespace qrsmith::platform::codecs
