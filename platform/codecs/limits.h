#pragma once
// Bounds on the pictures the decoders accept. A file declares its own size in
// its header; every decoder checks that declaration against these bounds
// before it allocates anything for the pixels, so a hostile or broken header
// cannot make qrsmith reserve gigabytes.

#include <cstdint>

#include <qrsmith/platform/bitmap.h>

namespace qrsmith::platform::codecs {

// Largest side of a decoded picture, the same as the largest Bitmap.
inline constexpr std::int64_t kMaxImageSide = kMaxBitmapSide;
// Largest pixel count of a decoded picture: the largest picture qrsmith
// makes (2^28 pixels, 1 GiB as a Bitmap), so that every picture the exports
// write can be read back, converted and drawn on. A decoder holds the Bitmap
// and at most one row or palette index per pixel besides the file: within
// 2 GiB.
inline constexpr std::int64_t kMaxImagePixels = kMaxBitmapPixels;

// True when a picture of width x height may be decoded. Takes 64-bit sides so
// that callers can pass unchecked header fields without overflow.
constexpr bool ImageSizeAllowed(std::int64_t width, std::int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

}  // namespace qrsmith::platform::codecs
