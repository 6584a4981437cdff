#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/colour.h"

namespace qrsmith::platform {
namespace {

TEST(BitmapCreate, RefusesSidesOutsideTheBound) {
  struct Case {
    int w, h;
    bool ok;
  };
  for (const Case c :
       {Case{1, 1, true}, Case{0, 5, false}, Case{5, -1, false}, Case{kMaxBitmapSide, 1, true},
        Case{kMaxBitmapSide + 1, 1, false}, Case{1, kMaxBitmapSide + 1, false}}) {
    EXPECT_EQ(Bitmap::Create(c.w, c.h).has_value(), c.ok) << c.w << "x" << c.h;
  }
}

TEST(BitmapColour, ConvertsBetweenColourAndPixelOrder) {
  EXPECT_EQ(PixelFromColour(0x0000FF), 0xFF0000u);  // red
  EXPECT_EQ(PixelFromColour(0x123456), 0x563412u);
  EXPECT_EQ(ColourFromPixel(PixelFromColour(0xABCDEF)), 0xABCDEFu);
}

// Typed colours: RRGGBB[AA] in either case, nothing else.
TEST(BitmapColour, ColourTextTakesSixOrEightDigitsInEitherCase) {
  struct Case {
    const char* text;
    std::optional<Colour> colour;
    std::uint8_t alpha;
  };
  for (const Case c :
       {Case{"ff8000", 0x0080FF, 0xFF}, Case{"FF8000", 0x0080FF, 0xFF},
        Case{"aBcDeF80", 0xEFCDAB, 0x80}, Case{"00000000", 0, 0}, Case{"ff800", std::nullopt, 0},
        Case{"ff80000", std::nullopt, 0}, Case{"ff80g0", std::nullopt, 0},
        Case{"#ff8000", std::nullopt, 0}, Case{"", std::nullopt, 0}}) {
    const auto parsed = ParseColourText(c.text);
    ASSERT_EQ(parsed.has_value(), c.colour.has_value()) << c.text;
    if (!parsed) continue;
    EXPECT_EQ(parsed->colour, *c.colour) << c.text;
    EXPECT_EQ(parsed->alpha, c.alpha) << c.text;
  }
}

TEST(BitmapRaster, FillIsClippedAndRightEdgeExclusive) {
  Bitmap b = *Bitmap::Create(4, 3, 0);
  b.FillRect(-5, 1, 2, 99, 7);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Pixel(x, y), (y >= 1 && x < 2) ? 7u : 0u);
  }
}

TEST(BitmapRaster, CopyAndOrAreClippedAtEveryEdge) {
  Bitmap target = *Bitmap::Create(3, 3, 0x000100);
  const Bitmap source = *Bitmap::Create(2, 2, 0x010001);
  target.OrFrom(source, 2, -1);    // only (2, 0) overlaps
  target.CopyFrom(source, -1, 2);  // only (0, 2) overlaps
  EXPECT_EQ(target.Pixel(2, 0), 0x010101u);
  EXPECT_EQ(target.Pixel(0, 2), 0x010001u);
  EXPECT_EQ(target.Pixel(1, 1), 0x000100u);
  EXPECT_EQ(target.Pixel(1, 2), 0x000100u);
}

TEST(BitmapStretch, NearestNeighbourTakesFloorOfScaledColumn) {
  Bitmap b = *Bitmap::Create(3, 1, 0);
  for (int x = 0; x < 3; ++x) b.SetPixel(x, 0, static_cast<std::uint32_t>(x + 1));
  const Bitmap up = *b.Stretch(7, 2);
  // column x takes source floor(x * 3 / 7): 0 0 0 1 1 2 2
  const std::uint32_t expected[] = {1, 1, 1, 2, 2, 3, 3};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(up.Pixel(x, y), expected[x]) << x;
  }
  const Bitmap down = *b.Stretch(2, 1);  // floor(0) = 0, floor(1.5) = 1
  EXPECT_EQ(down.Pixel(0, 0), 1u);
  EXPECT_EQ(down.Pixel(1, 0), 2u);
  EXPECT_FALSE(b.Stretch(0, 1).has_value());
}

}  // namespace
}  // namespace qrsmith::platform
