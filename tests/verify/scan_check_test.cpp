// The scan grade against real readers: zbar and zxing-cpp decode the file as
// written, and the margin the grade reports must hold when modules are
// damaged.

#include "verify/scan_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "generator/qr_generator.h"
#include "generator/raster_files.h"
#include "platform/codecs/image.h"
#include "tests/support/qr_decode.h"
#include "verify/codeword_map.h"
#include "verify/qr_reader.h"

namespace qrsmith::verify {
namespace {

const Parameter& Named(const ScanGrade& grade, const std::string& name) {
  for (const Parameter& p : grade.parameters) {
    if (p.name == name) return p;
  }
  static const Parameter none{"none", Letter::kF, -1, {}};
  return none;
}

bool BothRead(const platform::Bitmap& picture, const Bytes& carried) {
  const auto zxing = testing::DecodeWithZxing(picture, 1);
  const auto zbar = testing::DecodeWithZbar(picture, 1);
  return zxing && zbar && zxing->bytes == carried && zbar->bytes == carried;
}

TEST(ScanGrade, GradesTheFileAsWrittenAsReadersSeeIt) {
  UseReaders(qrsmith_read_qr_code, qrsmith_read_qr_code_zbar);
  const struct {
    const char* name;
    Colour foreground, background;
    Opacity opacity;
    std::int32_t width;    // of the PNG, 29 modules with the margins of 4
    std::string limiting;  // the parameter graded at most `atMost`
    Letter atMost;
  } cases[] = {
      {"black on white", kBlack, kWhite, {}, 290, "", Letter::kA},
      {"yellow on white", 0x00FFFF, kWhite, {}, 290, "contrast", Letter::kF},
      {"1.28 pixels a module", kBlack, kWhite, {}, 37, "grid", Letter::kD},
      {"clear black background", kBlack, kBlack, {255, 0}, 290, "contrast", Letter::kF},
      {"clear white background", kBlack, kWhite, {255, 0}, 290, "", Letter::kA},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QrGenerator g;
    ASSERT_TRUE(g.Generate("qrsmith grade", false, 1, 1, -1, c.foreground, c.background,
                           std::nullopt, 4, 4, 4, 4));
    RasterLayout layout;
    layout.width = layout.height = c.width;
    const Bytes png = EncodeRasterFile(g, kRasterPng, layout, {}, c.opacity);
    GradeRequest request;
    request.opacity = c.opacity;
    const FileGradeResult r =
        GradeWrittenFile(g, CarriedBytes(g), FormOf(FormId::kPng), png, request);
    ASSERT_EQ(r.result, FileCheck::kGraded) << r.message;
    const ScanGrade& grade = r.grade;
    EXPECT_LE(grade.Overall(), c.atMost) << GradeLine(grade);
    if (c.atMost == Letter::kA) {
      EXPECT_EQ(grade.Overall(), Letter::kA) << GradeLine(grade);
    } else {
      EXPECT_LE(Named(grade, c.limiting).letter, c.atMost) << GradeLine(grade);
    }
    // Decode A and F must agree with both readers on the picture as written.
    const auto picture = platform::codecs::DecodeImage(png);
    const bool read = BothRead(*picture, CarriedBytes(g));
    if (c.opacity.IsOpaque()) {
      EXPECT_EQ(read, Named(grade, "decode").letter == Letter::kA);
    }
  }
}

// Damage t codewords of every block, t = (UEC - 10 %) of its correctable
// codewords: both readers still decode, and the grade reports the UEC
// 1 - 2t / (d - p) of the weakest block.
TEST(ScanGrade, UnusedErrorCorrectionIsMarginReadersReallyHave) {
  UseReaders(qrsmith_read_qr_code, qrsmith_read_qr_code_zbar);
  constexpr int kScale = 5;
  std::mt19937 random(23);
  for (const std::int16_t version : {1, 7, 25, 40}) {
    for (const std::int16_t level : {1, 2, 3, 4}) {
      SCOPED_TRACE(std::to_string(version) + "-" + "LMQH"[level - 1]);
      QrGenerator g;
      ASSERT_TRUE(g.Generate(std::string(static_cast<std::size_t>(version) * 5, '7'), false,
                             version, level, -1, kBlack, kWhite, std::nullopt, 4, 4, 4, 4));
      RasterLayout layout;
      layout.width = g.SymbolWidth() * kScale;
      layout.height = g.SymbolHeight() * kScale;
      platform::Bitmap picture = *ComposeRaster(g, layout);
      const Bytes carried = CarriedBytes(g);
      const ScanGrade clean = GradePicture(g, carried, picture, "damage");
      ASSERT_EQ(Named(clean, "unused EC").letter, Letter::kA) << GradeLine(clean);
      const CodewordMap map = MapCodewords(version, level);
      // Per block, the codewords to damage and a module of each to flip.
      double expected = 1;
      for (std::size_t b = 0; b < map.blocks.size(); ++b) {
        const CodewordBlock& block = map.blocks[b];
        const int correctable = block.parity - block.misdecodeProtection;
        const int t = static_cast<int>((Named(clean, "unused EC").value - 0.10) * correctable / 2);
        expected = std::min(expected, 1.0 - 2.0 * t / correctable);
        std::vector<int> chosen(static_cast<std::size_t>(block.codewords));
        std::iota(chosen.begin(), chosen.end(), 0);
        std::shuffle(chosen.begin(), chosen.end(), random);
        chosen.resize(static_cast<std::size_t>(t));
        for (int codeword : chosen) {
          std::vector<std::size_t> modules;
          for (std::size_t m = 0; m < map.block.size(); ++m) {
            if (map.block[m] == static_cast<int>(b) && map.codeword[m] == codeword)
              modules.push_back(m);
          }
          const std::size_t m = modules[random() % modules.size()];
          const int r = static_cast<int>(m) / map.side + 4, c = static_cast<int>(m) % map.side + 4;
          const std::uint32_t flipped = g.IsDark(r + 1, c + 1) ? 0xFFFFFF : 0x000000;
          picture.FillRect(c * kScale, r * kScale, (c + 1) * kScale, (r + 1) * kScale, flipped);
        }
      }
      EXPECT_TRUE(BothRead(picture, carried));
      const ScanGrade damaged = GradePicture(g, carried, picture, "damage");
      EXPECT_NEAR(Named(damaged, "unused EC").value, expected, 1e-9) << GradeLine(damaged);
    }
  }
}

}  // namespace
}  // namespace qrsmith::verify
