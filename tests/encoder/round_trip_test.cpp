// Symbols checked by independent readers (zbar, zxing-cpp) and, module for
// module, against an independent encoder (qrcodegen) given the same segments.
#include <gtest/gtest.h>

#include <qrcodegen.hpp>
#include <string>

#include "encoder/qr_encoder.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

// Capacity in characters of version 1..40 at level 1..4 for content of one
// mode, found by growing the content until it no longer fits.
std::int32_t Capacity(const QrEncoder& encoder, std::int16_t version, std::int16_t level,
                      char fill) {
  QrEncoder probe = encoder;
  std::int32_t low = 0, high = 7090;  // low fits, high does not
  while (high - low > 1) {
    const std::int32_t mid = (low + high) / 2;
    const Bytes content(static_cast<std::size_t>(mid), static_cast<std::uint8_t>(fill));
    EncodeOptions options;
    options.version = version;
    options.level = level;
    (probe.Encode(content, mid, options) ? low : high) = mid;
  }
  return low;
}

// Content of the given length cycling through an alphabet.
Bytes Content(std::int32_t length, const std::string& alphabet, std::int32_t seed) {
  Bytes content(static_cast<std::size_t>(length));
  for (std::int32_t i = 0; i < length; ++i) {
    content[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(alphabet[static_cast<std::size_t>(
            (i * 7 + seed) % static_cast<std::int32_t>(alphabet.size()))]);
  }
  return content;
}

void ExpectBothReadersDecode(const platform::Bitmap& picture, const Bytes& content,
                             const std::string& what) {
  const int scale = 3;
  const auto zbar = testing::DecodeWithZbar(picture, scale);
  const auto zxing = testing::DecodeWithZxing(picture, scale);
  ASSERT_TRUE(zbar.has_value()) << "zbar cannot read " << what;
  ASSERT_TRUE(zxing.has_value()) << "zxing cannot read " << what;
  EXPECT_EQ(zbar->bytes, content) << "zbar, " << what;
  EXPECT_EQ(zxing->bytes, content) << "zxing, " << what;
}

TEST(RoundTrip, EveryVersionAndLevelFilledToCapacityDecodes) {
  QrEncoder encoder;
  const std::string digits = "0123456789";
  const std::string alphanumeric = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
  const std::string bytes = "abcdefghijklmnopqrstuvwxyz{}";
  for (std::int16_t version = 1; version <= 40; ++version) {
    for (std::int16_t level = 1; level <= 4; ++level) {
      // One mode per combination, in turn, so that every mode meets every level.
      const int kind = (version + level) % 4;
      Bytes content;
      if (kind == 0) content = Content(Capacity(encoder, version, level, '7'), digits, version);
      if (kind == 1)
        content = Content(Capacity(encoder, version, level, 'Q'), alphanumeric, version);
      if (kind == 2) content = Content(Capacity(encoder, version, level, 'q'), bytes, version);
      if (kind == 3) {
        // Mixed: a byte run, then digits, then alphanumerics, then bytes again.
        const std::int32_t c = Capacity(encoder, version, level, 'q');
        content = Content(c / 4, bytes, 1);
        for (std::uint8_t b : Content(c / 2, digits, 3)) content.push_back(b);
        for (std::uint8_t b : Content(c / 4, alphanumeric, 5)) content.push_back(b);
      }
      EncodeOptions options;
      options.version = version;
      options.level = level;
      const std::string what = "version " + std::to_string(version) + " level " +
                               std::to_string(level) + " kind " + std::to_string(kind);
      const auto picture =
          encoder.Encode(content, static_cast<std::int32_t>(content.size()), options);
      ASSERT_NE(picture, nullptr) << what;
      ASSERT_EQ(encoder.Side(), 4 * version + 17) << what;
      ExpectBothReadersDecode(*picture, content, what);
    }
  }
}

TEST(RoundTrip, EveryMaskDecodes) {
  QrEncoder encoder;
  for (const std::int16_t version : {1, 7, 22}) {
    for (std::int16_t mask = 0; mask < 8; ++mask) {
      const Bytes content = Content(3 * version + mask, "Mixed content 0123 ÄÖ", mask);
      EncodeOptions options;
      options.version = version;
      options.mask = mask;
      const auto picture =
          encoder.Encode(content, static_cast<std::int32_t>(content.size()), options);
      ASSERT_NE(picture, nullptr);
      ExpectBothReadersDecode(
          *picture, content,
          "version " + std::to_string(version) + " mask " + std::to_string(mask));
    }
  }
}
// A numeric segment of 6..17 digits leaves the byte segment after it at every
// bit offset within a byte.
TEST(RoundTrip, ByteSegmentsAtEveryBitOffsetDecode) {
  QrEncoder encoder;
  for (std::int32_t digits = 6; digits <= 17; ++digits) {
    Bytes content = Content(digits, "0123456789", digits);
    for (const std::uint8_t b : Content(23, "abcdefghijklmnopqrstuvwxyz", 1)) content.push_back(b);
    const auto picture = encoder.Encode(content, static_cast<std::int32_t>(content.size()));
    ASSERT_NE(picture, nullptr);
    ExpectBothReadersDecode(*picture, content, std::to_string(digits) + " digits first");
  }
}

// qrcodegen given one byte segment, the same version, level and mask must
// produce exactly the same modules.
TEST(RoundTrip, MatchesAnIndependentEncoderModuleForModule) {
  using qrcodegen::QrCode;
  QrEncoder encoder;
  constexpr QrCode::Ecc kEcc[] = {QrCode::Ecc::LOW, QrCode::Ecc::MEDIUM, QrCode::Ecc::QUARTILE,
                                  QrCode::Ecc::HIGH};
  for (std::int16_t version = 1; version <= 40; ++version) {
    for (std::int16_t level = 1; level <= 4; ++level) {
      const std::int16_t mask = static_cast<std::int16_t>((version * 4 + level) % 8);
      // Lower-case letters only, so that both encoders use one byte segment;
      // full symbols on even versions, padded ones on odd versions.
      const std::int32_t capacity = Capacity(encoder, version, level, 'q');
      const Bytes content =
          Content(version % 2 == 0 ? capacity : capacity / 2 + 1, "qrsmith", version);
      EncodeOptions options;
      options.version = version;
      options.level = level;
      options.mask = mask;
      ASSERT_NE(encoder.Encode(content, static_cast<std::int32_t>(content.size()), options),
                nullptr)
          << "version " << version << " level " << level;
      const std::vector<std::uint8_t> raw(content.begin(), content.end());
      const QrCode peer = QrCode::encodeSegments({qrcodegen::QrSegment::makeBytes(raw)},
                                                 kEcc[level - 1], version, version, mask, false);
      ASSERT_EQ(peer.getSize(), encoder.Side());
      int differences = 0;
      for (int r = 0; r < peer.getSize(); ++r) {
        for (int c = 0; c < peer.getSize(); ++c) {
          differences += encoder.ModuleAt(r + 1, c + 1, true) != (peer.getModule(c, r) ? 1 : 0);
        }
      }
      EXPECT_EQ(differences, 0) << "version " << version << " level " << level;
    }
  }
}

}  // namespace
}  // namespace qrsmith
