// Payload texts are real payloads: each one, encoded as a symbol and read
// back by zxing-cpp, comes out byte for byte as it went in.

#include <gtest/gtest.h>

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include "encoder/qr_encoder.h"
#include "payload/payloads.h"
#include "tests/support/qr_decode.h"

namespace qrsmith::payload {
namespace {

ZXing::Result ReadSymbol(const platform::Bitmap& symbol) {
  constexpr int kScale = 4;
  const platform::Bitmap framed = testing::FramedForReader(symbol, kScale);
  const std::vector<std::uint8_t> grey = testing::GreyLevels(framed);
  const ZXing::ImageView view(grey.data(), framed.Width(), framed.Height(),
                              ZXing::ImageFormat::Lum);
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::QRCode);
  hints.setTryHarder(true);
  return ZXing::ReadBarcode(view, hints);
}

TEST(PayloadSymbols, DecodeToTheExactPayloadText) {
  const DateTime start{2015, 3, 10, 14, 5, 9};
  const DateTime end{2015, 3, 10, 16, 0, 0};
  const struct {
    const char* what;
    std::string payload;
  } cases[] = {
      {"wifi", WifiPayload("home;net", {WifiSecurity::kWpa, R"(se"cr:et)", true})},
      {"open wifi", WifiPayload("cafe")},
      {"mecard", MecardPayload("Li", "Lei",
                               {.emails = {"li@x.org"},
                                .phones = {"+86 10 1234"},
                                .secondUrl = "http://x.org",
                                .birthday = DateTime{1990, 7, 4, 0, 0, 0}})},
      {"vcard", VcardPayload("\xE6\x9D\x8E", "\xE9\x9B\xB7", false,
                             {.organisation = "Acme, Inc.",
                              .mobilePhones = {"+86 139 0000 0000"},
                              .workAddress = "1 Main St; Springfield",
                              .birthday = DateTime{1990, 7, 4, 0, 0, 0}})},
      {"event", EventPayload("Launch, v2", start, end,
                             {.location = "Hall: A", .description = "Bring \"badge\""})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes content(c.payload.begin(), c.payload.end());
    QrEncoder encoder;
    EncodeOptions options;
    options.allowKanji = false;  // UTF-8 content: Kanji mode would mean Shift-JIS to readers
    const auto symbol = encoder.Encode(content, static_cast<std::int32_t>(content.size()), options);
    ASSERT_NE(symbol, nullptr);
    const ZXing::Result result = ReadSymbol(*symbol);
    ASSERT_TRUE(result.isValid());
    EXPECT_EQ(Bytes(result.bytes().begin(), result.bytes().end()), content);
    EXPECT_EQ(result.text(), c.payload);
    EXPECT_EQ(result.contentType(), ZXing::ContentType::Text);
  }
}

}  // namespace
}  // namespace qrsmith::payload
