// Every writer against its own reader and against ImageMagick's.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codecs/bmp.h"
#include "platform/codecs/gif.h"
#include "platform/codecs/ico.h"
#include "platform/codecs/image.h"
#include "platform/codecs/jpeg.h"
#include "platform/codecs/png.h"
#include "platform/codecs/tiff.h"
#include "tests/platform/codecs/test_pictures.h"

namespace qrsmith::platform::codecs {
namespace {

using namespace testing;

struct Codec {
  std::string name;
  ImageFormat format;
  Bytes (*encode)(const Bitmap&);
  std::optional<Bitmap> (*decode)(std::span<const std::uint8_t>);
  bool lossless;  // for pictures of at most 256 colours
};

void PrintTo(const Codec& codec, std::ostream* out) { *out << codec.name; }

const std::vector<Codec>& Codecs() {
  static const std::vector<Codec> codecs{
      {"bmp", ImageFormat::kBmp, [](const Bitmap& b) { return EncodeBmp(b); }, DecodeBmp, true},
      {"png", ImageFormat::kPng, EncodePng, DecodePng, true},
      {"tiff", ImageFormat::kTiff, EncodeTiff, DecodeTiff, true},
      {"ico", ImageFormat::kIco, EncodeIco, DecodeIco, true},
      {"gif", ImageFormat::kGif, EncodeGif, DecodeGif, true},
      {"jpeg", ImageFormat::kJpeg, EncodeJpeg, DecodeJpeg, false},
  };
  return codecs;
}

struct Picture {
  std::string name;
  Bitmap bitmap;
};

std::vector<Picture> Pictures() {
  return {
      {"gradient", GradientPicture(47, 33)},
      {"two_colour", TwoColourPicture(47, 33)},
      {"coloured_two_colour", TwoColourPicture(47, 33, 0x1F3A93, 0xF5E6C8)},
      {"banded_16", BandedPicture(47, 33, 16)},
      {"banded_200", BandedPicture(47, 33, 200)},
      {"one_pixel", *Bitmap::Create(1, 1, 0x336699)},
  };
}

// Exact for lossless writers. GIF quantises the gradient (more than 256
// colours) to 256. JPEG blurs every picture and is held to an average error;
// its banded pictures, a new colour every pixel, are noise it is not meant for.
void ExpectClose(const Codec& codec, const Picture& picture, const Bitmap& decoded) {
  const bool quantised = codec.format == ImageFormat::kGif && picture.name == "gradient";
  if (codec.lossless && !quantised) {
    EXPECT_EQ(MaxChannelDifference(decoded, picture.bitmap), 0);
  } else if (quantised) {
    EXPECT_LE(MaxChannelDifference(decoded, picture.bitmap), 48);
    EXPECT_LE(MeanChannelDifference(decoded, picture.bitmap), 8.0);
  } else if (picture.name.starts_with("banded")) {
    return;
  } else {
    const bool smooth = picture.name == "gradient" || picture.name == "one_pixel";
    EXPECT_LE(MeanChannelDifference(decoded, picture.bitmap), smooth ? 2.0 : 24.0);
  }
}

class RoundTrip : public ::testing::TestWithParam<Codec> {};

TEST_P(RoundTrip, DecodesWhatItEncodes) {
  const Codec& codec = GetParam();
  for (const Picture& picture : Pictures()) {
    SCOPED_TRACE(picture.name);
    const Bytes file = codec.encode(picture.bitmap);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(DetectImageFormat(file), codec.format);
    const auto decoded = codec.decode(file);
    ASSERT_TRUE(decoded);
    ExpectClose(codec, picture, *decoded);
    ASSERT_TRUE(DecodeImage(file));
    EXPECT_EQ(*DecodeImage(file), *decoded);
  }
}

TEST_P(RoundTrip, ImageMagickReadsWhatItEncodes) {
  if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const Codec& codec = GetParam();
  ScratchFolder dir;
  for (const Picture& picture : Pictures()) {
    SCOPED_TRACE(picture.name);
    const auto file = dir / ("picture." + codec.name);
    WriteFileBytes(file, codec.encode(picture.bitmap));
    // "[0]": the first (for ICO, the only) picture of the file.
    // Appended piece by piece: GCC 12 at -O3 takes "'" + std::string for an
    // overlapping copy (a false -Wrestrict).
    std::string command = "'";
    command += file.string();
    command += "[0]' -depth 8 '";
    command += (dir / "back.ppm").string();
    command += "'";
    ASSERT_TRUE(RunConvert(command));
    const auto back = ReadPpm(dir / "back.ppm");
    ASSERT_TRUE(back);
    ExpectClose(codec, picture, *back);
  }
}

TEST_P(RoundTrip, EmptyBitmapGivesNoBytes) { EXPECT_TRUE(GetParam().encode(Bitmap()).empty()); }

INSTANTIATE_TEST_SUITE_P(Codecs, RoundTrip, ::testing::ValuesIn(Codecs()),
                         [](const auto& info) { return info.param.name; });

// The smallest lossless form: palette indices of as few bits as the colour
// count allows, true colour only beyond 256 colours.
TEST(PngEncoding, ChoosesPaletteDepthByColourCount) {
  struct Case {
    std::string name;
    Bitmap bitmap;
    int bit_depth;    // IHDR byte 24
    int colour_type;  // IHDR byte 25: 3 palette, 2 RGB
  };
  const std::vector<Case> cases{
      {"two colours", TwoColourPicture(47, 33), 1, 3},
      {"four colours", BandedPicture(47, 33, 4), 2, 3},
      {"sixteen colours", BandedPicture(47, 33, 16), 4, 3},
      {"seventeen colours", BandedPicture(47, 33, 17), 8, 3},
      {"256 colours", BandedPicture(47, 33, 256), 8, 3},
      {"gradient", GradientPicture(47, 33), 8, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes png = EncodePng(c.bitmap);
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(png[24], c.bit_depth);
    EXPECT_EQ(png[25], c.colour_type);
  }
}

// The logical screen descriptor's packed byte: bit 7 says a global colour
// table follows, bits 0-2 its size as 2^(n+1) entries.
TEST(GifEncoding, ColourTableFitsColourCount) {
  struct Case {
    std::string name;
    Bitmap bitmap;
    int table_size_bits;
  };
  const std::vector<Case> cases{
      {"two colours", TwoColourPicture(47, 33), 0},
      {"five colours", BandedPicture(47, 33, 5), 2},
      {"gradient", GradientPicture(47, 33), 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes gif = EncodeGif(c.bitmap);
    ASSERT_GT(gif.size(), 13u);
    EXPECT_EQ(gif[10] & 0x80, 0x80);
    EXPECT_EQ(gif[10] & 0x07, c.table_size_bits);
  }
}

TEST(TiffEncoding, TwoColoursAreOneBitPaletteWithLzw) {
  if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's identify is not installed";
  ScratchFolder dir;
  WriteFileBytes(dir / "two.tiff", EncodeTiff(TwoColourPicture(47, 33)));
  WriteFileBytes(dir / "gradient.tiff", EncodeTiff(GradientPicture(47, 33)));
  EXPECT_EQ(Identify("%z %[tiff:photometric] %C", dir / "two.tiff"), "1 palette LZW");
  EXPECT_EQ(Identify("%z %[tiff:photometric] %C", dir / "gradient.tiff"), "8 RGB LZW");
}

TEST(BmpEncoding, WritesStandardHeaderAt24Bits) {
  const Bytes bmp = EncodeBmp(GradientPicture(47, 33));
  const std::size_t stride = (47 * 3 + 3) / 4 * 4;
  ASSERT_EQ(bmp.size(), 54 + stride * 33);
  EXPECT_EQ(bmp[10], 54);  // pixel data offset
  EXPECT_EQ(bmp[14], 40);  // information header size
  EXPECT_EQ(bmp[22], 33);  // height, positive: bottom-up
  EXPECT_EQ(bmp[28], 24);  // bits per pixel
  EXPECT_EQ(bmp[30], 0);   // uncompressed
}

}  // namespace
}  // namespace qrsmith::platform::codecs
