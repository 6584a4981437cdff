#include "generator/qr_generator.h"

#include <gtest/gtest.h>

#include "generator/imaging.h"
#include "generator/noise_bits.h"
#include "generator/raster_rendering.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

using testing::DecodeWithZxing;

Bytes AsBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

// What a reader sees in the current symbol.
std::optional<testing::Decoded> Scan(const QrGenerator& g) {
  if (!g.HasSymbol()) return std::nullopt;
  return DecodeWithZxing(*g.SymbolBitmap(), 4);
}

Bytes SolidPng(int w, int h, std::uint32_t pixel) {
  Bytes png;
  EXPECT_TRUE(ConvertImage(BitmapToImage(*platform::Bitmap::Create(w, h, pixel)), 5, png));
  return png;
}

TEST(NoiseBitReader, ReadsLeastSignificantFirstAndSkipsTheLastBit) {
  const Bytes pool{0b00000101, 0b10000000};
  NoiseBitReader bits(pool);
  std::string seen;
  for (int i = 0; i < 17; ++i) seen += bits.Next() ? '1' : '0';
  // Bits 1..15, then bit 1 again and bit 2: bit 16 (the top bit of byte 2) is never read.
  EXPECT_EQ(seen, "10100000000000010");
  NoiseBitReader empty(Bytes{});
  EXPECT_FALSE(empty.Next());
}

TEST(Generate, DefaultsGiveAVersion1SymbolWithOneModuleMargins) {
  QrGenerator g;
  EXPECT_EQ(g.SymbolWidth(), 0);
  ASSERT_TRUE(g.Generate("12345678901234567890", false, 0, std::nullopt, std::nullopt, kBlack));
  EXPECT_EQ(g.SymbolWidth(), 23);
  EXPECT_EQ(g.SymbolHeight(), 23);
  EXPECT_EQ(g.Level(), 2);
  EXPECT_EQ(g.BackgroundColour(), kWhite);
  EXPECT_EQ(g.SymbolImage().size(), 2174u);
  EXPECT_EQ(g.NoiseBits().size(), 661u);  // 23 x 23 x 10 / 8 = 661.25
  const auto scan = Scan(g);
  ASSERT_TRUE(scan.has_value());
  EXPECT_EQ(scan->text, "12345678901234567890");
}

TEST(Generate, MarginsGoToTheirSides) {
  QrGenerator g;
  ASSERT_TRUE(g.Generate("HELLO", false, 1, 2, -1, kBlack, std::nullopt, std::nullopt, 4, 4, 4, 4));
  EXPECT_EQ(g.SymbolWidth(), 29);
  // left 2, bottom 0, top 3, right 1
  ASSERT_TRUE(g.Generate("HELLO", false, 1, 2, -1, kBlack, std::nullopt, std::nullopt, 2, 0, 3, 1));
  EXPECT_EQ(g.SymbolWidth(), 24);
  EXPECT_EQ(g.SymbolHeight(), 24);
  const auto& bitmap = *g.SymbolBitmap();
  EXPECT_EQ(bitmap.Pixel(2, 3), 0u);         // top-left finder corner
  EXPECT_EQ(bitmap.Pixel(1, 3), 0xFFFFFFu);  // margin
  EXPECT_EQ(bitmap.Pixel(2, 2), 0xFFFFFFu);
  EXPECT_TRUE(g.IsDark(4, 3));  // the same corner through the module query
  EXPECT_FALSE(g.IsDark(3, 3));
}

TEST(Generate, LevelZeroEncodesAsM) {
  QrGenerator zero, m;
  ASSERT_TRUE(zero.Generate("LEVEL", false, 0, 0, -1, kBlack));
  ASSERT_TRUE(m.Generate("LEVEL", false, 0, 2, -1, kBlack));
  EXPECT_EQ(zero.SymbolImage(), m.SymbolImage());
  EXPECT_EQ(zero.Level(), 0);
}

TEST(Generate, ChosenMaskIsTheEncodersChoiceAndIsReported) {
  const std::string text = "https://www.example.com/products/item-1234?ref=mask";
  QrEncoder encoder;
  EncodeOptions choose;
  choose.chooseMask = true;
  const Bytes bytes = AsBytes(text);
  ASSERT_TRUE(encoder.Encode(bytes, static_cast<std::int32_t>(bytes.size()), choose));
  ASSERT_NE(encoder.Mask(), 0);  // a content whose best mask is not mask 0
  QrGenerator g;
  ASSERT_TRUE(
      g.Generate(text, false, 0, 2, 0, kBlack, std::nullopt, std::nullopt, 1, 1, 1, 1, true));
  EXPECT_EQ(g.Mask(), encoder.Mask());
  QrGenerator fixed;
  ASSERT_TRUE(fixed.Generate(text, false, 0, 2, static_cast<std::int16_t>(encoder.Mask()), kBlack));
  EXPECT_EQ(g.SymbolImage(), fixed.SymbolImage());
  EXPECT_EQ(Scan(g)->text, text);
}

// The named options mean what the positional ones mean; a mask left out is
// chosen by the penalty rules.
TEST(Generate, NamedOptionsMatchThePositionalCall) {
  const std::string text = "https://www.example.com/products/item-1234?ref=mask";
  QrGenerator positional, named;
  ASSERT_TRUE(positional.Generate(text, false, 0, 3, -1, 0x102030, 0xF0E0D0, std::nullopt, 2, 3, 4,
                                  5, true));
  GenerateOptions options;
  options.level = Level::kQ;
  options.foreground = 0x102030;
  options.background = 0xF0E0D0;
  options.marginLeft = 2;
  options.marginTop = 4;
  options.marginRight = 5;
  options.marginBottom = 3;
  ASSERT_TRUE(named.Generate(text, options));
  EXPECT_EQ(named.SymbolImage(), positional.SymbolImage());
  EXPECT_EQ(named.Mask(), positional.Mask());
  options.level = Level::kH;
  options.mask = 5;
  ASSERT_TRUE(named.Generate(text, options));
  EXPECT_EQ(named.Level(), 4);
  EXPECT_EQ(named.Mask(), 5);
  EXPECT_EQ(LevelOfLetter('q'), Level::kQ);
  EXPECT_EQ(LevelOfLetter('X'), std::nullopt);
}

TEST(Generate, OutOfRangeOptionsDropTheCurrentSymbol) {
  struct Case {
    std::int16_t version, level, mask;
    std::int32_t margin;
  };
  const Case cases[] = {{41, 2, -1, 1}, {-1, 2, -1, 1}, {0, 5, -1, 1},  {0, -1, -1, 1},
                        {0, 2, 8, 1},   {0, 2, -2, 1},  {0, 2, -1, -1}, {0, 2, -1, 16384}};
  for (const Case& c : cases) {
    QrGenerator g;
    ASSERT_TRUE(g.Generate("first", false, 0, 2, -1, kBlack));
    EXPECT_FALSE(g.Generate("second", false, c.version, c.level, c.mask, 0x0000FF, std::nullopt,
                            std::nullopt, c.margin, c.margin, c.margin, c.margin));
    EXPECT_FALSE(g.HasSymbol());
    EXPECT_EQ(g.SymbolWidth(), 0);
    EXPECT_EQ(g.LastFailure(), GenerateFailure::kOptionOutOfRange);
    EXPECT_EQ(g.Content(), "first");  // nothing of the refused call is stored
  }
}

TEST(Generate, MarginsThatMakeTooLargeAPictureFail) {
  QrGenerator g;
  EXPECT_FALSE(
      g.Generate("x", false, 40, 2, -1, kBlack, std::nullopt, std::nullopt, 8150, 1, 1, 8150));
  EXPECT_EQ(g.LastFailure(), GenerateFailure::kSymbolTooLarge);
  EXPECT_FALSE(g.HasSymbol());
}

TEST(Generate, ContentTooLongForTheVersionFailsButKeepsTheOptions) {
  QrGenerator g;
  EXPECT_FALSE(g.Generate(std::string(30, 'a'), false, 1, 4, -1, 0x0000FF));
  EXPECT_EQ(g.LastFailure(), GenerateFailure::kContentTooLong);
  EXPECT_EQ(g.ForegroundColour(), 0x0000FFu);
  EXPECT_EQ(g.Version(), 1);
}

TEST(Generate, BackgroundLeftOutIsWhiteAgain) {
  QrGenerator g;
  ASSERT_TRUE(g.Generate("bg", false, 0, 2, -1, kBlack, 0x00FFFF));
  EXPECT_EQ(g.SymbolBitmap()->Pixel(0, 0), 0xFFFF00u);  // yellow margin
  ASSERT_TRUE(g.Generate("bg", false, 0, 2, -1, kBlack));
  EXPECT_EQ(g.BackgroundColour(), kWhite);
  EXPECT_EQ(g.SymbolBitmap()->Pixel(0, 0), 0xFFFFFFu);
}

TEST(GenerateText, AnsiTakesCodePageBytesAndUtf8TakesUtf8Bytes) {
  QrGenerator g;
  ASSERT_TRUE(g.Generate("A\xE4\xB8\xAD", true, 0, 2, -1, kBlack));  // "A中"
  auto scan = Scan(g);
  ASSERT_TRUE(scan.has_value());
  EXPECT_EQ(scan->bytes, (Bytes{'A', 0xD6, 0xD0}));
  ASSERT_TRUE(g.Generate("A\xE4\xB8\xAD", false, 0, 2, -1, kBlack));
  scan = Scan(g);
  ASSERT_TRUE(scan.has_value());
  EXPECT_EQ(scan->bytes, (Bytes{'A', 0xE4, 0xB8, 0xAD}));
  // ASCII is the same either way.
  QrGenerator a, u;
  ASSERT_TRUE(a.Generate("plain text", true, 0, 2, -1, kBlack));
  ASSERT_TRUE(u.Generate("plain text", false, 0, 2, -1, kBlack));
  EXPECT_EQ(a.SymbolImage(), u.SymbolImage());
}

TEST(GenerateText, Utf8ChineseNeverGoesIntoKanjiMode) {
  // Some of these UTF-8 byte pairs look like Shift-JIS characters; in Kanji
  // mode a reader would show other text.
  const std::string text =
      "\xE4\xB8\xAD\xE6\x96\x87\xE4\xBA\x8C\xE7\xBB\xB4\xE7\xA0\x81";  // 中文二维码
  QrGenerator g;
  ASSERT_TRUE(g.Generate(text, false, 0, 2, -1, kBlack));
  const auto scan = Scan(g);
  ASSERT_TRUE(scan.has_value());
  EXPECT_EQ(scan->text, text);
  EXPECT_EQ(scan->bytes, AsBytes(text));
}

TEST(GenerateText, CharacterOutsideTheCodePageFailsInsteadOfBecomingQuestionMark) {
  QrGenerator g;
  EXPECT_FALSE(g.Generate("\xED\x95\x9C", true, 0, 2, -1, kBlack));  // Hangul: not in GBK
  EXPECT_EQ(g.LastFailure(), GenerateFailure::kContentNotRepresentable);
  EXPECT_FALSE(g.HasSymbol());
  ASSERT_TRUE(g.Generate("\xED\x95\x9C", false, 0, 2, -1, kBlack));  // fine as UTF-8
}

TEST(GenerateIcon, IconIsStickyUntilReplacedOrCleared) {
  QrGenerator g;
  const Bytes icon = SolidPng(32, 32, 0x00FF00);
  ASSERT_TRUE(g.Generate("icon", false, 0, 2, -1, kBlack, std::nullopt, icon));
  ASSERT_NE(g.IconBitmap(), nullptr);
  EXPECT_EQ(g.IconBitmap()->Width(), 32);
  EXPECT_EQ(g.IconSource(), icon);
  ASSERT_TRUE(g.Generate("no icon given", false, 0, 2, -1, kBlack));
  ASSERT_NE(g.IconBitmap(), nullptr);  // still there
  EXPECT_TRUE(g.IconSource().empty());
  // Unreadable icon bytes are skipped; the earlier icon stays and Generate succeeds.
  ASSERT_TRUE(g.Generate("bad icon", false, 0, 2, -1, kBlack, std::nullopt, Bytes{1, 2, 3}));
  EXPECT_EQ(g.IconBitmap()->Width(), 32);
  g.ClearIcon();
  EXPECT_EQ(g.IconBitmap(), nullptr);
}

TEST(GenerateCopy, CopyIsIndependentOfTheOriginal) {
  QrGenerator g;
  ASSERT_TRUE(g.Generate("original", false, 0, 2, -1, kBlack));
  const auto copy = g.Copy();
  ASSERT_TRUE(g.Generate("changed", false, 0, 2, -1, kBlack));
  EXPECT_EQ(copy->Content(), "original");
  const auto scan = Scan(*copy);
  ASSERT_TRUE(scan.has_value());
  EXPECT_EQ(scan->text, "original");
}

TEST(GenerateRoundTrip, MixedModeTextsScan) {
  // Texts whose shortest stream switches between byte, alphanumeric and
  // numeric segments; each must come back byte for byte.
  const std::string texts[] = {
      "EGIN:VEVENT\nSUMMARY",
      "BEGIN:VEVENT\nSUMMARY:Launch\nDTSTART:20261208T140509\nDTEND:20261208T150000\nEND:VEVENT",
      "WIFI:S:Home;T:WPA;P:12345678901234;;",
      "abc123456789012ABCDEFGHIJKLMdef",
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:abcdefghijklmnopqrstuvwxyz",
  };
  QrGenerator g;
  for (const std::string& text : texts) {
    ASSERT_TRUE(g.Generate(text, false, 0, 2, -1, kBlack)) << text;
    const auto scan = Scan(g);
    ASSERT_TRUE(scan.has_value()) << text;
    EXPECT_EQ(scan->bytes, AsBytes(text));
  }
}

TEST(GenerateRoundTrip, EveryVersionAndLevelScans) {
  QrGenerator g;
  for (std::int16_t version : {1, 2, 7, 10, 27, 40}) {
    for (std::int16_t level = 1; level <= 4; ++level) {
      // Appended piece by piece: GCC 12 at -O3 takes "V" + std::string for an
      // overlapping copy (a false -Wrestrict).
      std::string content = "V";
      content += std::to_string(version);
      content += " L";
      content += std::to_string(level);
      ASSERT_TRUE(g.Generate(content, false, version, level, -1, kBlack)) << content;
      EXPECT_EQ(g.SymbolWidth(), 17 + 4 * version + 2);
      const auto scan = DecodeWithZxing(*g.SymbolBitmap(), 3);
      ASSERT_TRUE(scan.has_value()) << content;
      EXPECT_EQ(scan->text, content);
    }
  }
}

}  // namespace
}  // namespace qrsmith
