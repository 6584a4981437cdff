// ConvertImage and LoadImageBitmap over the codecs.

#include "generator/imaging.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codecs/image.h"
#include "platform/codecs/png.h"

namespace qrsmith {
namespace {

using platform::Bitmap;
using platform::codecs::DecodeImage;
using platform::codecs::DetectImageFormat;
using platform::codecs::ImageFormat;

// A picture whose every pixel differs from its neighbours, so that a wrong
// stretch or a lost row shows.
Bitmap Checkered(int width, int height) {
  Bitmap bitmap = *Bitmap::Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap.SetPixel(x, y,
                      static_cast<std::uint32_t>((x * 6) << 16 | (y * 8) << 8 | (x + y) % 2 * 255));
    }
  }
  return bitmap;
}

// Seven colours in a pattern: few enough for every lossless writer, GIF too.
Bitmap SevenColours(int width, int height) {
  constexpr std::uint32_t kColours[] = {0x000000, 0xFFFFFF, 0xC01010, 0x10A040,
                                        0x2030D0, 0xF0E010, 0x808080};
  Bitmap bitmap = *Bitmap::Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, kColours[(x * 3 + y * 5) % 7]);
  }
  return bitmap;
}

// The generator's symbol image form: a BMP with a 44-byte information header,
// 32 bits per pixel, pixel data at offset 58, bottom row first.
Bytes SymbolImageForm(const Bitmap& bitmap) {
  const auto le32 = [](Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const std::uint32_t image_size = 4u * bitmap.Width() * bitmap.Height();
  Bytes out{'B', 'M'};
  le32(out, 58 + image_size);
  le32(out, 0);
  le32(out, 58);
  le32(out, 44);
  le32(out, bitmap.Width());
  le32(out, bitmap.Height());
  le32(out, 1 | 32 << 16);  // planes, bits per pixel
  le32(out, 0);             // uncompressed
  le32(out, image_size);
  for (int i = 0; i < 5; ++i) le32(out, 0);  // resolution, colours, and the 4 extra bytes
  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < bitmap.Width(); ++x) le32(out, bitmap.Pixel(x, y));
  }
  return out;
}

struct SizeCase {
  std::string name;
  std::optional<int> width;
  std::optional<int> height;
  int expected_width;
  int expected_height;
};

class LoadImageBitmapSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(LoadImageBitmapSize, OfA40By30Png) {
  const SizeCase& c = GetParam();
  const Bitmap source = Checkered(40, 30);
  const auto loaded = LoadImageBitmap(platform::codecs::EncodePng(source), c.width, c.height);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->Width(), c.expected_width);
  ASSERT_EQ(loaded->Height(), c.expected_height);
  // Nearest neighbour: target pixel (x, y) is source (x * 40 / w, y * 30 / h).
  for (int y = 0; y < c.expected_height; ++y) {
    for (int x = 0; x < c.expected_width; ++x) {
      ASSERT_EQ(loaded->Pixel(x, y),
                source.Pixel(x * 40 / c.expected_width, y * 30 / c.expected_height))
          << x << ", " << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Imaging, LoadImageBitmapSize,
                         ::testing::Values(SizeCase{"left_out", {}, {}, 40, 30},
                                           SizeCase{"both_zero", 0, 0, 40, 30},
                                           SizeCase{"enlarged", 80, 60, 80, 60},
                                           SizeCase{"reduced", 20, 15, 20, 15},
                                           SizeCase{"only_width", 80, {}, 80, 30},
                                           SizeCase{"height_zero", 80, 0, 80, 30},
                                           SizeCase{"only_height", 0, 60, 40, 60}),
                         [](const auto& info) { return info.param.name; });

TEST(LoadImageBitmap, RefusesWhatCannotBeLoaded) {
  const Bytes png = platform::codecs::EncodePng(Checkered(40, 30));
  EXPECT_FALSE(LoadImageBitmap({}));
  EXPECT_FALSE(LoadImageBitmap(Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}));
  EXPECT_FALSE(LoadImageBitmap(Bytes(png.begin(), png.begin() + 100)));
  EXPECT_FALSE(LoadImageBitmap(png, -1, 30));
  EXPECT_FALSE(LoadImageBitmap(png, 40, 20000));
}

struct ConvertCase {
  int type;
  ImageFormat format;
  bool lossless;
};

class ConvertImageType : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertImageType, ReencodesTheSymbolImageForm) {
  const Bitmap picture = SevenColours(23, 23);
  Bytes target;
  ASSERT_TRUE(ConvertImage(SymbolImageForm(picture), GetParam().type, target));
  EXPECT_EQ(DetectImageFormat(target), GetParam().format);
  const auto decoded = DecodeImage(target);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->Width(), 23);
  EXPECT_EQ(decoded->Height(), 23);
  if (GetParam().lossless) {
    EXPECT_EQ(*decoded, picture);
  }
}

INSTANTIATE_TEST_SUITE_P(Imaging, ConvertImageType,
                         ::testing::Values(ConvertCase{kConvertToBmp, ImageFormat::kBmp, true},
                                           ConvertCase{kConvertToJpeg, ImageFormat::kJpeg, false},
                                           ConvertCase{kConvertToGif, ImageFormat::kGif, true},
                                           ConvertCase{kConvertToTiff, ImageFormat::kTiff, true},
                                           ConvertCase{kConvertToPng, ImageFormat::kPng, true}),
                         [](const auto& info) {
                           return "type_" + std::to_string(info.param.type);
                         });

TEST(ConvertImage, ToBmpWritesTheStandard40ByteHeader) {
  Bytes target;
  ASSERT_TRUE(ConvertImage(SymbolImageForm(SevenColours(23, 23)), kConvertToBmp, target));
  ASSERT_GT(target.size(), 54u);
  EXPECT_EQ(target[10], 54);  // pixel data right after the two headers
  EXPECT_EQ(target[14], 40);
}

TEST(ConvertImage, RefusalLeavesTargetUnchanged) {
  const Bytes source = SymbolImageForm(SevenColours(23, 23));
  const Bytes before{1, 2, 3};
  struct Case {
    std::string name;
    Bytes source;
    int type;
  };
  const std::vector<Case> cases{
      {"type 0", source, 0},
      {"type 6", source, 6},
      {"type -1", source, -1},
      {"garbage", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}, kConvertToPng},
      {"empty", Bytes{}, kConvertToPng},
      {"truncated", Bytes(source.begin(), source.end() - 1), kConvertToPng},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes target = before;
    EXPECT_FALSE(ConvertImage(c.source, c.type, target));
    EXPECT_EQ(target, before);
  }
}

}  // namespace
}  // namespace qrsmith
