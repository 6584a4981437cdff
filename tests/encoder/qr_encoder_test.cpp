#include "encoder/qr_encoder.h"

#include <gtest/gtest.h>

#include <qrcodegen.hpp>
#include <string>

#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

EncodeOptions Options(std::optional<std::int16_t> version, std::optional<std::int16_t> level = {}) {
  EncodeOptions options;
  options.version = version;
  options.level = level;
  return options;
}

std::vector<std::uint8_t> Modules(const QrEncoder& encoder) {
  std::vector<std::uint8_t> modules;
  for (int r = 1; r <= encoder.Side(); ++r) {
    for (int c = 1; c <= encoder.Side(); ++c) modules.push_back(encoder.ModuleAt(r, c, true));
  }
  return modules;
}

TEST(Encode, AutomaticVersionIsTheSmallestThatFits) {
  struct Case {
    Bytes content;
    std::optional<std::int16_t> version, level;
    std::int32_t side;
  };
  const Case cases[] = {
      {B("01234567890123456789"), 0, 2, 21},
      {B("01234567890123456789"), {}, {}, 21},
      {B("01234567890123456789"), 41, 2, 21},  // above 40 means automatic
      {Bytes(14, 'a'), 0, 2, 21},              // version 1-M holds 14 bytes
      {Bytes(15, 'a'), 0, 2, 25},
      {Bytes(230, 'a'), 0, 1, 17 + 4 * 9},   // version 9-L, 8-bit count
      {Bytes(231, 'a'), 0, 1, 17 + 4 * 10},  // version 10-L, 16-bit count
      {Bytes(2953, 'a'), 0, 1, 177},
      {Bytes(7089, '1'), 0, 1, 177},
      {{}, 0, 4, 21},
  };
  QrEncoder encoder;
  for (const Case& c : cases) {
    ASSERT_NE(encoder.Encode(c.content, static_cast<std::int32_t>(c.content.size()),
                             Options(c.version, c.level)),
              nullptr)
        << c.content.size();
    EXPECT_EQ(encoder.Side(), c.side) << c.content.size();
  }
}

// A refusal returns null and keeps the previous symbol and margins.
TEST(Encode, RefusalsKeepThePreviousSymbol) {
  struct Case {
    std::string what;
    Bytes content;
    EncodeOptions options;
  };
  auto with = [](std::int16_t version, std::int16_t level, std::int32_t left = 0) {
    EncodeOptions o = Options(version, level);
    o.left = left;
    return o;
  };
  EncodeOptions negativeMargin;
  negativeMargin.bottom = -1;
  EncodeOptions wideMargin;
  wideMargin.right = 16384 - 20;  // 16385 pixels with version 1
  EncodeOptions hugeMargin;
  hugeMargin.top = 2147483647;
  const Case cases[] = {
      {"negative version", B("x"), with(-1, 2)},
      {"30 letters at 1-H", Bytes(30, 'q'), with(1, 4)},
      {"one byte over 1-M", Bytes(15, 'q'), with(1, 2)},
      {"one byte over 40-L", Bytes(2954, 'q'), with(40, 1)},
      {"one digit over 40-L", Bytes(7090, '1'), with(0, 1)},
      {"negative margin", B("x"), negativeMargin},
      {"bitmap too wide", B("x"), wideMargin},
      {"huge margin", B("x"), hugeMargin},
  };
  QrEncoder encoder;
  EncodeOptions first = Options(2);
  first.left = first.top = 1;
  ASSERT_NE(encoder.Encode(B("first"), 5, first), nullptr);
  const std::vector<std::uint8_t> before = Modules(encoder);
  for (const Case& c : cases) {
    EXPECT_EQ(encoder.Encode(c.content, static_cast<std::int32_t>(c.content.size()), c.options),
              nullptr)
        << c.what;
    EXPECT_EQ(encoder.Side(), 25) << c.what;
    EXPECT_EQ(encoder.MarginLeft(), 1) << c.what;
    EXPECT_EQ(Modules(encoder), before) << c.what;
  }
  EXPECT_NE(encoder.Encode(Bytes(14, 'q'), 14, with(1, 2)), nullptr);  // exactly full
  EXPECT_NE(encoder.Encode(Bytes(2953, 'q'), 2953, with(40, 1)), nullptr);
  EncodeOptions widest;
  widest.right = 16384 - 21;
  EXPECT_NE(encoder.Encode(B("x"), 1, widest), nullptr);
}

TEST(Encode, OutOfRangeLevelAndMaskTakeTheirDefaults) {
  QrEncoder encoder;
  const Bytes content = B("LEVEL AND MASK");
  auto modules = [&](std::optional<std::int16_t> level, std::optional<std::int16_t> mask) {
    EncodeOptions o;
    o.level = level;
    o.mask = mask;
    EXPECT_NE(encoder.Encode(content, 14, o), nullptr);
    return Modules(encoder);
  };
  const std::vector<std::uint8_t> m0 = modules(2, 0);
  for (const std::int16_t level : {0, 5, -3}) EXPECT_EQ(modules(level, 0), m0) << level;
  EXPECT_EQ(modules({}, {}), m0);
  for (const std::int16_t mask : {-1, 8, 100}) EXPECT_EQ(modules(2, mask), m0) << mask;
  EXPECT_NE(modules(1, 0), m0);
  EXPECT_NE(modules(2, 1), m0);
}

// The count n bounds the content; nothing past data.size() is read.
TEST(Encode, CountSelectsTheLeadingBytes) {
  struct Case {
    std::int32_t n;
    Bytes decoded;
  };
  QrEncoder encoder;
  const Bytes data = B("qrsmith");
  for (const Case& c : {Case{3, B("qrs")}, Case{7, data}, Case{1000000, data}}) {
    const auto picture = encoder.Encode(data, c.n);
    ASSERT_NE(picture, nullptr);
    const auto read = testing::DecodeWithZxing(*picture, 4);
    ASSERT_TRUE(read.has_value()) << c.n;
    EXPECT_EQ(read->bytes, c.decoded) << c.n;
  }
}

// Empty content is the terminator and pad codewords 0xEC, 0x11, ...: the same
// modules as an independent encoder given no segments.
TEST(Encode, EmptyContentIsPaddedAsTheStandardSays) {
  QrEncoder encoder;
  for (const std::int32_t n : {0, -4}) {
    ASSERT_NE(encoder.Encode(B("ignored"), n, Options(1, 2)), nullptr);
    const qrcodegen::QrCode peer =
        qrcodegen::QrCode::encodeSegments({}, qrcodegen::QrCode::Ecc::MEDIUM, 1, 1, 0, false);
    for (int r = 0; r < 21; ++r) {
      for (int c = 0; c < 21; ++c) {
        ASSERT_EQ(encoder.ModuleAt(r + 1, c + 1, true), peer.getModule(c, r) ? 1 : 0)
            << r << "," << c;
      }
    }
  }
}

TEST(Encode, KanjiModeOnlyWhenAllowed) {
  const Bytes chinese = B("中文");  // UTF-8 E4 B8 AD E6 96 87: E4 B8 looks like a Kanji pair
  QrEncoder encoder;
  EncodeOptions options;
  options.allowKanji = false;
  const auto picture = encoder.Encode(chinese, static_cast<std::int32_t>(chinese.size()), options);
  ASSERT_NE(picture, nullptr);
  const auto read = testing::DecodeWithZxing(*picture, 4);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->text, "中文");
  // Left out, Shift-JIS pairs go into Kanji mode: 0x93 0x5F is 点.
  const Bytes ten = {0x93, 0x5F};
  const auto kanji = encoder.Encode(ten, 2);
  ASSERT_NE(kanji, nullptr);
  const auto readKanji = testing::DecodeWithZxing(*kanji, 4);
  ASSERT_TRUE(readKanji.has_value());
  EXPECT_EQ(readKanji->text, "点");
  std::vector<std::uint8_t> bits;
  EXPECT_EQ(encoder.BuildBitStream(bits, ten, 2, 1, true), 25 + 4);
}

TEST(Encode, ModuleAtInBothFrames) {
  QrEncoder encoder;
  EXPECT_EQ(encoder.Side(), 0);
  EXPECT_EQ(encoder.ModuleAt(1, 1, true), 0);
  EncodeOptions options = Options(2);
  options.left = options.top = options.right = options.bottom = 1;
  ASSERT_NE(encoder.Encode(B("frames"), 6, options), nullptr);
  EXPECT_EQ(encoder.ModuleAt(1, 1, true), 1);   // finder corner
  EXPECT_EQ(encoder.ModuleAt(26, 1, true), 0);  // spare row
  EXPECT_EQ(encoder.ModuleAt(1, 5, false), 0);  // margin
  EXPECT_EQ(encoder.ModuleAt(2, 2, false), 1);  // finder corner
  for (const auto& [p, q] :
       {std::pair{0, 1}, {1, 0}, {29, 1}, {-2147483647 - 1, 3}, {1, 2147483647}}) {
    EXPECT_EQ(encoder.ModuleAt(p, q, true), 0);
    EXPECT_EQ(encoder.ModuleAt(p, q, false), 0);
  }
}

// Every pixel of the symbol bitmap against ModuleAt in the bitmap's frame.
TEST(Encode, BitmapPlacesModulesAndColours) {
  struct Case {
    std::int32_t left, top, right, bottom;
    std::optional<Colour> foreground, background;
  };
  QrEncoder encoder;
  for (const Case c : {Case{3, 0, 1, 2, 0x0000FF, {}}, Case{1, 1, 1, 1, {}, 0x00FF00},
                       Case{0, 0, 0, 0, 0x123456, 0xABCDEF}}) {
    EncodeOptions options = Options(1);
    options.left = c.left;
    options.top = c.top;
    options.right = c.right;
    options.bottom = c.bottom;
    options.foreground = c.foreground;
    options.background = c.background;
    const auto picture = encoder.Encode(B("PIXELS"), 6, options);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 21 + c.left + c.right);
    EXPECT_EQ(picture->Height(), 21 + c.top + c.bottom);
    const std::uint32_t dark = platform::PixelFromColour(c.foreground.value_or(kBlack));
    const std::uint32_t light = platform::PixelFromColour(c.background.value_or(kWhite));
    EXPECT_EQ(picture->Pixel(c.left, c.top), dark);  // the finder's corner
    for (int y = 0; y < picture->Height(); ++y) {
      for (int x = 0; x < picture->Width(); ++x) {
        ASSERT_EQ(picture->Pixel(x, y), encoder.ModuleAt(y + 1, x + 1, false) ? dark : light)
            << x << "," << y;
      }
    }
  }
  EXPECT_EQ(platform::PixelFromColour(0x0000FF), 0xFF0000u);  // red dark modules
}

TEST(RenderSymbolBitmap, RefusesBadArgumentsAndUsesThePalette) {
  const std::uint8_t matrix[4 * 4] = {0, 1, 2, 9, 1, 0, 0, 0};  // side 1? no: rows of 4 bytes
  EXPECT_EQ(RenderSymbolBitmap(nullptr, 1, 1, 0, 0, 0, 0, kBlack), nullptr);
  EXPECT_EQ(RenderSymbolBitmap(matrix, 0, 0, 0, 0, 0, 0, kBlack), nullptr);
  EXPECT_EQ(RenderSymbolBitmap(matrix, 1, 1, -1, 0, 0, 0, kBlack), nullptr);
  EXPECT_EQ(RenderSymbolBitmap(matrix, 1, 1, 0, 16384, 0, 0, kBlack), nullptr);
  // Side 1: a single module per row of 4 bytes (s + 3). Values beyond 1 are
  // palette entries 2..255, which are black.
  const auto picture = RenderSymbolBitmap(matrix + 2, 1, 1, 1, 0, 0, 0, 0xFFFFFF, 0x0000FF);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 2);
  EXPECT_EQ(picture->Pixel(0, 0), 0xFF0000u);  // margin in the background
  EXPECT_EQ(picture->Pixel(1, 0), 0u);
}

TEST(Encode, CopiesAreDeep) {
  QrEncoder encoder;
  ASSERT_NE(encoder.Encode(B("original"), 8, Options(3)), nullptr);
  const QrEncoder copy = encoder;
  ASSERT_NE(encoder.Encode(B("changed"), 7, Options(1)), nullptr);
  EXPECT_EQ(copy.Side(), 29);
  EXPECT_EQ(encoder.Side(), 21);
}

}  // namespace
}  // namespace qrsmith
