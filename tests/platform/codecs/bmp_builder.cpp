#include "tests/platform/codecs/bmp_builder.h"

#include "platform/codecs/byte_order.h"

namespace qrsmith::platform::codecs::testing {

Bytes BuildBmp(const DibLayout& layout) {
  Bytes dib;
  AppendLe32(dib, layout.header_size);
  AppendLe32(dib, static_cast<std::uint32_t>(layout.width));
  AppendLe32(dib, static_cast<std::uint32_t>(layout.height));
  AppendLe16(dib, 1);
  AppendLe16(dib, layout.bit_count);
  AppendLe32(dib, layout.compression);
  AppendLe32(dib, static_cast<std::uint32_t>(layout.pixels.size()));
  AppendLe32(dib, 3780);
  AppendLe32(dib, 3780);
  AppendLe32(dib, layout.colours_used);
  AppendLe32(dib, 0);
  // Masks inside a long header sit at its offset 40, as after a short one.
  for (std::uint32_t mask : layout.masks) AppendLe32(dib, mask);
  if (dib.size() < layout.header_size) dib.resize(layout.header_size, 0);
  for (std::uint32_t colour : layout.palette) AppendLe32(dib, colour);
  const std::uint32_t pixel_offset = 14 + static_cast<std::uint32_t>(dib.size());
  dib.insert(dib.end(), layout.pixels.begin(), layout.pixels.end());

  Bytes file{'B', 'M'};
  AppendLe32(file, 14 + static_cast<std::uint32_t>(dib.size()));
  AppendLe32(file, 0);
  AppendLe32(file, pixel_offset);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

DibLayout SmallPaletteDib() {
  return {.width = 3,
          .height = 2,
          .bit_count = 1,
          .palette = {0x000000, 0xFFFFFF},
          // Rows padded to 4 bytes; bottom row 0,1,0 then top row 1,0,1.
          .pixels = {0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0}};
}

DibLayout SmallRle8Dib() {
  return {.width = 3,
          .height = 2,
          .bit_count = 8,
          .compression = 1,
          .colours_used = 3,
          .palette = {0xFF0000, 0x00FF00, 0x0000FF},
          .pixels = {
              3, 0,           // bottom row: three of index 0
              0, 0,           // end of line
              0, 3, 2, 1, 0,  // top row: literal 2, 1, 0
              0,              // pad the literal to an even length
              0, 1,           // end of picture
          }};
}

DibLayout SmallBitfieldDib() {
  return {.width = 2,
          .height = 2,
          .bit_count = 32,
          .compression = 3,
          .masks = {0x000000FF, 0x0000FF00, 0x00FF0000},
          .pixels = {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0,  // bottom row
                     0xA0, 0xB0, 0xC0, 0, 0xD0, 0xE0, 0xF0, 0}};
}

}  // namespace qrsmith::platform::codecs::testing
