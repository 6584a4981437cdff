// The window's scan check: the verdict on the picture it saves, with the
// reason, and an independent reader (zbar) agreeing where it says scannable.

#include "verify/scan_check.h"

#include <gtest/gtest.h>

#include "generator/qr_generator.h"
#include "generator/raster_files.h"
#include "platform/codecs/image.h"
#include "platform/codepage.h"
#include "tests/support/qr_decode.h"
#include "verify/qr_reader.h"

namespace qrsmith::verify {
namespace {

constexpr std::int32_t kWindowScale = 10;  // the window's pixels per module

Bytes SquareIcon(int side) {
  return platform::codecs::EncodeImage(*platform::Bitmap::Create(side, side, 0x2040C0),
                                       platform::codecs::ImageFormat::kPng);
}

TEST(ScanCheck, JudgesTheSavedPictureAndNamesTheCause) {
  UseReader(qrsmith_read_qr_code);
  const struct {
    const char* name;
    std::string content;
    bool ansi;
    std::int16_t version, level;
    Colour foreground, background;
    int icon;  // the centre icon's side in pixels; 0: none
    ScanVerdict verdict;
  } cases[] = {
      {"plain", "scan me", false, 0, 1, kBlack, kWhite, 0, ScanVerdict::kScannable},
      {"gbk bytes", "二维码 gbk", true, 0, 1, kBlack, kWhite, 0, ScanVerdict::kScannable},
      {"version 40", std::string(1500, 'q'), false, 40, 1, kBlack, kWhite, 0,
       ScanVerdict::kScannable},
      {"icon at L", "scan me", false, 0, 1, kBlack, kWhite, 48, ScanVerdict::kIconTooLarge},
      {"icon at H", "scan me", false, 0, 4, kBlack, kWhite, 48, ScanVerdict::kScannable},
      {"faint", "scan me", false, 0, 1, 0xF8F8F8, kWhite, 0, ScanVerdict::kLowContrast},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QrGenerator g;
    ASSERT_TRUE(g.Generate(c.content, c.ansi, c.version, c.level, -1, c.foreground, c.background,
                           c.icon ? std::optional(SquareIcon(c.icon)) : std::nullopt));
    const Bytes before = g.SymbolImage();
    EXPECT_EQ(CheckSavedPicture(g, kWindowScale), c.verdict);
    EXPECT_EQ(g.SymbolImage(), before);  // the check never changes the symbol
    RasterLayout saved;
    saved.width = g.SymbolWidth() * kWindowScale;
    saved.height = g.SymbolHeight() * kWindowScale;
    const platform::Bitmap picture = *ComposeRaster(g, saved);
    // The check decodes fewer pixels; the full picture must read alike.
    EXPECT_EQ(ReadQrCode(picture).has_value(), c.verdict == ScanVerdict::kScannable);
    if (c.verdict != ScanVerdict::kScannable) continue;
    const auto read = testing::DecodeWithZbar(picture, 1);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->bytes, CarriedBytes(g));
  }
}

}  // namespace
}  // namespace qrsmith::verify
