#include "generator/preview_painter.h"

#include <gtest/gtest.h>

#include <memory>

#include "generator/qr_generator.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

using platform::Bitmap;

constexpr std::uint32_t kWhitePixel = 0xFFFFFF;
constexpr std::uint32_t kBlackPixel = 0x000000;

// A w x h checkerboard of black and the given light pixel: every module
// differs from its neighbours, so a misplaced or wrongly scaled copy shows.
std::shared_ptr<const Bitmap> Checker(int w, int h, std::uint32_t light = kWhitePixel) {
  Bitmap b = *Bitmap::Create(w, h, light);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if ((x + y) % 2 == 0) b.SetPixel(x, y, kBlackPixel);
    }
  }
  return std::make_shared<const Bitmap>(std::move(b));
}

std::shared_ptr<const Bitmap> Solid(int w, int h, std::uint32_t pixel) {
  return std::make_shared<const Bitmap>(*Bitmap::Create(w, h, pixel));
}

PreviewValues WithSymbol(std::shared_ptr<const Bitmap> symbol, std::int32_t mode, std::int32_t d) {
  PreviewValues v;
  v.symbolWidth = symbol->Width();
  v.symbolHeight = symbol->Height();
  v.symbol = std::move(symbol);
  v.mode = mode;
  v.squareSize = d;
  return v;
}

struct Box {
  int x, y, w, h;
};

// The expected picture built from the plain raster operations: the symbol
// stretched into `symbol` over `base`, then the icon copied at `icon`.
Bitmap Expected(int cw, int ch, std::uint32_t base, const Bitmap& symbol, Box at,
                const Bitmap* icon = nullptr, Box iconAt = {}) {
  Bitmap out = *Bitmap::Create(cw, ch, base);
  out.CopyFrom(*symbol.Stretch(at.w, at.h), at.x, at.y);
  if (icon != nullptr) out.CopyFrom(*icon->Stretch(iconAt.w, iconAt.h), iconAt.x, iconAt.y);
  return out;
}

struct PlacementCase {
  const char* name;
  std::int32_t mode;
  std::int32_t d;
  int cw, ch;
  Box symbol;
};

class PreviewPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PreviewPlacement, DrawsTheSymbolOpaqueOnWhite) {
  const PlacementCase& c = GetParam();
  const auto symbol = Checker(23, 23);
  const auto painted = PaintPreview(WithSymbol(symbol, c.mode, c.d), c.cw, c.ch);
  ASSERT_TRUE(painted.has_value());
  EXPECT_EQ(*painted, Expected(c.cw, c.ch, kWhitePixel, *symbol, c.symbol));
}

INSTANTIATE_TEST_SUITE_P(
    AllModes, PreviewPlacement,
    ::testing::Values(PlacementCase{"CentreSquare", 2, 100, 300, 200, {100, 50, 100, 100}},
                      PlacementCase{"CentreTruncates", 2, 100, 301, 201, {100, 50, 100, 100}},
                      PlacementCase{"FitWide", 0, 0, 300, 200, {50, 0, 200, 200}},
                      PlacementCase{"FitTall", 0, 0, 200, 301, {0, 50, 200, 200}},
                      PlacementCase{"FitSquare", 0, 0, 150, 150, {0, 0, 150, 150}},
                      PlacementCase{"Stretch", 1, 0, 300, 200, {0, 0, 300, 200}},
                      PlacementCase{"BottomRightOwnSize", 7, 0, 300, 200, {277, 177, 23, 23}},
                      PlacementCase{"TopLeft", 3, 40, 300, 200, {0, 0, 40, 40}},
                      PlacementCase{"TopCentre", 4, 40, 300, 200, {130, 0, 40, 40}},
                      PlacementCase{"TopRight", 5, 40, 300, 200, {260, 0, 40, 40}},
                      PlacementCase{"MiddleRight", 6, 40, 300, 200, {260, 80, 40, 40}},
                      PlacementCase{"BottomCentre", 8, 40, 300, 200, {130, 160, 40, 40}},
                      PlacementCase{"BottomLeft", 9, 40, 300, 200, {0, 160, 40, 40}},
                      PlacementCase{"MiddleLeft", 10, 40, 300, 200, {0, 80, 40, 40}},
                      PlacementCase{"LargerThanClient", 2, 500, 300, 200, {-100, -150, 500, 500}}),
    [](const auto& info) { return std::string(info.param.name); });

struct IconCase {
  const char* name;
  std::int32_t mode;
  std::int32_t d;
  int cw, ch;
  int iconSide;
  Box symbol;
  int iconX, iconY;
};

class PreviewIcon : public ::testing::TestWithParam<IconCase> {};

TEST_P(PreviewIcon, CentresTheIconOnTheSquareAtItsOwnSize) {
  const IconCase& c = GetParam();
  const auto symbol = Checker(23, 23);
  const auto icon = Solid(c.iconSide, c.iconSide, 0xFF0000);
  PreviewValues v = WithSymbol(symbol, c.mode, c.d);
  v.icon = icon;
  v.iconWidth = v.iconHeight = c.iconSide;
  const auto painted = PaintPreview(v, c.cw, c.ch);
  ASSERT_TRUE(painted.has_value());
  EXPECT_EQ(*painted, Expected(c.cw, c.ch, kWhitePixel, *symbol, c.symbol, icon.get(),
                               {c.iconX, c.iconY, c.iconSide, c.iconSide}));
}

// Each coordinate is truncated once, after the halves are added: 50.5 + 84.5
// gives 135, where truncating each half would give 134.
INSTANTIATE_TEST_SUITE_P(
    Placements, PreviewIcon,
    ::testing::Values(IconCase{"Centre", 2, 100, 300, 200, 32, {100, 50, 100, 100}, 134, 84},
                      IconCase{"FitWide", 0, 0, 301, 200, 31, {50, 0, 200, 200}, 135, 84},
                      IconCase{"FitTall", 0, 0, 200, 301, 31, {0, 50, 200, 200}, 84, 135},
                      IconCase{"Stretch", 1, 0, 301, 200, 31, {0, 0, 301, 200}, 135, 84},
                      IconCase{"BottomRight", 7, 0, 300, 200, 5, {277, 177, 23, 23}, 286, 186}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreviewFill, FillsWithTheColourOrLeavesTheWindowBackground) {
  const auto symbol = Checker(23, 23);
  PreviewValues v = WithSymbol(symbol, 2, 100);
  v.fill = 0x0000FF;  // red as 0x00BBGGRR
  EXPECT_EQ(*PaintPreview(v, 300, 200), Expected(300, 200, 0xFF0000, *symbol, {100, 50, 100, 100}));
  v.fill = kNoFill;
  EXPECT_EQ(*PaintPreview(v, 300, 200, 0x123456),
            Expected(300, 200, 0x123456, *symbol, {100, 50, 100, 100}));
}

TEST(PreviewRefusal, NothingToPaintWithoutSymbolClientAreaOrValidMode) {
  PreviewValues v = WithSymbol(Checker(23, 23), 2, 100);
  EXPECT_FALSE(PaintPreview(v, 0, 200).has_value());
  EXPECT_FALSE(PaintPreview(v, 300, -1).has_value());
  v.mode = 11;
  EXPECT_FALSE(PaintPreview(v, 300, 200).has_value());
  v.mode = 2;
  v.symbol.reset();
  EXPECT_FALSE(PaintPreview(v, 300, 200).has_value());
}

// --- With a background picture ------------------------------------------------

constexpr std::uint32_t kGreenPixel = 0x00FF00;

struct PictureCase {
  const char* name;
  std::int32_t mode;
  std::int32_t d;
  int pw, ph;
  std::int32_t g, h;
  Box picture;
  Box symbol;
  Box icon;  // an 8 x 8 icon, scaled with the picture
};

class PreviewPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PreviewPicture, LaysTheSymbolOnThePictureByOr) {
  const PictureCase& c = GetParam();
  const auto symbol = Checker(20, 20);
  const auto picture = Solid(c.pw, c.ph, kGreenPixel);
  const auto icon = Solid(8, 8, 0xFF0000);
  PreviewValues v = WithSymbol(symbol, c.mode, c.d);
  v.picture = picture;
  v.pictureWidth = c.pw;
  v.pictureHeight = c.ph;
  v.offsetX = c.g;
  v.offsetY = c.h;
  v.icon = icon;
  v.iconWidth = v.iconHeight = 8;

  Bitmap expected = *Bitmap::Create(300, 200, kWhitePixel);
  expected.CopyFrom(*picture->Stretch(c.picture.w, c.picture.h), c.picture.x, c.picture.y);
  expected.OrFrom(*symbol->Stretch(c.symbol.w, c.symbol.h), c.symbol.x, c.symbol.y);
  expected.CopyFrom(*icon->Stretch(c.icon.w, c.icon.h), c.icon.x, c.icon.y);
  const auto painted = PaintPreview(v, 300, 200);
  ASSERT_TRUE(painted.has_value());
  EXPECT_EQ(*painted, expected);
}

// clang-format off: one layout a row
const PictureCase kPictureCases[] = {
    // k = 200 / 50 = 4: the picture 400 x 200 centred, symbol 80 x 80 moved by (4g, 4h).
    {"Fit", 0, 20, 100, 50, 5, -3, {-50, 0, 400, 200}, {130, 48, 80, 80}, {154, 72, 32, 32}},
    // fx = 3, fy = 4.
    {"Stretch", 1, 20, 100, 50, 5, -3, {0, 0, 300, 200}, {135, 48, 60, 80}, {153, 72, 24, 32}},
    {"Centre", 2, 40, 100, 80, 5, -3, {100, 60, 100, 80}, {135, 77, 40, 40}, {151, 93, 8, 8}},
    {"BottomRight",
     7,
     40,
     100,
     80,
     0,
     0,
     {200, 120, 100, 80},
     {230, 140, 40, 40},
     {246, 156, 8, 8}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Layouts, PreviewPicture, ::testing::ValuesIn(kPictureCases),
                         [](const auto& info) { return std::string(info.param.name); });

class PreviewNoise : public ::testing::Test {
 protected:
  // Centre mode, a 100 x 80 picture at (100, 60), a 20-module symbol drawn
  // 40 pixels wide at (135, 77): noise cells of 2 x 2 pixels on a grid that
  // runs through (135, 77) and starts at (99, 59), just outside the picture.
  PreviewValues Values(std::uint8_t poolByte) const {
    PreviewValues v = WithSymbol(Checker(20, 20), 2, 40);
    v.picture = Solid(100, 80, kGreenPixel);
    v.pictureWidth = 100;
    v.pictureHeight = 80;
    v.offsetX = 5;
    v.offsetY = -3;
    v.noiseColour = 0xFF0000;  // blue as 0x00BBGGRR
    v.noiseBits = std::make_shared<const Bytes>(2000, poolByte);
    v.noiseLength = 2000;
    v.noiseOn = true;
    return v;
  }
  static constexpr std::uint32_t kNoisePixel = 0x0000FF;
};

TEST_F(PreviewNoise, ReadsOneBitPerCellRowByRowFromTheGridOrigin) {
  const auto painted = *PaintPreview(Values(0b01010101), 300, 200);
  // Bits 1, 0, 1, 0 for the first cells of the first row.
  EXPECT_EQ(painted.Pixel(99, 59), kNoisePixel);
  EXPECT_EQ(painted.Pixel(100, 60), kNoisePixel);
  EXPECT_EQ(painted.Pixel(101, 60), kGreenPixel);
  EXPECT_EQ(painted.Pixel(103, 60), kNoisePixel);
  EXPECT_EQ(painted.Pixel(98, 59), kWhitePixel);  // left of the grid
}

TEST_F(PreviewNoise, CoversThePictureAroundTheSymbolAndNeverInsideIt) {
  const auto full = *PaintPreview(Values(0xFF), 300, 200);
  const auto none = *PaintPreview(Values(0x00), 300, 200);
  PreviewValues off = Values(0xFF);
  off.noiseOn = false;
  EXPECT_EQ(none, *PaintPreview(off, 300, 200));
  for (int y = 60; y < 140; ++y) {
    for (int x = 100; x < 200; ++x) {
      const bool inSymbol = x >= 135 && x < 175 && y >= 77 && y < 117;
      // The symbol's last column and row of cells count as outside.
      const bool innerSymbol = x >= 135 && x < 173 && y >= 77 && y < 115;
      if (!inSymbol) {
        EXPECT_EQ(full.Pixel(x, y), kNoisePixel) << x << "," << y;
      }
      if (innerSymbol) {
        EXPECT_EQ(full.Pixel(x, y), none.Pixel(x, y)) << x << "," << y;
      }
    }
  }
}

TEST_F(PreviewNoise, AnEmptyPoolOrNoPictureGivesNoNoise) {
  PreviewValues empty = Values(0xFF);
  empty.noiseLength = 0;
  PreviewValues off = Values(0xFF);
  off.noiseOn = false;
  EXPECT_EQ(*PaintPreview(empty, 300, 200), *PaintPreview(off, 300, 200));
  PreviewValues plain = Values(0xFF);
  plain.picture.reset();
  const auto painted = *PaintPreview(plain, 300, 200);
  EXPECT_EQ(painted, Expected(300, 200, kWhitePixel, *plain.symbol, {130, 80, 40, 40}));
}

// --- Readers see the symbol ---------------------------------------------------

TEST(PreviewReadability, ReadersDecodeTheShownSymbol) {
  const std::string content = "qrsmith preview 二维码";
  QrGenerator generator;
  ASSERT_TRUE(
      generator.Generate(content, false, 0, 1, -1, kBlack, kWhite, std::nullopt, 1, 1, 1, 1));
  PreviewValues v = WithSymbol(generator.SymbolBitmap(), 2, 100);
  for (const std::int32_t mode : {0, 2, 5}) {
    v.mode = mode;
    const auto painted = PaintPreview(v, 450, 450);
    ASSERT_TRUE(painted.has_value());
    const auto zbar = testing::DecodeWithZbar(*painted, 1);
    const auto zxing = testing::DecodeWithZxing(*painted, 1);
    ASSERT_TRUE(zbar.has_value()) << mode;
    ASSERT_TRUE(zxing.has_value()) << mode;
    EXPECT_EQ(zbar->text, content);
    EXPECT_EQ(zxing->text, content);
  }
}

}  // namespace
}  // namespace qrsmith
