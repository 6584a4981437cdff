// Pictures that lie about themselves: every decoder refuses them cleanly,
// without reading past the bytes, allocating for the declared size or
// returning a partly decoded picture.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/codecs/bmp.h"
#include "platform/codecs/byte_order.h"
#include "platform/codecs/gif.h"
#include "platform/codecs/ico.h"
#include "platform/codecs/image.h"
#include "platform/codecs/jpeg.h"
#include "platform/codecs/png.h"
#include "platform/codecs/tiff.h"
#include "tests/platform/codecs/bmp_builder.h"
#include "tests/platform/codecs/test_pictures.h"

namespace qrsmith::platform::codecs {
namespace {

using namespace testing;

// A valid PNG whose IHDR declares width x height, with a correct CRC, so
// that only the size is wrong.
Bytes PngDeclaring(std::uint32_t width, std::uint32_t height) {
  Bytes png = EncodePng(TwoColourPicture(8, 8));
  StoreBe32(&png[16], width);
  StoreBe32(&png[20], height);
  StoreBe32(&png[29], Crc32(std::span(png).subspan(12, 17)));  // chunk type and 13 data bytes
  return png;
}

// A valid JPEG whose frame header (SOF0) declares width x height.
Bytes JpegDeclaring(std::uint32_t width, std::uint32_t height) {
  Bytes jpeg = EncodeJpeg(GradientPicture(16, 16));
  for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      StoreBe16(&jpeg[i + 5], height);
      StoreBe16(&jpeg[i + 7], width);
      break;
    }
  }
  return jpeg;
}

// A valid TIFF (little-endian, as the encoder writes on this machine) whose
// first directory's ImageWidth tag says `width`.
Bytes TiffDeclaringWidth(std::uint32_t width) {
  Bytes tiff = EncodeTiff(GradientPicture(16, 16));
  const std::uint32_t ifd = LoadLe32(&tiff[4]);
  const std::uint32_t count = tiff[ifd] | (tiff[ifd + 1] << 8);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = ifd + 2 + 12 * i;
    if ((tiff[entry] | (tiff[entry + 1] << 8)) == 256) {
      tiff[entry + 2] = 4;  // type LONG, one value
      tiff[entry + 3] = 0;
      StoreLe32(&tiff[entry + 8], width);
    }
  }
  return tiff;
}

Bytes GifWithScreen(std::uint16_t width, std::uint16_t height) {
  Bytes gif = EncodeGif(TwoColourPicture(8, 8));
  gif[6] = width & 0xFF;
  gif[7] = width >> 8;
  gif[8] = height & 0xFF;
  gif[9] = height >> 8;
  return gif;
}

Bytes IcoWithEntry(std::uint32_t size, std::uint32_t offset) {
  Bytes ico = EncodeIco(TwoColourPicture(16, 16));
  StoreLe32(&ico[14], size);
  StoreLe32(&ico[18], offset);
  return ico;
}

Bytes IcoWithCount(std::uint16_t count) {
  Bytes ico = EncodeIco(TwoColourPicture(16, 16));
  ico[4] = count & 0xFF;
  ico[5] = count >> 8;
  return ico;
}

Bytes BmpWithField(std::size_t at, std::uint32_t value, DibLayout layout = SmallPaletteDib()) {
  Bytes bmp = BuildBmp(layout);
  StoreLe32(&bmp[at], value);
  return bmp;
}

struct MalformedCase {
  std::string name;
  Bytes bytes;
};

void PrintTo(const MalformedCase& c, std::ostream* out) { *out << c.name; }

std::vector<MalformedCase> MalformedCases() {
  DibLayout rle_no_end = SmallRle8Dib();
  rle_no_end.pixels.resize(rle_no_end.pixels.size() - 2);  // drop the end-of-picture escape
  DibLayout rle_top_down = SmallRle8Dib();
  rle_top_down.height = -rle_top_down.height;
  DibLayout split_mask = SmallBitfieldDib();
  split_mask.masks[0] = 0x00F0F000;  // red in two runs
  DibLayout index_past_table = SmallPaletteDib();
  index_past_table.colours_used = 1;  // but the pixels use index 1
  index_past_table.palette.resize(1);
  DibLayout short_pixels = SmallPaletteDib();
  short_pixels.pixels.pop_back();
  DibLayout odd_bits = SmallPaletteDib();
  odd_bits.bit_count = 7;
  DibLayout short_header = SmallPaletteDib();
  short_header.header_size = 39;

  return {
      {"empty", {}},
      {"one_byte", {'B'}},
      {"bmp_file_header_only", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 14, 0, 0, 0}},
      {"bmp_height_int32_min",
       BmpWithField(22, static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::min()))},
      {"bmp_width_zero", BmpWithField(18, 0)},
      {"bmp_width_negative", BmpWithField(18, static_cast<std::uint32_t>(-4))},
      {"bmp_height_zero", BmpWithField(22, 0)},
      {"bmp_width_beyond_bound", BmpWithField(18, 16385)},
      {"bmp_colour_count_100000", BmpWithField(46, 100000)},
      {"bmp_colour_count_over_bit_depth", BmpWithField(46, 3)},
      {"bmp_pixel_offset_past_end", BmpWithField(10, 1u << 30)},
      {"bmp_pixel_offset_inside_header", BmpWithField(10, 20)},
      {"bmp_pixel_data_short", BuildBmp(short_pixels)},
      {"bmp_index_past_colour_table", BuildBmp(index_past_table)},
      {"bmp_seven_bits", BuildBmp(odd_bits)},
      {"bmp_header_39_bytes", BuildBmp(short_header)},
      {"bmp_split_bit_field", BuildBmp(split_mask)},
      {"bmp_rle8_without_end", BuildBmp(rle_no_end)},
      {"bmp_rle8_top_down", BuildBmp(rle_top_down)},
      {"bmp_jpeg_compression", BmpWithField(30, 4)},
      {"png_100000_square", PngDeclaring(100000, 100000)},
      {"png_zero_width", PngDeclaring(0, 8)},
      {"jpeg_65500_square", JpegDeclaring(65500, 65500)},
      {"gif_screen_65535_square", GifWithScreen(65535, 65535)},
      {"tiff_width_100000", TiffDeclaringWidth(100000)},
      {"ico_entry_past_end", IcoWithEntry(100, 1u << 20)},
      {"ico_entry_longer_than_file", IcoWithEntry(1u << 20, 22)},
      {"ico_entry_empty", IcoWithEntry(0, 22)},
      {"ico_entry_inside_directory", IcoWithEntry(100, 4)},
      {"ico_no_entries", IcoWithCount(0)},
      {"ico_directory_past_end", IcoWithCount(5000)},
  };
}

class Malformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(Malformed, IsRefusedByEveryDecoder) {
  const Bytes& bytes = GetParam().bytes;
  EXPECT_FALSE(DecodeImage(bytes));
  for (auto decode : {DecodeBmp, DecodePng, DecodeJpeg, DecodeGif, DecodeTiff, DecodeIco}) {
    EXPECT_FALSE(decode(bytes));
  }
}

INSTANTIATE_TEST_SUITE_P(Codecs, Malformed, ::testing::ValuesIn(MalformedCases()),
                         [](const auto& info) { return info.param.name; });

// A file cut anywhere is refused, not shown with a made-up remainder. Each
// file is cut at 64 evenly spread lengths and one byte short of its end.
struct TruncationCase {
  std::string name;
  Bytes file;
};

void PrintTo(const TruncationCase& c, std::ostream* out) { *out << c.name; }

std::vector<TruncationCase> TruncationCases() {
  const Bitmap gradient = GradientPicture(47, 33);
  const Bitmap two = TwoColourPicture(47, 33);
  return {
      {"bmp", EncodeBmp(gradient)},      {"bmp_rle8", BuildBmp(SmallRle8Dib())},
      {"png", EncodePng(gradient)},      {"png_one_bit", EncodePng(two)},
      {"jpeg", EncodeJpeg(gradient)},    {"gif", EncodeGif(gradient)},
      {"gif_one_bit", EncodeGif(two)},   {"tiff", EncodeTiff(gradient)},
      {"tiff_one_bit", EncodeTiff(two)}, {"ico", EncodeIco(gradient)},
  };
}

class Truncated : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(Truncated, IsRefusedAtEveryCut) {
  const Bytes& file = GetParam().file;
  ASSERT_TRUE(DecodeImage(file));
  std::vector<std::size_t> lengths{file.size() - 1};
  for (std::size_t i = 0; i < 64; ++i) lengths.push_back(file.size() * i / 64);
  for (std::size_t length : lengths) {
    SCOPED_TRACE(length);
    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(DecodeImage(cut));
  }
}

INSTANTIATE_TEST_SUITE_P(Codecs, Truncated, ::testing::ValuesIn(TruncationCases()),
                         [](const auto& info) { return info.param.name; });

TEST(DetectImageFormat, KnowsNoNameOnlySignatures) {
  const std::string text = "BM is how this text starts, but it is not a bitmap";
  const Bytes garbage(text.begin(), text.end());
  EXPECT_EQ(DetectImageFormat(garbage), ImageFormat::kBmp);
  EXPECT_FALSE(DecodeImage(garbage));
  EXPECT_FALSE(DetectImageFormat(Bytes{'<', 's', 'v', 'g', '>'}));
  EXPECT_FALSE(DetectImageFormat(Bytes{}));
}

}  // namespace
}  // namespace qrsmith::platform::codecs
