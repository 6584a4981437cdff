#pragma once
// PNG files through libpng, entirely in memory.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace qrsmith::platform::codecs {

// The smallest lossless form: a palette of 1, 2, 4 or 8 bits per pixel when
// the picture has at most 256 colours (a two-colour symbol is a 1-bit file),
// 8-bit RGB otherwise. Not interlaced. Empty on failure.
Bytes EncodePng(const Bitmap& bitmap);

// Reads every colour type and bit depth, interlaced or not; transparency is
// flattened onto white. nullopt for a malformed or truncated file (a missing
// IEND included) or one beyond the decoding bounds.
std::optional<Bitmap> DecodePng(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
