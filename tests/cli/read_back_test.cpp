// Reading the module grid back out of each written form: exact for what the
// exporters write, and a damaged file is told apart.

#include "cli/read_back.h"

#include <gtest/gtest.h>

#include "export/html.h"
#include "export/text_art.h"
#include "export/vector_export.h"
#include "generator/qr_generator.h"

namespace qrsmith::cli {
namespace {

class ReadBack : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        g_.Generate("READ BACK", false, 0, 2, -1, 0x0000FF, 0xFFFF00, std::nullopt, 2, 1, 1, 2));
    for (int r = 1; r <= g_.SymbolHeight(); ++r) {
      for (int c = 1; c <= g_.SymbolWidth(); ++c) grid_.push_back(g_.IsDark(r, c) ? 1 : 0);
    }
  }
  Bytes Written(OutputType type) const {
    auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    switch (type) {
      case OutputType::kSvg:
        return ExportVector(g_, VectorKind::kSvg);
      case OutputType::kEps:
        return ExportVector(g_, VectorKind::kEps);
      case OutputType::kPs:
        return ExportVector(g_, VectorKind::kPostScript);
      case OutputType::kEmf:
        return ExportVector(g_, VectorKind::kEmf);
      case OutputType::kWmf:
        return ExportVector(g_, VectorKind::kWmf);
      case OutputType::kHtml:
        return text(ExportHtml(g_, 250, 250));
      default:
        return text(ExportTextArt(g_, true));
    }
  }
  std::optional<std::vector<std::uint8_t>> Read(OutputType type, const Bytes& file) const {
    return ReadBackGrid(type, file, g_.SymbolWidth(), g_.SymbolHeight(), g_.ForegroundColour());
  }

  QrGenerator g_;
  std::vector<std::uint8_t> grid_;
};

constexpr OutputType kForms[] = {OutputType::kSvg, OutputType::kEps, OutputType::kPs,
                                 OutputType::kEmf, OutputType::kWmf, OutputType::kHtml,
                                 OutputType::kTxt};

TEST_F(ReadBack, EveryFormGivesBackTheGridItWasWrittenFrom) {
  for (OutputType type : kForms) {
    EXPECT_EQ(Read(type, Written(type)), grid_) << static_cast<int>(type);
  }
}

TEST_F(ReadBack, ACutFileIsNotTakenForTheSymbol) {
  for (OutputType type : kForms) {
    Bytes file = Written(type);
    file.resize(file.size() / 2);
    EXPECT_NE(Read(type, file), grid_) << static_cast<int>(type);
  }
}

TEST_F(ReadBack, AChangedColourShowsAsALightModule) {
  const Bytes svg = Written(OutputType::kSvg);
  std::string text(svg.begin(), svg.end());
  const auto dark = text.find("fill=\"#FF0000\"");  // the first dark module, red
  ASSERT_NE(dark, std::string::npos);
  text.replace(dark, 14, "fill=\"#00FFFF\"");
  const auto back = Read(OutputType::kSvg, Bytes(text.begin(), text.end()));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(std::count(back->begin(), back->end(), 1),
            std::count(grid_.begin(), grid_.end(), 1) - 1);
}

}  // namespace
}  // namespace qrsmith::cli
