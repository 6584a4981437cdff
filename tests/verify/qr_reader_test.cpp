// Reading a symbol back from a picture, and the text its bytes stand for.

#include "verify/qr_reader.h"

#include <gtest/gtest.h>

#include "generator/qr_generator.h"
#include "platform/codepage.h"

namespace qrsmith::verify {
namespace {

TEST(CodeReading, FindsTheSymbolWithoutAQuietZoneAtAnyScale) {
  UseReader(qrsmith_read_qr_code);
  QrGenerator generator;
  const std::string content = "读我 read me";
  ASSERT_TRUE(generator.Generate(content, false, 0, 2, -1, kBlack, kWhite, std::nullopt, 0, 0, 0,
                                 0));  // no margin at all
  const platform::Bitmap& symbol = *generator.SymbolBitmap();
  for (const int scale : {1, 3, 10}) {
    SCOPED_TRACE(scale);
    const auto picture = symbol.Stretch(symbol.Width() * scale, symbol.Height() * scale);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(ReadQrCode(*picture, QuietZone::kAdded), Bytes(content.begin(), content.end()));
  }
  EXPECT_EQ(ReadQrCode(*platform::Bitmap::Create(64, 64, 0xFFFFFF), QuietZone::kAdded),
            std::nullopt);
  EXPECT_EQ(ReadQrCode(platform::Bitmap()), std::nullopt);
}

TEST(CodeReading, BytesAreUtf8ElseGbkElseRefused) {
  const Bytes gbk = *platform::Utf8ToCodePage("二维码", "GBK");
  const struct {
    Bytes bytes;
    std::optional<std::string> text;
  } cases[] = {
      {Bytes{'a', 0xC2, 0xA0, 'b'}, "a\u00A0b"},  // valid UTF-8 stays as it is
      {gbk, "二维码"},
      {Bytes{0xFF, 0xFF, 'x'}, std::nullopt},  // neither
      {Bytes{}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ContentOfSymbolBytes(c.bytes), c.text);
}

}  // namespace
}  // namespace qrsmith::verify
