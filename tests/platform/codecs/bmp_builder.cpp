#include "tests/platform/codecs/bmp_builder.h"

namespace qrsmith::platform::codecs::testing {
namespace {

void Append16(Bytes& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Append32(Bytes& out, std::uint32_t v) {
  Append16(out, v & 0xFFFF);
  Append16(out, v >> 16);
}

}  // namespace

Bytes BuildBmp(const DibLayout& layout) {
  Bytes dib;
  Append32(dib, layout.header_size);
  Append32(dib, static_cast<std::uint32_t>(layout.width));
  Append32(dib, static_cast<std::uint32_t>(layout.height));
  Append16(dib, 1);
  Append16(dib, layout.bit_count);
  Append32(dib, layout.compression);
  Append32(dib, static_cast<std::uint32_t>(layout.pixels.size()));
  Append32(dib, 3780);
  Append32(dib, 3780);
  Append32(dib, layout.colours_used);
  Append32(dib, 0);
  // Masks inside a long header sit at its offset 40, as after a short one.
  for (std::uint32_t mask : layout.masks) Append32(dib, mask);
  if (dib.size() < layout.header_size) dib.resize(layout.header_size, 0);
  for (std::uint32_t colour : layout.palette) Append32(dib, colour);
  const std::uint32_t pixel_offset = 14 + static_cast<std::uint32_t>(dib.size());
  dib.insert(dib.end(), layout.pixels.begin(), layout.pixels.end());

  Bytes file{'B', 'M'};
  Append32(file, 14 + static_cast<std::uint32_t>(dib.size()));
  Append32(file, 0);
  Append32(file, pixel_offset);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

DibLayout SmallPaletteDib() {
  DibLayout layout;
  layout.width = 3;
  layout.height = 2;
  layout.bit_count = 1;
  layout.palette = {0x000000, 0xFFFFFF};
  // Rows padded to 4 bytes; bottom row 0,1,0 then top row 1,0,1.
  layout.pixels = {0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0};
  return layout;
}

DibLayout SmallRle8Dib() {
  DibLayout layout;
  layout.width = 3;
  layout.height = 2;
  layout.bit_count = 8;
  layout.compression = 1;
  layout.colours_used = 3;
  layout.palette = {0xFF0000, 0x00FF00, 0x0000FF};
  layout.pixels = {
      3, 0,           // bottom row: three of index 0
      0, 0,           // end of line
      0, 3, 2, 1, 0,  // top row: literal 2, 1, 0
      0,              // pad the literal to an even length
      0, 1,           // end of picture
  };
  return layout;
}

DibLayout SmallBitfieldDib() {
  DibLayout layout;
  layout.width = 2;
  layout.height = 2;
  layout.bit_count = 32;
  layout.compression = 3;
  layout.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  layout.pixels = {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0,  // bottom row
                   0xA0, 0xB0, 0xC0, 0, 0xD0, 0xE0, 0xF0, 0};
  return layout;
}

}  // namespace qrsmith::platform::codecs::testing
