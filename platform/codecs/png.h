#pragma once
// PNG files through libpng, entirely in memory.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace qrsmith::platform::codecs {

// The smallest lossless form: a palette of 1, 2, 4 or 8 bits per pixel when
// the picture has at most 256 colours (a two-colour symbol is a 1-bit file),
// 8-bit RGB otherwise. Not interlaced. Empty on failure.
Bytes EncodePng(const Bitmap& bitmap);

// A palette picture written row by row: `fillRow(y, row)` puts row y's
// palette indices, packed at `bitDepth` (1, 2, 4 or 8) bits each, most
// significant first, into `row`. Only one row is held at a time, so a huge
// picture of few colours costs little more memory than its file. Empty on
// failure or for sizes or a palette out of range.
Bytes EncodePngRows(int width, int height, std::span<const std::uint32_t> palette, int bitDepth,
                    const std::function<void(int y, std::uint8_t* row)>& fillRow);

// Reads every colour type and bit depth, interlaced or not; transparency is
// flattened onto white. nullopt for a malformed or truncated file (a missing
// IEND included) or one beyond the decoding bounds.
std::optional<Bitmap> DecodePng(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
