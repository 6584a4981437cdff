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

Bytes BuildBmp(const DibSpec& spec) {
  Bytes dib;
  Append32(dib, spec.header_size);
  Append32(dib, static_cast<std::uint32_t>(spec.width));
  Append32(dib, static_cast<std::uint32_t>(spec.height));
  Append16(dib, 1);
  Append16(dib, spec.bit_count);
  Append32(dib, spec.compression);
  Append32(dib, static_cast<std::uint32_t>(spec.pixels.size()));
  Append32(dib, 3780);
  Append32(dib, 3780);
  Append32(dib, spec.colours_used);
  Append32(dib, 0);
  // Masks inside a long header sit at its offset 40, as after a short one.
  for (std::uint32_t mask : spec.masks) Append32(dib, mask);
  if (dib.size() < spec.header_size) dib.resize(spec.header_size, 0);
  for (std::uint32_t colour : spec.palette) Append32(dib, colour);
  const std::uint32_t pixel_offset = 14 + static_cast<std::uint32_t>(dib.size());
  dib.insert(dib.end(), spec.pixels.begin(), spec.pixels.end());

  Bytes file{'B', 'M'};
  Append32(file, 14 + static_cast<std::uint32_t>(dib.size()));
  Append32(file, 0);
  Append32(file, pixel_offset);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

DibSpec SmallPaletteDib() {
  DibSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.bit_count = 1;
  spec.palette = {0x000000, 0xFFFFFF};
  // Rows padded to 4 bytes; bottom row 0,1,0 then top row 1,0,1.
  spec.pixels = {0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0};
  return spec;
}

DibSpec SmallRle8Dib() {
  DibSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.bit_count = 8;
  spec.compression = 1;
  spec.colours_used = 3;
  spec.palette = {0xFF0000, 0x00FF00, 0x0000FF};
  spec.pixels = {
      3, 0,           // bottom row: three of index 0
      0, 0,           // end of line
      0, 3, 2, 1, 0,  // top row: literal 2, 1, 0
      0,              // pad the literal to an even length
      0, 1,           // end of picture
  };
  return spec;
}

DibSpec SmallBitfieldDib() {
  DibSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.bit_count = 32;
  spec.compression = 3;
  spec.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  spec.pixels = {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0,  // bottom row
                 0xA0, 0xB0, 0xC0, 0, 0xD0, 0xE0, 0xF0, 0};
  return spec;
}

}  // namespace qrsmith::platform::codecs::testing
