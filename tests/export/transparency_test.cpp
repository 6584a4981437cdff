// Colours with alpha, shown by each form's real reader laid over magenta: a
// clear colour lets the magenta through, a partial alpha blends with it, and
// an opaque one covers it. Forms that cannot hold the alpha give no bytes.

#include <gtest/gtest.h>

#include "export/output_forms.h"
#include "export/vector_export.h"
#include "tests/export/export_test_support.h"

namespace qrsmith {
namespace {

using testing::Placement;

constexpr int kScale = 4;              // rendered pixels per module
constexpr Colour kMagenta = 0xFF00FF;  // what lies beneath the drawing
constexpr Colour kRed = 0x0000FF;

// A colour with `alpha` over magenta, as the readers compose it.
Colour OverMagenta(Colour colour, std::uint8_t alpha) {
  Colour out = 0;
  for (const int shift : {0, 8, 16}) {
    const std::uint32_t c = (colour >> shift) & 0xFF, m = (kMagenta >> shift) & 0xFF;
    out |= ((c * alpha + m * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

enum class Reader { kImageMagick, kRsvg, kGhostscript };

struct Case {
  FormId form;
  Reader reader;
  Colour foreground, background;
  Opacity opacity;
};

// Black on a clear black background is the usual request (--background
// 00000000): the two colours are equal, only the modules tell them apart.
const Case kCases[] = {
    {FormId::kPng, Reader::kImageMagick, kBlack, kBlack, {255, 0}},
    {FormId::kPng, Reader::kImageMagick, kRed, kWhite, {0xC0, 0x80}},
    {FormId::kTiff, Reader::kImageMagick, kBlack, kBlack, {255, 0}},
    {FormId::kTiff, Reader::kImageMagick, kRed, kWhite, {0xC0, 0x80}},
    {FormId::kGif, Reader::kImageMagick, kBlack, kBlack, {255, 0}},
    {FormId::kSvg, Reader::kRsvg, kBlack, kBlack, {255, 0}},
    {FormId::kSvg, Reader::kRsvg, kRed, kWhite, {0xC0, 0x80}},
    {FormId::kEps, Reader::kGhostscript, kBlack, kBlack, {255, 0}},
    {FormId::kEps, Reader::kGhostscript, kBlack, kWhite, {0, 255}},
    // The PostScript page sets its own page size, which starts a clean page:
    // its clear background is checked on paper in print_clients_test.cpp.
};

class Transparency : public ::testing::TestWithParam<Case> {
 protected:
  testing::ScratchFolder folder_;
};

TEST_P(Transparency, TheReaderShowsWhatLiesBeneathThroughClearColours) {
  const Case& c = GetParam();
  const char* program = c.reader == Reader::kImageMagick ? "convert"
                        : c.reader == Reader::kRsvg      ? "rsvg-convert"
                                                         : "gs";
  if (!testing::HaveProgram(program)) GTEST_SKIP() << program << " is not installed";
  const QrGenerator generator =
      testing::MakeSymbol("https://qrsmith.invalid/clear", 0, c.foreground, c.background);
  ModuleGrid expected = *GridOf(generator);
  const OutputForm& form = FormOf(c.form);
  FormRequest request;
  request.opacity = c.opacity;
  if (form.can.pixelSize) {
    request.layout.width = expected.width * kScale;
    request.layout.height = expected.height * kScale;
  }
  const Bytes bytes = ExportForm(generator, form, request);
  ASSERT_FALSE(bytes.empty());
  const auto in = folder_ / ("in." + std::string(form.extensions[0]));
  const auto out = folder_ / "shown.png";
  testing::WriteBytes(in, bytes);

  std::vector<std::string> argv;
  switch (c.reader) {
    case Reader::kImageMagick:
      argv = {"convert", in.string(), "-background", "#FF00FF", "-flatten", out.string()};
      break;
    case Reader::kRsvg:
      argv = {"rsvg-convert", "-b", "#FF00FF", in.string(), "-o", out.string()};
      break;
    case Reader::kGhostscript:
      // The page is painted magenta before the file draws on it.
      argv = testing::GhostscriptPage(in, out, expected.width, expected.height, kScale,
                                      "1 0 1 setrgbcolor clippath fill");
      break;
  }
  ASSERT_TRUE(testing::RunProgram(argv)) << argv[0];
  const auto picture = testing::ReadPicture(out);
  ASSERT_TRUE(picture.has_value());

  expected.foreground = OverMagenta(c.foreground, c.opacity.foreground);
  expected.background = OverMagenta(c.background, c.opacity.background);
  const auto mismatched = testing::MismatchedModules(*picture, expected, {kScale, 0, 0, false});
  if (c.form == FormId::kEps && !mismatched.empty()) {
    // The EPS's own orientation is not what this checks.
    EXPECT_EQ(testing::MismatchedModules(*picture, expected, {kScale, 0, 0, true}).size(), 0u);
  } else {
    EXPECT_TRUE(mismatched.empty())
        << mismatched.size() << " modules differ, first " << mismatched.front();
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, Transparency, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name(FormOf(info.param.form).name);
                           std::erase(name, '-');
                           return name +
                                  (info.param.opacity.OnlyClearOrOpaque() ? "Clear" : "Partial") +
                                  std::to_string(info.index);
                         });

// A form gives bytes for an opacity exactly when its row in the table of
// forms says it can hold it, and the writers themselves refuse what their
// form cannot hold rather than drop the alpha.
TEST(TransparencyRefusal, EachFormHoldsWhatItsRowSaysAndNothingMore) {
  const QrGenerator generator = testing::MakeSymbol("refused");
  const Opacity clear{255, 0}, partial{255, 0x80};
  for (const OutputForm& form : OutputForms()) {
    for (const Opacity& opacity : {clear, partial}) {
      FormRequest request;
      request.opacity = opacity;
      request.layout.width = request.layout.height = 100;
      EXPECT_EQ(ExportForm(generator, form, request).empty(), !FormHolds(form, opacity))
          << form.name << " at alpha " << int{opacity.background};
    }
  }
  const RasterLayout layout{100, 100};
  for (const RasterKind kind : {kRasterBmp, kRasterJpeg}) {
    EXPECT_TRUE(EncodeRasterFile(generator, kind, layout, {}, clear).empty()) << kind;
  }
  EXPECT_TRUE(EncodeRasterFile(generator, kRasterGif, layout, {}, partial).empty());
  for (const VectorKind kind : {VectorKind::kWmf, VectorKind::kEmf}) {
    EXPECT_TRUE(ExportVector(generator, kind, std::nullopt, std::nullopt, {}, clear).empty());
  }
  EXPECT_TRUE(
      ExportVector(generator, VectorKind::kEps, std::nullopt, std::nullopt, {}, partial).empty());
}

}  // namespace
}  // namespace qrsmith
