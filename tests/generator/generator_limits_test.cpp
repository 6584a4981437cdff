// The generator at the edges of its arguments: margins that would make a
// symbol picture larger than the memory bound, and symbol offsets anywhere in
// the int32 range on a background picture.

#include <gtest/gtest.h>

#include <climits>

#include "generator/detail/raster_image_steps.h"
#include "generator/imaging.h"
#include "generator/qr_generator.h"
#include "platform/codecs/bmp.h"

namespace qrsmith {
namespace {

using platform::Bitmap;

// Margins per side that make a square picture of `side` pixels around a
// symbol of `modules` modules (the odd pixel goes to the right and bottom).
struct Margins {
  std::int32_t left, bottom, top, right;
};
Margins SquareOf(std::int32_t side, std::int32_t modules) {
  const std::int32_t total = side - modules;
  return {total / 2, total - total / 2, total / 2, total - total / 2};
}

TEST(GenerateLimits, PicturesBeyondTwoToTheTwentyFourPixelsAreRefusedBeforeDrawing) {
  struct Case {
    const char* what;
    std::int16_t version;
    Margins margins;
    GenerateFailure failure;
  };
  const Case cases[] = {
      // 4096 x 4097 around version 1: one row past the bound.
      {"one row past the bound", 1, {2037, 2039, 2037, 2038}, GenerateFailure::kSymbolTooLarge},
      // The margins the command line allows at most, around version 40.
      {"8000 on every side", 40, {8000, 8000, 8000, 8000}, GenerateFailure::kSymbolTooLarge},
      // Margins that suit version 1 but not the version 40 the content needs.
      {"version decides", 0, SquareOf(4096, 21), GenerateFailure::kSymbolTooLarge},
      // Too long for any version: the content is what fails, whatever the margins.
      {"content first", 0, {8000, 8000, 8000, 8000}, GenerateFailure::kContentTooLong},
      {"side past 16384", 40, {16300, 1, 1, 1}, GenerateFailure::kSymbolTooLarge},
      {"content first, past the side", 0, {16300, 1, 1, 1}, GenerateFailure::kContentTooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string content = c.failure == GenerateFailure::kContentTooLong
                                    ? std::string(3000, 'x')
                                : c.version == 0 ? std::string(2000, 'x')
                                                 : "x";
    QrGenerator g;
    ASSERT_TRUE(g.Generate("before", false, 0, 2, -1, kBlack));
    EXPECT_FALSE(g.Generate(content, false, c.version, 1, -1, kBlack, std::nullopt, std::nullopt,
                            c.margins.left, c.margins.bottom, c.margins.top, c.margins.right));
    EXPECT_EQ(g.LastFailure(), c.failure);
    EXPECT_FALSE(g.HasSymbol());
    EXPECT_EQ(g.SymbolWidth(), 0);
    EXPECT_TRUE(g.NoiseBits().size() < 100000);  // nothing of the refused size was made
  }
}

TEST(GenerateLimits, MarginsThatFitMakeTheSymbolOfTheirVersion) {
  // Exactly 4096 x 4096 pixels: the largest picture.
  QrGenerator square;
  const Margins m = SquareOf(4096, 21);
  ASSERT_TRUE(square.Generate("edge", false, 1, 1, -1, kBlack, std::nullopt, std::nullopt, m.left,
                              m.bottom, m.top, m.right));
  EXPECT_EQ(square.SymbolWidth(), 4096);
  EXPECT_EQ(square.SymbolHeight(), 4096);
  // 16228 x 881 pixels: margins that would be too large around version 40,
  // so the version is settled first, and the picture then drawn with them.
  QrGenerator wide;
  ASSERT_TRUE(wide.Generate("wide", false, 0, 1, -1, kBlack, std::nullopt, std::nullopt, 16207, 430,
                            430, 0));
  EXPECT_EQ(wide.SymbolWidth(), 16228);
  EXPECT_EQ(wide.SymbolHeight(), 881);
  EXPECT_TRUE(wide.IsDark(431, 16208));   // the finder pattern's corner
  EXPECT_FALSE(wide.IsDark(430, 16208));  // the top margin
}

// Enlarging while composing draws exactly what enlarging first does, for
// shrunk, enlarged and uneven sizes, offsets in and out of the picture, with
// and without noise.
TEST(ComposeEnlarged, DrawsWhatStretchingFirstDraws) {
  QrGenerator g;
  ASSERT_TRUE(g.Generate("compose", false, 2, 2, -1, 0x203040, 0xF0E0D0, std::nullopt, 2, 3, 1, 4));
  const Bitmap& symbol = *g.SymbolBitmap();
  Bitmap picture = *Bitmap::Create(150, 110);
  for (int y = 0; y < 110; ++y) {
    for (int x = 0; x < 150; ++x)
      picture.SetPixel(x, y, static_cast<std::uint32_t>(x * 977 + y * 131));
  }
  const struct {
    int width, height, dx, dy;
  } cases[] = {{31, 32, 0, 0}, {93, 96, 0, 0},   {100, 57, -40, 25},
               {10, 7, 3, -3}, {200, 180, 0, 0}, {64, 64, 500, -500}};
  for (const auto& c : cases) {
    for (const bool noise : {false, true}) {
      SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
      const Bitmap expected = ComposeOnPictureBitmap(
          picture, *symbol.Stretch(c.width, c.height), g.BackgroundColour(), c.dx, c.dy, noise,
          g.NoiseBits(), g.SymbolWidth(), g.SymbolHeight());
      EXPECT_EQ(ComposeEnlargedOnPictureBitmap(picture, symbol, c.width, c.height,
                                               g.BackgroundColour(), c.dx, c.dy, noise,
                                               g.NoiseBits(), g.SymbolWidth(), g.SymbolHeight()),
                expected);
    }
  }
}

// The readers take every picture the writers make: a symbol enlarged past
// 8192 pixels a side is converted and loaded back at its full size.
TEST(SharedPictureBound, TheLargestEnlargementsReadBack) {
  QrGenerator g;
  ASSERT_TRUE(g.Generate("bound", false, 1, 1, 0, kBlack, kWhite, std::nullopt, 0, 0, 0, 0));
  const Bytes image = g.ExportImage(8193, 0);
  ASSERT_FALSE(image.empty());
  Bytes png;
  ASSERT_TRUE(ConvertImage(image, kConvertToPng, png));
  const auto back = LoadImageBitmap(png);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->Width(), 8193);
  EXPECT_EQ(back->Height(), 8193);
}

class FarOffsets : public ::testing::TestWithParam<std::pair<std::int32_t, std::int32_t>> {};

// A symbol moved off the picture leaves the picture as it was; one moved to
// the edge of the int range must not wrap around onto it either.
TEST_P(FarOffsets, LeaveThePictureAsItIs) {
  const auto [dx, dy] = GetParam();
  QrGenerator g;
  ASSERT_TRUE(g.Generate("far", false, 1, 2, -1, kBlack));
  const Bitmap grey = *Bitmap::Create(90, 70, 0x808080);
  Bytes picture;
  ASSERT_TRUE(ConvertImage(BitmapToImage(grey), kConvertToPng, picture));
  for (const bool noise : {false, true}) {
    const Bytes bmp = g.ExportImage(60, 0, picture, 90, 70, dx, dy, noise);
    const auto image = platform::codecs::DecodeBmp(bmp);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->Width(), 90);
    if (!noise) {
      EXPECT_EQ(*image, grey);
    } else {
      // Noise cells are the symbol's background colour, white; nothing else changes.
      for (const std::uint32_t p : image->Pixels()) EXPECT_TRUE(p == 0x808080 || p == 0xFFFFFF);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Int32Range, FarOffsets,
                         ::testing::Values(std::pair{INT_MAX, 0}, std::pair{INT_MIN, 0},
                                           std::pair{0, INT_MAX}, std::pair{0, INT_MIN},
                                           std::pair{INT_MAX, INT_MIN},
                                           std::pair{INT_MAX - 30, INT_MAX - 30},
                                           std::pair{-100000, 100000}),
                         [](const auto& info) {
                           // "dx_max_dy_min": test names hold letters, digits and '_' only.
                           const auto name = [](std::int32_t v) {
                             return v == INT_MAX   ? std::string("max")
                                    : v == INT_MIN ? std::string("min")
                                    : v < 0        ? "minus" + std::to_string(-std::int64_t{v})
                                                   : std::to_string(v);
                           };
                           return "dx_" + name(info.param.first) + "_dy_" + name(info.param.second);
                         });

}  // namespace
}  // namespace qrsmith
