#pragma once
// PNG files through libpng, entirely in memory.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform::codecs {

// The smallest lossless form: a palette of 1, 2, 4 or 8 bits per pixel when
// the picture has at most 256 colours (a two-colour symbol is a 1-bit file),
// 8-bit RGB otherwise. Transparent pixels (Bitmap's top byte) give a tRNS
// chunk for the palette, or 8-bit RGBA. Not interlaced. Empty on failure.
Bytes EncodePng(const Bitmap& bitmap);

// `source` enlarged to width x height by nearest neighbour (Bitmap's rule),
// written row by row when it has at most 256 colours: an 8192-pixel square
// of a version-40 symbol then needs a few kilobytes besides its file, where
// the enlarged picture itself would take 256 MiB. Empty on failure or for
// sizes out of range.
Bytes EncodePngEnlarged(const Bitmap& source, int width, int height);

// Reads every colour type and bit depth, interlaced or not; transparency is
// flattened onto white. nullopt for a malformed or truncated file (a missing
// IEND included) or one beyond the decoding bounds.
std::optional<Bitmap> DecodePng(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
