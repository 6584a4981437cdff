// Each exported form, rendered by its real reader, shows the symbol: every
// module in its place and colour, and an independent QR reader decodes it.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "export/html.h"
#include "export/output_forms.h"
#include "export/vector_export.h"
#include "generator/raster_files.h"
#include "platform/codecs/image.h"
#include "tests/export/devtools_print.h"
#include "tests/export/export_test_support.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

using testing::Placement;

constexpr int kScale = 4;  // rendered pixels per module
const std::string kContent = "https://qrsmith.invalid/export?form=vector&n=42";

class RealReader : public ::testing::Test {
 protected:
  void SetUp() override {
    generator_ = testing::MakeSymbol(kContent);
    ASSERT_TRUE(generator_.HasSymbol());
    grid_ = *GridOf(generator_);
  }
  void Require(std::initializer_list<const char*> programs) {
    for (const char* p : programs) {
      if (!testing::HaveProgram(p)) GTEST_SKIP() << p << " is not installed";
    }
  }
  std::filesystem::path Export(VectorKind kind, const std::string& name,
                               std::optional<std::int32_t> width = std::nullopt,
                               std::optional<std::int32_t> height = std::nullopt) {
    const auto path = folder_ / name;
    testing::WriteBytes(path, ExportVector(generator_, kind, width, height));
    return path;
  }
  // The rendering shows every module where `placement` says, and decodes.
  void ExpectShowsSymbol(const std::filesystem::path& png, const Placement& placement,
                         const ModuleGrid& grid) {
    const auto picture = testing::ReadPicture(png);
    ASSERT_TRUE(picture.has_value()) << png;
    const auto mismatched = testing::MismatchedModules(*picture, grid, placement);
    EXPECT_TRUE(mismatched.empty())
        << mismatched.size() << " modules differ, first " << mismatched.front();
    const auto decoded = testing::DecodeWithZxing(*picture, 1);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->text, kContent);
  }
  std::vector<std::string> Ghostscript(const std::filesystem::path& in,
                                       const std::filesystem::path& out) const {
    // A page exactly the grid's size in points, at kScale pixels per point.
    return testing::GhostscriptPage(in, out, grid_.width, grid_.height, kScale);
  }

  // Headless Chromium's picture of a page or an SVG document, `window` pixels square.
  bool ChromiumScreenshot(const std::filesystem::path& page, const std::filesystem::path& png,
                          int window) const {
    testing::ScratchFolder profile;
    return testing::RunProgram(
        {"chromium", "--headless", "--no-sandbox", "--disable-gpu",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--user-data-dir=" + profile.Path().string(),
         "--screenshot=" + png.string(),
         "--window-size=" + std::to_string(window) + "," + std::to_string(window),
         "file://" + page.string()});
  }
  // The raster export at `scale` pixels per module, as a bitmap.
  platform::Bitmap PngExport(int scale) const {
    RasterLayout layout;
    layout.width = grid_.width * scale;
    layout.height = grid_.height * scale;
    return platform::codecs::DecodeImage(EncodeRasterFile(generator_, kRasterPng, layout))
        .value_or(platform::Bitmap());
  }

  testing::ScratchFolder folder_;
  QrGenerator generator_;
  ModuleGrid grid_;
};

TEST_F(RealReader, GhostscriptRendersThePostScriptPage) {
  Require({"gs"});
  const auto png = folder_ / "page.png";
  ASSERT_TRUE(testing::RunProgram(Ghostscript(Export(VectorKind::kPostScript, "s.ps"), png)));
  ExpectShowsSymbol(png, {kScale, 0, 0, false}, grid_);
}

TEST_F(RealReader, GhostscriptPlacesTheEpsImageByItsBoundingBoxTheRightWayUp) {
  Require({"gs"});
  // No page size given: -dEPSCrop takes it from the bounding box alone.
  const auto png = folder_ / "eps.png";
  ASSERT_TRUE(testing::RunProgram({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop",
                                   "-sDEVICE=png16m", "-r" + std::to_string(72 * kScale),
                                   "-sOutputFile=" + png.string(),
                                   Export(VectorKind::kEps, "s.eps").string()}));
  const auto picture = testing::ReadPicture(png);
  ASSERT_TRUE(picture.has_value());
  // A mirrored symbol decodes too, so the test is the PNG export itself,
  // pixel for pixel: Wm x Hm points, first row at the top.
  EXPECT_EQ(testing::DifferingPixels(*picture, PngExport(kScale)), 0u);
  ExpectShowsSymbol(png, {kScale, 0, 0, false}, grid_);
}

TEST_F(RealReader, LibrsvgRendersTheSvgDocument) {
  Require({"rsvg-convert"});
  const auto svg = Export(VectorKind::kSvg, "s.svg", grid_.width * kScale, grid_.height * kScale);
  ASSERT_TRUE(testing::RunProgram({"rsvg-convert", "-o", (folder_ / "svg.png").string(), svg}));
  ExpectShowsSymbol(folder_ / "svg.png", {kScale, 0, 0, false}, grid_);
}

TEST_F(RealReader, LibwmfReadsTheWindowsMetafile) {
  Require({"wmf2svg", "rsvg-convert"});
  const auto wmf = Export(VectorKind::kWmf, "s.wmf");
  ASSERT_TRUE(testing::RunProgram({"wmf2svg", "-o", (folder_ / "wmf.svg").string(), wmf}));
  ASSERT_TRUE(testing::RunProgram({"rsvg-convert", "-z", std::to_string(kScale), "-o",
                                   (folder_ / "wmf.png").string(), folder_ / "wmf.svg"}));
  ExpectShowsSymbol(folder_ / "wmf.png", {kScale, 0, 0, false}, grid_);
}

TEST_F(RealReader, Emf2svgReadsTheEnhancedMetafile) {
  Require({"emf2svg-conv", "rsvg-convert"});
  const auto emf = Export(VectorKind::kEmf, "s.emf");
  ASSERT_TRUE(testing::RunProgram(
      {"emf2svg-conv", "-i", emf.string(), "-o", (folder_ / "emf.svg").string()}));
  ASSERT_TRUE(testing::RunProgram({"rsvg-convert", "-z", std::to_string(kScale), "-o",
                                   (folder_ / "emf.png").string(), folder_ / "emf.svg"}));
  ExpectShowsSymbol(folder_ / "emf.png", {kScale, 0, 0, false}, grid_);
}

TEST_F(RealReader, ChromiumRendersTheHtmlFragmentInColour) {
  Require({"chromium"});
  // Colours and a fractional module size (10.5 px): the browser must place
  // and paint every block itself.
  generator_ = testing::MakeSymbol(kContent, 0, 0x5A1E00, 0xE0FFFF);
  grid_ = *GridOf(generator_);
  const double side = 10.5;
  const int pixels = static_cast<int>(grid_.width * side);
  std::ofstream(folder_ / "page.html")
      << "<!DOCTYPE html><html><body style=\"margin:0\">" << ExportHtml(generator_, pixels, pixels)
      << "</body></html>";
  const auto png = folder_ / "html.png";
  ASSERT_TRUE(ChromiumScreenshot(folder_ / "page.html", png, pixels + 20));
  ExpectShowsSymbol(png, {side, 0, 0, false}, grid_);
}

TEST_F(RealReader, ChromiumPrintsTheHtmlFragmentWithBackgroundsOff) {
  Require({"chromium", "pdftoppm"});
  std::ofstream(folder_ / "page.html")
      << "<!DOCTYPE html><html><body>" << ExportHtml(generator_, 250, 250) << "</body></html>";
  std::string error;
  ASSERT_TRUE(testing::PrintWithoutBackgrounds("file://" + (folder_ / "page.html").string(),
                                               folder_ / "page.pdf", error))
      << error;
  ASSERT_TRUE(testing::RunProgram({"pdftoppm", "-r", "96", "-png", "-singlefile",
                                   (folder_ / "page.pdf").string(), (folder_ / "page").string()}));
  const auto page = testing::ReadPicture(folder_ / "page.png");
  ASSERT_TRUE(page.has_value());
  for (const auto& decoded :
       {testing::DecodeWithZxing(*page, 1), testing::DecodeWithZbar(*page, 1)}) {
    ASSERT_TRUE(decoded.has_value()) << "the printed page shows no symbol";
    EXPECT_EQ(decoded->text, kContent);
  }
}

TEST_F(RealReader, LibwmfDrawsExactlyTheFillsAtEveryScale) {
  Require({"wmf2svg", "rsvg-convert"});
  ASSERT_TRUE(testing::RunProgram({"wmf2svg", "-o", (folder_ / "wmf.svg").string(),
                                   Export(VectorKind::kWmf, "s.wmf").string()}));
  // libwmf frames the drawing with half a unit on every side; the view box
  // takes that frame off, so that module (r, c) lands where the PNG export has it.
  std::string svg = testing::FileText(folder_ / "wmf.svg");
  const std::string w = std::to_string(grid_.width), h = std::to_string(grid_.height);
  svg = std::regex_replace(
      svg, std::regex("<svg width=\"[0-9]+\" height=\"[0-9]+\""),
      "<svg viewBox=\"0.5 0.5 " + w + " " + h + "\" width=\"" + w + "\" height=\"" + h + "\"",
      std::regex_constants::format_first_only);
  std::ofstream(folder_ / "framed.svg") << svg;
  for (const int scale : {1, 3, 10}) {
    SCOPED_TRACE(scale);
    const auto png = folder_ / ("wmf" + std::to_string(scale) + ".png");
    ASSERT_TRUE(testing::RunProgram({"rsvg-convert", "-z", std::to_string(scale), "-o",
                                     png.string(), (folder_ / "framed.svg").string()}));
    const auto picture = testing::ReadPicture(png);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(testing::DifferingPixels(*picture, PngExport(scale)), 0u);
  }
}

TEST_F(RealReader, BothSvgFormsShowNoSeamsAtAFractionalScale) {
  Require({"rsvg-convert", "chromium"});
  const double side = 4.3;  // pixels per module: module edges fall inside pixels
  const std::int32_t pixels = static_cast<std::int32_t>(grid_.width * side + 0.5);
  const std::int32_t height = static_cast<std::int32_t>(grid_.height * side + 0.5);
  // The scale the documents are drawn at: the compact form anti-aliases its
  // edges, so a pixel counts as inside a module only at the exact scale.
  const double drawn = static_cast<double>(pixels) / grid_.width;
  FormRequest request;
  request.layout.width = pixels;
  request.layout.height = height;
  for (const FormId form : {FormId::kSvg, FormId::kSvgPath}) {
    const auto svg = folder_ / (std::string(FormOf(form).name) + ".svg");
    testing::WriteBytes(svg, ExportForm(generator_, FormOf(form), request));
    const auto rsvg = folder_ / "rsvg.png", chromium = folder_ / "chromium.png";
    ASSERT_TRUE(testing::RunProgram({"rsvg-convert", "-o", rsvg.string(), svg.string()}));
    ASSERT_TRUE(ChromiumScreenshot(svg, chromium, pixels + 20));
    for (const auto& png : {rsvg, chromium}) {
      SCOPED_TRACE(std::string(FormOf(form).name) + " in " + png.stem().string());
      const auto picture = testing::ReadPicture(png);
      ASSERT_TRUE(picture.has_value());
      EXPECT_EQ(testing::LightPixelsInsideDarkModules(*picture, grid_, drawn), 0u);
      ExpectShowsSymbol(png, {drawn, 0, 0, false}, grid_);
    }
  }
}

}  // namespace
}  // namespace qrsmith
