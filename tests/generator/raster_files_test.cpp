#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "generator/imaging.h"
#include "generator/qr_generator.h"
#include "generator/raster_rendering.h"
#include "platform/codecs/image.h"
#include "tests/support/file_contents.h"
#include "tests/support/qr_decode.h"
#include "tests/support/scratch_folder.h"

namespace qrsmith {
namespace {

namespace fs = std::filesystem;
using platform::Bitmap;

constexpr std::uint32_t kGreen = 0x00FF00;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

Bytes Png(const Bitmap& b) {
  Bytes png;
  EXPECT_TRUE(ConvertImage(BitmapToImage(b), 5, png));
  return png;
}

class RasterFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(generator_.Generate(kContent, false, 1, 2, -1, kBlack)); }

  static Bitmap Decode(const Bytes& file) {
    auto b = platform::codecs::DecodeImage(file);
    EXPECT_TRUE(b.has_value());
    return b.value_or(Bitmap{});
  }
  void WithIcon() {
    ASSERT_TRUE(generator_.Generate(kContent, false, 1, 2, -1, kBlack, std::nullopt,
                                    Png(*Bitmap::Create(32, 32, kGreen))));
  }

  static constexpr const char* kContent = "RASTER";
  QrGenerator generator_;
  testing::ScratchFolder scratch_{"qrsmith-raster"};
  const fs::path& dir_ = scratch_.Path();
};

TEST_F(RasterFiles, EveryKindScansAtItsOwnAndAtAnEnlargedSize) {
  for (std::int16_t kind = 0; kind <= 4; ++kind) {
    for (std::optional<std::int32_t> size : {std::optional<std::int32_t>{}, std::optional{230}}) {
      const fs::path path = dir_ / ("symbol" + std::to_string(kind));
      ASSERT_TRUE(generator_.SaveImage(path.string(), size, kind)) << kind;
      const Bitmap saved = Decode(testing::FileBytes(path));
      EXPECT_EQ(saved.Width(), size.value_or(23)) << kind;
      EXPECT_EQ(saved.Height(), size.value_or(23)) << kind;
      const auto scan = testing::DecodeWithZxing(saved, size ? 1 : 4);
      ASSERT_TRUE(scan.has_value()) << "kind " << kind;
      EXPECT_EQ(scan->text, kContent);

      const Bytes exported = generator_.ExportImage(size, kind);
      const Bitmap back = Decode(exported);
      EXPECT_EQ(back.Width(), size.value_or(23));
    }
  }
}

TEST_F(RasterFiles, RowByRowPngIsExactlyTheEnlargedPicture) {
  // Sizes that are and are not multiples of the 23-pixel picture, and a reduction.
  for (std::int32_t size : {230, 97, 11}) {
    const Bitmap png = Decode(generator_.ExportImage(size, 4));
    const Bitmap bmp = Decode(generator_.ExportImage(size, 0));
    EXPECT_EQ(png, *generator_.SymbolBitmap()->Stretch(size, size)) << size;
    EXPECT_EQ(png, bmp) << size;
  }
}

TEST_F(RasterFiles, BmpHeadersDifferBetweenSaveAndExport) {
  const fs::path path = dir_ / "symbol.bmp";
  ASSERT_TRUE(generator_.SaveImage(path.string(), std::nullopt, 0));
  EXPECT_EQ(Le32(testing::FileBytes(path), 14), 40u);  // the standard information header
  const Bytes exported = generator_.ExportImage(std::nullopt, 0);
  EXPECT_EQ(exported, generator_.SymbolImage());  // the symbol image form itself
  EXPECT_EQ(Le32(exported, 14), 44u);
}

TEST_F(RasterFiles, IconIsDrawnUnscaledAtTheCentreOnlyWhenEnlarged) {
  WithIcon();
  const Bitmap big = Decode(generator_.ExportImage(230, 4));
  EXPECT_EQ(big.Pixel(99, 99), kGreen);
  EXPECT_EQ(big.Pixel(130, 130), kGreen);
  EXPECT_NE(big.Pixel(98, 99), kGreen);
  EXPECT_NE(big.Pixel(131, 131), kGreen);
  const fs::path path = dir_ / "small.png";
  ASSERT_TRUE(generator_.SaveImage(path.string(), std::nullopt, 4));
  const Bitmap small = Decode(testing::FileBytes(path));
  for (std::uint32_t p : small.Pixels()) EXPECT_NE(p, kGreen);
}

TEST_F(RasterFiles, PictureSetsTheSizeAndTheSymbolSitsNearItsCentre) {
  const Bytes picture = Png(*Bitmap::Create(40, 30, 0x808080));
  const Bitmap out = Decode(generator_.ExportImage(230, 4, picture, 400, 300, 0, 0, false));
  ASSERT_EQ(out.Width(), 400);
  ASSERT_EQ(out.Height(), 300);
  // The symbol's white margin starts at (84, 34): OR with white is white.
  EXPECT_EQ(out.Pixel(84, 34), 0xFFFFFFu);
  EXPECT_EQ(out.Pixel(83, 34), 0x808080u);
  EXPECT_EQ(out.Pixel(84, 33), 0x808080u);
  const auto scan = testing::DecodeWithZxing(out, 1);
  ASSERT_TRUE(scan.has_value());
  EXPECT_EQ(scan->text, kContent);
}

TEST_F(RasterFiles, RefusesBadArgumentsAndWritesNothing) {
  const fs::path path = dir_ / "refused.png";
  const Bytes picture = Png(*Bitmap::Create(4, 4, 0));
  struct Case {
    std::optional<std::int32_t> size;
    std::int16_t kind;
    Bytes picture;
    int pw, ph;
  };
  const Case cases[] = {
      {0, 4, {}, 0, 0},
      {-5, 4, {}, 0, 0},
      {16385, 4, {}, 0, 0},
      {230, 5, {}, 0, 0},
      {230, -1, {}, 0, 0},
      {std::nullopt, 5, {}, 0, 0},
      {230, 4, picture, 0, 300},
      {230, 4, picture, 400, 16385},
      {230, 4, Bytes{1, 2, 3}, 40, 40},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(generator_.SaveImage(path.string(), c.size, c.kind, c.picture, c.pw, c.ph));
    if (!c.size || *c.size > 0) {  // ExportImage takes a size below 1 as left out
      EXPECT_TRUE(generator_.ExportImage(c.size, c.kind, c.picture, c.pw, c.ph).empty());
    }
  }
  EXPECT_FALSE(fs::exists(path));
  QrGenerator empty;
  EXPECT_FALSE(empty.SaveImage(path.string(), std::nullopt, 4));
  EXPECT_TRUE(empty.ExportImage(std::nullopt, 4).empty());
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(RasterFiles, ExportWithoutAPositiveSizeGivesTheOnePixelPerModulePicture) {
  WithIcon();
  const Bytes picture = Png(*Bitmap::Create(40, 40, kGreen));
  for (std::int16_t kind = 0; kind <= 4; ++kind) {
    const Bytes plain = generator_.ExportImage(std::nullopt, kind);
    ASSERT_FALSE(plain.empty()) << kind;
    for (const std::int32_t size : {0, -5}) {
      // Neither the icon nor the picture is applied, as without a size.
      EXPECT_EQ(generator_.ExportImage(size, kind, picture, 40, 40, 0, 0, true), plain) << kind;
    }
  }
  EXPECT_EQ(Decode(generator_.ExportImage(0, 4)), *generator_.SymbolBitmap());
}

TEST_F(RasterFiles, FailedSaveLeavesTheExistingFileAsItWas) {
  const fs::path path = dir_ / "keep.png";
  ASSERT_TRUE(generator_.SaveImage(path.string(), std::nullopt, 4));
  const Bytes before = testing::FileBytes(path);
  EXPECT_FALSE(generator_.SaveImage((dir_ / "no-such-folder" / "x.png").string(), 230, 4));
  EXPECT_FALSE(generator_.SaveImage(dir_.string(), 230, 4));  // a folder, not a file
  EXPECT_FALSE(generator_.SaveImage(path.string(), 230, 4, Bytes{9, 9, 9}, 10, 10));
  EXPECT_EQ(testing::FileBytes(path), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

}  // namespace
}  // namespace qrsmith
