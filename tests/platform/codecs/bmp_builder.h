#pragma once
// Hand-made BMP files for the layouts no common tool writes (top-down rows,
// the symbol image form's 44-byte header, RLE4) and for broken ones.

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace qrsmith::platform::codecs::testing {

struct DibLayout {
  std::uint32_t header_size = 40;  // fields past the first 40 bytes are zero
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top-down
  std::uint16_t bit_count = 24;
  std::uint32_t compression = 0;
  std::uint32_t colours_used = 0;
  std::vector<std::uint32_t> masks{};    // R, G, B(, A): at offset 40, after or inside the header
  std::vector<std::uint32_t> palette{};  // 0x00RRGGBB, stored B, G, R, 0
  Bytes pixels{};                        // the rows exactly as stored
};

// File header, information header, masks, colour table and pixels, in that
// order; the pixel offset points right after the colour table.
Bytes BuildBmp(const DibLayout& layout);

// 1-bit, 3 x 2, black and white: bottom row (black, white, black), top row
// the opposite.
DibLayout SmallPaletteDib();
// 8-bit RLE, 3 x 2, three colours, ending with the end-of-picture escape.
DibLayout SmallRle8Dib();
// 32-bit bit fields in R, G, B, X byte order, 2 x 2, masks after a 40-byte header.
DibLayout SmallBitfieldDib();

}  // namespace qrsmith::platform::codecs::testing
