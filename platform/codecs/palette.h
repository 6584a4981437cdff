#pragma once
// Colour counting for the writers that choose their smallest lossless form:
// PNG, GIF and TIFF store a picture of at most 256 colours as palette indices
// of 1, 2, 4 or 8 bits, which makes a two-colour symbol a 1-bit file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <qrsmith/platform/bitmap.h>

namespace qrsmith::platform::codecs {

// A picture as a colour table and one table index per pixel, row after row.
struct IndexedImage {
  // Pixels as they are, in order of first appearance: 0x00RRGGBB, with the
  // top byte of a transparent pixel (Bitmap), so each alpha is its own entry.
  std::vector<std::uint32_t> colours;
  std::vector<std::uint8_t> indices;  // Width() * Height() entries
};

inline constexpr std::size_t kMaxPaletteColours = 256;

// The picture's colours and indices, or nullopt when it has more than
// kMaxPaletteColours colours (or is empty).
std::optional<IndexedImage> IndexColours(const Bitmap& bitmap);

// Bits per index for a table of `colour_count` entries: 1, 2, 4 or 8.
int IndexBitDepth(std::size_t colour_count);

// Packs one row of indices at `bit_depth` (1, 2, 4 or 8) bits each, most significant bits
// first, the last byte padded with zero bits: the row layout that PNG and
// TIFF share.
void PackIndexRow(const std::uint8_t* indices, int width, int bit_depth, std::uint8_t* out);

}  // namespace qrsmith::platform::codecs
