#pragma once
// GIF files through giflib, entirely in memory.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform::codecs {

// One image with a global colour table sized to the picture: 2 entries for a
// two-colour symbol, at most 256. A picture with more than 256 colours is
// quantised to 256 first (the only lossy case). Clear pixels (Bitmap's top
// byte 0xFF) share one transparent index; a partly transparent pixel cannot be
// held, and makes the encoding fail. Empty on failure.
Bytes EncodeGif(const Bitmap& bitmap);

// The first frame on its logical screen, interlaced or not; transparent and
// uncovered pixels are white. nullopt for a malformed or truncated file.
std::optional<Bitmap> DecodeGif(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
