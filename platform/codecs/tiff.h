#pragma once
// TIFF files through libtiff, entirely in memory.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace qrsmith::platform::codecs {

// One page, LZW-compressed: palette of 1, 2, 4 or 8 bits when the picture
// has at most 256 colours and is opaque, else 8-bit RGB with horizontal
// differencing, with straight alpha when some pixel is transparent (Bitmap).
// Empty on failure.
Bytes EncodeTiff(const Bitmap& bitmap);

// The first page in any layout libtiff's RGBA interface reads (strips or
// tiles, bilevel, grey, palette, RGB, YCbCr, CMYK, with or without alpha);
// alpha is flattened onto white. nullopt for malformed or truncated files.
std::optional<Bitmap> DecodeTiff(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
