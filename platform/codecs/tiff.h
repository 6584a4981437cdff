#pragma once
// TIFF files through libtiff, entirely in memory.

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform::codecs {

// What a TIFF file carries for print besides its pixels.
struct TiffPrint {
  std::optional<std::int32_t> dpi;  // written as X/YResolution in inches
  bool cmyk = false;                // separated C, M, Y, K samples (platform/cmyk.h)
};

// One page, LZW-compressed: palette of 1, 2, 4 or 8 bits when the picture
// has at most 256 colours and is opaque, else 8-bit RGB with horizontal
// differencing, with straight alpha when some pixel is transparent (Bitmap);
// with `print.cmyk` always 8-bit CMYK (refused for a picture that is not
// opaque). Empty on failure.
Bytes EncodeTiff(const Bitmap& bitmap, const TiffPrint& print);
inline Bytes EncodeTiff(const Bitmap& bitmap) { return EncodeTiff(bitmap, TiffPrint{}); }

// The X and Y resolution of the first page in dots per inch; nullopt when it
// has none or no absolute unit, or the bytes are not a readable TIFF file.
std::optional<std::pair<double, double>> TiffResolution(std::span<const std::uint8_t> bytes);

// The first page in any layout libtiff's RGBA interface reads (strips or
// tiles, bilevel, grey, palette, RGB, YCbCr, CMYK, with or without alpha);
// alpha is flattened onto white. nullopt for malformed or truncated files.
std::optional<Bitmap> DecodeTiff(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
