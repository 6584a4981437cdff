#pragma once
// Pixel helpers shared by the decoders and encoders. Decoders that meet an
// alpha channel first store each pixel as 0xAARRGGBB in the Bitmap and then
// flatten it onto white, because every drawing step of qrsmith is opaque.

#include <bit>
#include <cstdint>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/opacity.h>

namespace qrsmith::platform::codecs {

// The codecs hand Bitmap rows to the libraries as B, G, R, X bytes, which is
// how a 0x00RRGGBB pixel lies in memory on a little-endian machine.
static_assert(std::endian::native == std::endian::little,
              "the codecs read and write Bitmap rows as B, G, R, X bytes");

constexpr std::uint32_t PackRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (r << 16) | (g << 8) | b;
}
constexpr std::uint8_t RedOf(std::uint32_t pixel) { return (pixel >> 16) & 0xFF; }
constexpr std::uint8_t GreenOf(std::uint32_t pixel) { return (pixel >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(std::uint32_t pixel) { return pixel & 0xFF; }

// 0xAARRGGBB with straight alpha to an opaque 0x00RRGGBB over white.
constexpr std::uint32_t FlattenOnWhite(std::uint32_t argb) {
  const std::uint32_t a = argb >> 24;
  if (a == 0xFF) return argb & 0xFFFFFF;
  return PackRgb(BlendOnWhite(RedOf(argb), a), BlendOnWhite(GreenOf(argb), a),
                 BlendOnWhite(BlueOf(argb), a));
}

// Flattens every 0xAARRGGBB pixel of `bitmap` onto white in place.
inline void FlattenAlphaOnWhite(Bitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x] = FlattenOnWhite(row[x]);
  }
}

// Sets the unused top byte of every pixel to 0, for decoders that let the
// library fill it (with alpha that turned out unused, or a filler byte).
inline void ClearTopBytes(Bitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x] &= 0xFFFFFF;
  }
}

}  // namespace qrsmith::platform::codecs
