// RenderSymbolBitmap: the module matrix as a picture, one pixel per module.
#include "encoder/qr_encoder.h"

namespace qrsmith {
namespace {

bool OnlyZerosAndOnes(const std::uint8_t* bytes, std::int32_t count) {
  std::uint8_t high = 0;
  for (std::int32_t i = 0; i < count; ++i) high |= bytes[i] & 0xFE;
  return high == 0;
}

}  // namespace

std::shared_ptr<const platform::Bitmap> RenderSymbolBitmap(const std::uint8_t* bits,
                                                           std::int32_t width, std::int32_t height,
                                                           std::int32_t left, std::int32_t top,
                                                           std::int32_t right, std::int32_t bottom,
                                                           Colour foreground,
                                                           std::optional<Colour> background) {
  if (bits == nullptr || width < 1 || height < 1 || left < 0 || top < 0 || right < 0 ||
      bottom < 0) {
    return nullptr;
  }
  const std::int64_t pictureWidth = std::int64_t{width} + left + right;
  const std::int64_t pictureHeight = std::int64_t{height} + top + bottom;
  if (pictureWidth > platform::kMaxBitmapSide || pictureHeight > platform::kMaxBitmapSide) {
    return nullptr;
  }
  // The matrix bytes are palette indices: 0 the background, 1 the foreground,
  // and the unused entries 2..255 black.
  const std::uint32_t light = platform::PixelFromColour(background.value_or(kWhite));
  const std::uint32_t dark = platform::PixelFromColour(foreground);
  std::optional<platform::Bitmap> picture = platform::Bitmap::Create(
      static_cast<int>(pictureWidth), static_cast<int>(pictureHeight), light);
  if (!picture) return nullptr;
  // Matrix rows are s + 3 bytes long, the scan lines of the module matrix.
  const std::int64_t stride = std::int64_t{width} + 3;
  const std::uint32_t flip = light ^ dark;
  for (std::int32_t r = 0; r < height; ++r) {
    const std::uint8_t* source = bits + r * stride;
    std::uint32_t* target = picture->Row(top + r) + left;
    if (OnlyZerosAndOnes(source, width)) {
      // The usual row, as Encode makes it: one select by a 0 or all-ones mask.
      for (std::int32_t c = 0; c < width; ++c) target[c] = light ^ (flip & (0u - source[c]));
      continue;
    }
    for (std::int32_t c = 0; c < width; ++c) {
      // Branch-free, so that the compiler can widen and select in vectors.
      const std::uint32_t isLight = 0u - static_cast<std::uint32_t>(source[c] == 0);
      const std::uint32_t isDark = 0u - static_cast<std::uint32_t>(source[c] == 1);
      target[c] = (light & isLight) | (dark & isDark);
    }
  }
  return std::make_shared<const platform::Bitmap>(std::move(*picture));
}

}  // namespace qrsmith
