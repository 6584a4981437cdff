// Files written by another program (ImageMagick's convert, made at test time
// from PPM and PAM files that need no codec of ours) read by our decoders.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codecs/image.h"
#include "platform/codecs/pixels.h"
#include "tests/platform/codecs/test_pictures.h"

namespace qrsmith::platform::codecs {
namespace {

using namespace testing;

constexpr int kWidth = 47;
constexpr int kHeight = 33;

// Alpha rising from 0 at the left edge to 255 at the right.
std::uint8_t RampAlpha(int x, int) { return static_cast<std::uint8_t>(x * 255 / (kWidth - 1)); }

Bitmap FlattenedRamp(const Bitmap& picture) {
  Bitmap expected = picture;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t a = RampAlpha(x, y);
      const std::uint32_t p = picture.Pixel(x, y);
      const auto over_white = [a](std::uint32_t c) { return (c * a + 255 * (255 - a)) / 255; };
      expected.SetPixel(
          x, y, PackRgb(over_white(RedOf(p)), over_white(GreenOf(p)), over_white(BlueOf(p))));
    }
  }
  return expected;
}

Bitmap Quadrants(int side) {
  Bitmap bitmap = *Bitmap::Create(side, side, 0xD02020);
  bitmap.FillRect(side / 2, 0, side, side / 2, 0x20A040);
  bitmap.FillRect(0, side / 2, side / 2, side, 0x2040C0);
  bitmap.FillRect(side / 2, side / 2, side, side, 0xF0E0A0);
  return bitmap;
}

struct Sources {
  Bitmap gradient = GradientPicture(kWidth, kHeight);
  Bitmap banded16 = BandedPicture(kWidth, kHeight, 16);
  Bitmap banded100 = BandedPicture(kWidth, kHeight, 100);
  Bitmap two = TwoColourPicture(kWidth, kHeight);
  Bitmap grey = GreyPicture(kWidth, kHeight);
  Bitmap square = Quadrants(256);
  Bitmap icon = BandedPicture(32, 32, 16);

  void WriteAll(const ScratchFolder& dir) const {
    WritePpm(dir / "gradient.ppm", gradient);
    WritePpm(dir / "banded16.ppm", banded16);
    WritePpm(dir / "banded100.ppm", banded100);
    WritePpm(dir / "two.ppm", two);
    WritePpm(dir / "grey.ppm", grey);
    WritePpm(dir / "square.ppm", square);
    WritePpm(dir / "icon.ppm", icon);
    const auto binary = [](const Bitmap& b) {
      return [&b](int x, int y) { return BinaryAlpha(x, y, b.Width(), b.Height()); };
    };
    WritePamWithAlpha(dir / "cutout.pam", banded16, binary(banded16));
    WritePamWithAlpha(dir / "cutout_icon.pam", icon, binary(icon));
    WritePamWithAlpha(dir / "ramp.pam", gradient, RampAlpha);
  }
};

struct ForeignCase {
  std::string name;
  // convert's arguments; "@" stands for the scratch directory. The result
  // is always @out.
  std::string arguments;
  Bitmap Sources::*expected;
  enum { kExact, kCutout, kRamp, kFiveBits, kNear } expectation = kExact;
};

void PrintTo(const ForeignCase& c, std::ostream* out) { *out << c.name; }

std::vector<ForeignCase> Cases() {
  return {
      {"bmp_core_header_24bit", "@gradient.ppm BMP2:@out", &Sources::gradient},
      {"bmp_palette_4bit", "@banded16.ppm -type Palette BMP3:@out", &Sources::banded16},
      // ImageMagick codes 8-bit indices with RLE8.
      {"bmp_palette_8bit_rle", "@banded100.ppm -type Palette BMP3:@out", &Sources::banded100},
      {"bmp_palette_8bit", "@banded100.ppm -type Palette -compress None BMP3:@out",
       &Sources::banded100},
      {"bmp_1bit", "@two.ppm -type Bilevel BMP3:@out", &Sources::two},
      {"bmp_v5_24bit", "@gradient.ppm BMP:@out", &Sources::gradient},
      {"bmp_rgb565_bitfields", "@gradient.ppm -define bmp:subtype=RGB565 BMP:@out",
       &Sources::gradient, ForeignCase::kFiveBits},
      {"bmp_v5_alpha_bitfields", "@cutout.pam BMP:@out", &Sources::banded16, ForeignCase::kCutout},
      {"png_interlaced_rgb", "@gradient.ppm -interlace PNG PNG24:@out", &Sources::gradient},
      {"png_interlaced_palette", "@banded16.ppm -interlace PNG PNG8:@out", &Sources::banded16},
      {"png_16bit", "@gradient.ppm -depth 16 PNG48:@out", &Sources::gradient},
      {"png_grey", "@grey.ppm -type Grayscale PNG:@out", &Sources::grey},
      {"png_alpha", "@ramp.pam PNG32:@out", &Sources::gradient, ForeignCase::kRamp},
      {"png_palette_trns", "@cutout.pam PNG8:@out", &Sources::banded16, ForeignCase::kCutout},
      {"jpeg_progressive", "@gradient.ppm -interlace JPEG -quality 92 JPEG:@out",
       &Sources::gradient, ForeignCase::kNear},
      {"jpeg_grey", "@grey.ppm -type Grayscale -quality 92 JPEG:@out", &Sources::grey,
       ForeignCase::kNear},
      {"jpeg_cmyk", "@gradient.ppm -colorspace CMYK -quality 92 JPEG:@out", &Sources::gradient,
       ForeignCase::kNear},
      {"gif_transparent", "@cutout.pam GIF:@out", &Sources::banded16, ForeignCase::kCutout},
      {"gif_interlaced", "@banded16.ppm -interlace GIF GIF:@out", &Sources::banded16},
      {"gif_first_frame", "@banded16.ppm @gradient.ppm GIF:@out", &Sources::banded16},
      {"tiff_uncompressed", "@gradient.ppm -compress None TIFF:@out", &Sources::gradient},
      {"tiff_lzw_palette", "@banded16.ppm -type Palette -compress LZW TIFF:@out",
       &Sources::banded16},
      {"tiff_tiled_deflate",
       "@gradient.ppm -define tiff:tile-geometry=16x16 -compress Zip TIFF:@out",
       &Sources::gradient},
      {"tiff_group4", "@two.ppm -type Bilevel -compress Group4 TIFF:@out", &Sources::two},
      {"tiff_alpha", "@ramp.pam -compress LZW TIFF:@out", &Sources::gradient, ForeignCase::kRamp},
      {"tiff_first_page", "@banded16.ppm @gradient.ppm TIFF:@out", &Sources::banded16},
      // The 256-pixel entry is stored in PNG form and is the one to pick.
      {"ico_png_entry", "@square.ppm -define icon:auto-resize=16,32,256 ICO:@out",
       &Sources::square},
      {"ico_bmp_entry", "@icon.ppm -define icon:auto-resize=32 ICO:@out", &Sources::icon},
      {"ico_bmp_entry_alpha", "@cutout_icon.pam -define icon:auto-resize=32 ICO:@out",
       &Sources::icon, ForeignCase::kCutout},
  };
}

std::string Expand(const std::string& arguments, const ScratchFolder& dir) {
  const std::string prefix = (dir / "").string();
  std::string out;
  for (char c : arguments) {
    if (c == '@') {
      out += prefix;
    } else {
      out += c;
    }
  }
  return out;
}

class ForeignFile : public ::testing::TestWithParam<ForeignCase> {
 protected:
  static void SetUpTestSuite() {
    if (!HaveImageMagick()) return;
    dir_ = new ScratchFolder;
    sources_ = new Sources;
    sources_->WriteAll(*dir_);
  }
  static void TearDownTestSuite() {
    delete dir_;
    delete sources_;
    dir_ = nullptr;
    sources_ = nullptr;
  }
  void SetUp() override {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  }

  static ScratchFolder* dir_;
  static Sources* sources_;
};

ScratchFolder* ForeignFile::dir_ = nullptr;
Sources* ForeignFile::sources_ = nullptr;

TEST_P(ForeignFile, DecodesToTheKnownPicture) {
  const ForeignCase& c = GetParam();
  ASSERT_TRUE(RunConvert(Expand(c.arguments, *dir_)));
  const Bytes file = FileBytes(*dir_ / "out");
  const auto decoded = DecodeImage(file);
  ASSERT_TRUE(decoded);
  const Bitmap& source = sources_->*c.expected;
  switch (c.expectation) {
    case ForeignCase::kExact:
      EXPECT_EQ(MaxChannelDifference(*decoded, source), 0);
      break;
    case ForeignCase::kCutout:
      EXPECT_EQ(MaxChannelDifference(*decoded, FlattenedBinaryAlpha(source)), 0);
      break;
    case ForeignCase::kRamp:
      EXPECT_LE(MaxChannelDifference(*decoded, FlattenedRamp(source)), 1);
      break;
    case ForeignCase::kFiveBits:  // 5 bits a channel lose the 3 low bits
      EXPECT_LE(MaxChannelDifference(*decoded, source), 8);
      break;
    case ForeignCase::kNear:
      EXPECT_LE(MaxChannelDifference(*decoded, source), 24);
      EXPECT_LE(MeanChannelDifference(*decoded, source), 3.0);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(ImageMagick, ForeignFile, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qrsmith::platform::codecs
