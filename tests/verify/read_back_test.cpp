// Reading the module grid back out of each written form: exact for what the
// exporters write, and a damaged file is told apart.

#include "verify/read_back.h"

#include <gtest/gtest.h>

#include "export/output_forms.h"
#include "generator/qr_generator.h"

namespace qrsmith::verify {
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
  Bytes Written(FormId form, const PrintSettings& print = {}) const {
    FormRequest request;
    request.print = print;
    if (form == FormId::kHtml) request.layout.width = request.layout.height = 250;
    return ExportForm(g_, FormOf(form), request);
  }
  std::optional<std::vector<std::uint8_t>> Read(FormId form, const Bytes& file) const {
    return ReadBackGrid(form, file, g_.SymbolWidth(), g_.SymbolHeight(), g_.ForegroundColour());
  }

  QrGenerator g_;
  std::vector<std::uint8_t> grid_;
};

constexpr FormId kForms[] = {FormId::kSvg, FormId::kSvgPath, FormId::kEps,  FormId::kPs,  FormId::kPdf,
                             FormId::kEmf, FormId::kWmf,     FormId::kHtml, FormId::kTxt};

TEST_F(ReadBack, EveryFormGivesBackTheGridItWasWrittenFrom) {
  for (FormId form : kForms) {
    EXPECT_EQ(Read(form, Written(form)), grid_) << FormOf(form).name;
  }
  // Printed in CMYK at a module size: the inks of the foreground are dark.
  for (FormId form : {FormId::kEps, FormId::kPs, FormId::kPdf, FormId::kSvg}) {
    const PrintSettings print{0.4, std::nullopt, form != FormId::kSvg};
    EXPECT_EQ(Read(form, Written(form, print)), grid_) << FormOf(form).name << " printed";
  }
}

TEST_F(ReadBack, ACutFileIsNotTakenForTheSymbol) {
  for (FormId form : kForms) {
    Bytes file = Written(form);
    file.resize(file.size() / 2);
    EXPECT_NE(Read(form, file), grid_) << FormOf(form).name;
  }
}

TEST_F(ReadBack, AChangedColourShowsAsALightModule) {
  const Bytes svg = Written(FormId::kSvg);
  std::string text(svg.begin(), svg.end());
  const auto dark = text.find("fill=\"#FF0000\"");  // the first dark module, red
  ASSERT_NE(dark, std::string::npos);
  text.replace(dark, 14, "fill=\"#00FFFF\"");
  const auto back = Read(FormId::kSvg, Bytes(text.begin(), text.end()));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(std::count(back->begin(), back->end(), 1),
            std::count(grid_.begin(), grid_.end(), 1) - 1);
}

}  // namespace
}  // namespace qrsmith::verify
