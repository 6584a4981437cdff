#include "generator/imaging.h"

#include "platform/codecs/image.h"

namespace qrsmith {
namespace {

using platform::codecs::ImageFormat;

std::optional<ImageFormat> FormatOfConvertType(int type) {
  switch (type) {
    case kConvertToBmp:
      return ImageFormat::kBmp;
    case kConvertToJpeg:
      return ImageFormat::kJpeg;
    case kConvertToGif:
      return ImageFormat::kGif;
    case kConvertToTiff:
      return ImageFormat::kTiff;
    case kConvertToPng:
      return ImageFormat::kPng;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool ConvertImage(std::span<const std::uint8_t> source, int type, Bytes& target) {
  const auto format = FormatOfConvertType(type);
  if (!format) return false;
  const auto picture = platform::codecs::DecodeImage(source);
  if (!picture) return false;
  Bytes encoded = platform::codecs::EncodeImage(*picture, *format);
  if (encoded.empty()) return false;
  target = std::move(encoded);
  return true;
}

std::optional<platform::Bitmap> LoadImageBitmap(std::span<const std::uint8_t> bytes,
                                                std::optional<int> width,
                                                std::optional<int> height) {
  if (bytes.empty()) return std::nullopt;
  if (width.value_or(0) < 0 || height.value_or(0) < 0) return std::nullopt;
  auto picture = platform::codecs::DecodeImage(bytes);
  if (!picture) return std::nullopt;
  const int target_width = width.value_or(0) == 0 ? picture->Width() : *width;
  const int target_height = height.value_or(0) == 0 ? picture->Height() : *height;
  if (target_width == picture->Width() && target_height == picture->Height()) return picture;
  return picture->Stretch(target_width, target_height);
}

}  // namespace qrsmith
