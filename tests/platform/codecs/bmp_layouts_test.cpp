// BMP layouts that no common tool writes, built by hand.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codecs/bmp.h"
#include "platform/codecs/image.h"
#include "tests/platform/codecs/bmp_builder.h"
#include "tests/platform/codecs/test_pictures.h"

namespace qrsmith::platform::codecs {
namespace {

using namespace testing;

Bitmap FromRows(const std::vector<std::vector<std::uint32_t>>& rows) {
  Bitmap bitmap = *Bitmap::Create(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      bitmap.SetPixel(static_cast<int>(x), static_cast<int>(y), rows[y][x]);
    }
  }
  return bitmap;
}

// The generator's symbol image form: "BM", file size, pixel data at 58, a
// 44-byte header (the standard 40 bytes and 4 zero bytes), 32 bits per
// pixel as B, G, R, 0, bottom row first.
Bytes SymbolImageForm(const Bitmap& bitmap) {
  DibLayout layout;
  layout.header_size = 44;
  layout.width = bitmap.Width();
  layout.height = bitmap.Height();
  layout.bit_count = 32;
  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t p = bitmap.Pixel(x, y);
      layout.pixels.insert(layout.pixels.end(),
                           {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
                            static_cast<std::uint8_t>(p >> 16), 0});
    }
  }
  return BuildBmp(layout);
}

struct LayoutCase {
  std::string name;
  Bytes file;
  Bitmap expected;
};

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }

std::vector<LayoutCase> LayoutCases() {
  const Bitmap symbol = TwoColourPicture(23, 23, 0x000000, 0xFFFFFF);

  DibLayout top_down = SmallPaletteDib();
  top_down.height = -2;

  const DibLayout rgb555{.width = 2,
                         .height = 1,
                         .bit_count = 16,
                         .pixels = {0x00, 0x7C, 0xFF, 0x7F}};  // red, white (5-5-5, little-endian)

  const DibLayout rle4{
      .width = 3,
      .height = 2,
      .bit_count = 4,
      .compression = 2,
      .colours_used = 3,
      .palette = {0x000000, 0xFF0000, 0x0000FF},
      .pixels = {3, 0x12, 0, 0,     // bottom row: run alternating 1, 2, 1; end of line
                 0, 3, 0x01, 0x20,  // top row: literal 0, 1, 2 (two bytes, already even)
                 0, 1}};

  DibLayout rle8_delta = SmallRle8Dib();
  rle8_delta.pixels = {1, 0, 0, 2, 1, 1, 1, 2, 0, 1};  // one pixel, jump up-right, one pixel

  DibLayout v5_bitfields = SmallBitfieldDib();
  v5_bitfields.header_size = 124;

  constexpr std::uint32_t kWhite = 0xFFFFFF;
  return {
      {"symbol_image_form_44_byte_header", SymbolImageForm(symbol), symbol},
      {"one_bit_bottom_up", BuildBmp(SmallPaletteDib()),
       FromRows({{kWhite, 0, kWhite}, {0, kWhite, 0}})},
      {"one_bit_top_down", BuildBmp(top_down), FromRows({{0, kWhite, 0}, {kWhite, 0, kWhite}})},
      {"sixteen_bit_555", BuildBmp(rgb555), FromRows({{0xFF0000, kWhite}})},
      {"rle8", BuildBmp(SmallRle8Dib()),
       FromRows({{0x0000FF, 0x00FF00, 0xFF0000}, {0xFF0000, 0xFF0000, 0xFF0000}})},
      {"rle8_delta_leaves_white", BuildBmp(rle8_delta),
       FromRows({{kWhite, kWhite, 0x0000FF}, {0xFF0000, kWhite, kWhite}})},
      {"rle4", BuildBmp(rle4),
       FromRows({{0x000000, 0xFF0000, 0x0000FF}, {0xFF0000, 0x0000FF, 0xFF0000}})},
      {"bitfields_after_40_byte_header", BuildBmp(SmallBitfieldDib()),
       FromRows({{0xA0B0C0, 0xD0E0F0}, {0x102030, 0x405060}})},
      {"bitfields_inside_v5_header", BuildBmp(v5_bitfields),
       FromRows({{0xA0B0C0, 0xD0E0F0}, {0x102030, 0x405060}})},
  };
}

class BmpLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(BmpLayout, DecodesToTheKnownPicture) {
  const auto decoded = DecodeImage(GetParam().file);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codecs, BmpLayout, ::testing::ValuesIn(LayoutCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qrsmith::platform::codecs
