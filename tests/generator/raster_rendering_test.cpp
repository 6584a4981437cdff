#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "generator/detail/raster_image_steps.h"
#include "generator/imaging.h"

namespace qrsmith {
namespace {

using platform::Bitmap;

constexpr std::uint32_t kWhitePixel = 0xFFFFFF;
constexpr std::uint32_t kBlackPixel = 0x000000;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// A w x h checkerboard of 1-pixel "modules", black at even x + y.
Bitmap Checker(int w, int h) {
  Bitmap b = *Bitmap::Create(w, h, kWhitePixel);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if ((x + y) % 2 == 0) b.SetPixel(x, y, kBlackPixel);
    }
  }
  return b;
}

TEST(SymbolImageForm, HeaderFieldsAndBottomUpRows) {
  Bitmap b = *Bitmap::Create(23, 23, kWhitePixel);
  b.SetPixel(0, 0, 0x123456);    // top-left: the last row in the file
  b.SetPixel(22, 22, 0xABCDEF);  // bottom-right: the end of the first row in the file
  const Bytes image = BitmapToImage(b);
  ASSERT_EQ(image.size(), 2174u);  // 58 + 23 x 23 x 4
  EXPECT_EQ(image[0], 'B');
  EXPECT_EQ(image[1], 'M');
  const std::array<std::pair<std::size_t, std::uint32_t>, 8> fields{
      {{2, 2174}, {10, 58}, {14, 44}, {18, 23}, {22, 23}, {30, 0}, {34, 2116}, {54, 0}}};
  for (const auto& [offset, value] : fields) EXPECT_EQ(Le32(image, offset), value) << offset;
  EXPECT_EQ(image[26] | (image[27] << 8), 1);   // planes
  EXPECT_EQ(image[28] | (image[29] << 8), 32);  // bits per pixel
  EXPECT_EQ(Le32(image, 58 + 22 * 4), 0xABCDEFu);
  EXPECT_EQ(Le32(image, 58 + 22 * 23 * 4), 0x123456u);
  EXPECT_TRUE(BitmapToImage(Bitmap{}).empty());
}

TEST(SymbolImageForm, ReadsBackAsTheSamePicture) {
  const Bitmap b = Checker(25, 23);
  const auto back = LoadImageBitmap(BitmapToImage(b));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, b);
}

TEST(ScaleImage, EnlargesEveryModuleToABlock) {
  const Bitmap b = Checker(23, 23);
  const auto scaled = LoadImageBitmap(ScaleImage(BitmapToImage(b), 230, 230));
  ASSERT_TRUE(scaled.has_value());
  ASSERT_EQ(scaled->Width(), 230);
  for (int y = 0; y < 230; ++y) {
    for (int x = 0; x < 230; ++x) {
      ASSERT_EQ(scaled->Pixel(x, y), b.Pixel(x / 10, y / 10)) << x << "," << y;
    }
  }
  EXPECT_TRUE(ScaleImage(BitmapToImage(b), 0, 10).empty());
  EXPECT_TRUE(ScaleImage(Bytes{1, 2, 3}, 10, 10).empty());
}

TEST(OverlayIcon, CentresTheIconAndMovesItByTheOffset) {
  const Bitmap image = *Bitmap::Create(230, 230, kWhitePixel);
  const Bitmap icon = *Bitmap::Create(32, 32, 0x00FF00);
  struct Case {
    int dx, dy, x, y;
  };
  for (const Case c : {Case{0, 0, 99, 99}, Case{5, -3, 104, 96}, Case{-200, 0, -101, 99}}) {
    const auto out =
        LoadImageBitmap(OverlayIcon(BitmapToImage(image), BitmapToImage(icon), c.dx, c.dy));
    ASSERT_TRUE(out.has_value());
    for (int y = 0; y < 230; ++y) {
      for (int x = 0; x < 230; ++x) {
        const bool inIcon = x >= c.x && x < c.x + 32 && y >= c.y && y < c.y + 32;
        ASSERT_EQ(out->Pixel(x, y), inIcon ? 0x00FF00u : kWhitePixel) << x << "," << y;
      }
    }
  }
}

TEST(ComposeOnPicture, OrCombinesTheSymbolOnePixelAboveLeftOfCentre) {
  const Bitmap picture = *Bitmap::Create(400, 300, 0x3366CC);
  Bitmap symbol = *Bitmap::Create(230, 230, kWhitePixel);
  symbol.FillRect(0, 0, 10, 10, kBlackPixel);  // a dark module at the symbol's corner
  const Bitmap out = ComposeOnPictureBitmap(picture, symbol, kWhite, 0, 0, false, {}, 23, 23);
  EXPECT_EQ(out.Pixel(84, 34), 0x3366CCu);    // black lets the picture show through
  EXPECT_EQ(out.Pixel(94, 44), kWhitePixel);  // white stays white
  EXPECT_EQ(out.Pixel(83, 34), 0x3366CCu);    // outside, untouched
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      const bool inSymbol = x >= 84 && x < 314 && y >= 34 && y < 264;
      if (!inSymbol) {
        ASSERT_EQ(out.Pixel(x, y), 0x3366CCu) << x << "," << y;
      }
    }
  }
  // The BMP-form wrapper does the same.
  const auto viaImages = LoadImageBitmap(ComposeOnPicture(
      BitmapToImage(picture), BitmapToImage(symbol), kWhite, 0, 0, false, {}, 23, 23));
  ASSERT_TRUE(viaImages.has_value());
  EXPECT_EQ(*viaImages, out);
}

TEST(ComposeOnPicture, NoiseFillsWholeCellsAroundTheSymbolAndOnItsOuterRingOnly) {
  const Bitmap picture = *Bitmap::Create(400, 300, 0x000000);
  const Bitmap symbol = *Bitmap::Create(230, 230, kWhitePixel);
  const Bytes allOnes(1000, 0xFF);
  const Colour red = 0x0000FF;
  const Bitmap out = ComposeOnPictureBitmap(picture, symbol, red, 0, 0, true, allOnes, 23, 23);
  // Cells are 10 x 10 and the grid passes through the symbol's corner (84, 34),
  // starting at (-6, -6): every cell around the symbol and on its outer ring is filled.
  EXPECT_EQ(out.Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(out.Pixel(83, 33), 0xFF0000u);
  EXPECT_EQ(out.Pixel(399, 299), 0xFF0000u);
  EXPECT_EQ(out.Pixel(84, 34), 0xFF0000u);      // the symbol's first cell, on the ring
  EXPECT_EQ(out.Pixel(150, 150), kWhitePixel);  // inside the ring it is never covered
  // With a pool of zeros nothing is drawn.
  const Bytes zeros(1000, 0);
  const Bitmap none = ComposeOnPictureBitmap(picture, symbol, red, 0, 0, true, zeros, 23, 23);
  EXPECT_EQ(none.Pixel(0, 0), 0u);
  EXPECT_EQ(none.Pixel(399, 299), 0u);
}

// The noise rule worked through by hand for a 10 x 10 symbol of 3 x 3 modules
// on a 24 x 24 picture, with a fixed pool short enough to wrap: the symbol's
// corner is (6, 6); cells are 10/3 wide and high, and since trunc(x + 10/3)
// is x + 3 the grid runs at 0, 3, ..., 24 both ways (the cells at 24 lie off
// the picture and still take their bits). A cell is inside the symbol when
// 6 < x < 6 + 10 - 1.5 * 10/3 = 11 and 6 < y < 6 + 10 - 10/3 = 12.67: only
// (9, 9) and (9, 12), which take no bit. Every other cell, row by row, takes
// the next bit (from bit 1, least significant first, bit 8n never read) and
// is filled with the colour when it is 1.
TEST(ComposeOnPicture, NoiseFollowsTheBitsOfARandomPoolCellByCell) {
  const std::uint32_t picturePixel = 0x204060;
  const Bitmap picture = *Bitmap::Create(24, 24, picturePixel);
  const Bitmap symbol = Checker(10, 10);
  const Bytes pool = {0xB5, 0x3C, 0x96, 0x6A, 0xE1};  // 39 bits, read 79 times over
  const Colour red = 0x0000FF;
  const Bitmap out = ComposeOnPictureBitmap(picture, symbol, red, 0, 0, true, pool, 3, 3);

  Bitmap expected = picture;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) expected.SetPixel(6 + x, 6 + y, picturePixel | symbol.Pixel(x, y));
  }
  const std::array<int, 9> grid = {0, 3, 6, 9, 12, 15, 18, 21, 24};
  std::size_t bit = 0;  // 0-based: bit p of the rule is bit p - 1 here
  for (const int y : grid) {
    for (const int x : grid) {
      if (x == 9 && (y == 9 || y == 12)) continue;  // inside the symbol
      const bool on = (pool[bit / 8] >> (bit % 8)) & 1;
      bit = (bit + 1) % (pool.size() * 8 - 1);
      if (!on) continue;
      for (int py = y; py < std::min(y + 3, 24); ++py) {
        for (int px = x; px < std::min(x + 3, 24); ++px) expected.SetPixel(px, py, 0xFF0000);
      }
    }
  }
  EXPECT_EQ(out, expected);
}

}  // namespace
}  // namespace qrsmith
