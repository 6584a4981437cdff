// Printed sizes and inks, with the real binary and the real readers of each
// form: the resolution a layout program reads (ImageMagick through libpng,
// libjpeg and libtiff), the PDF page poppler and qpdf see, the inks
// Ghostscript and libtiff find, and every rendering decodes to the content.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "generator/qr_generator.h"
#include "platform/codecs/image.h"
#include "tests/cli/tool_test.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

namespace fs = std::filesystem;

const std::string kContent = "https://qrsmith.invalid/label?lot=4711";
constexpr int kGrid = 37;  // version 3 with the four-module quiet zone

// The program's path on PATH; empty when it is not installed.
std::string Which(const std::string& name) {
  std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  for (std::string folder; std::getline(path, folder, ':');) {
    const fs::path candidate = fs::path(folder) / name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

class CliPrint : public testing::ToolTest {
 protected:
  void Require(std::initializer_list<const char*> programs) {
    for (const char* p : programs) {
      if (Which(p).empty()) GTEST_SKIP() << p << " is not installed";
    }
  }
  // Writes the symbol of kContent as `name` with `options`.
  std::string Write(const std::string& name, std::vector<std::string> options) {
    const std::string path = Path(name);
    options.insert(options.end(), {"-v", "3", "--mask", "0", "-o", path, kContent});
    const testing::ProcessResult r = Run(options);
    EXPECT_EQ(r.status, 0) << r.err;
    return path;
  }
  static testing::ProcessResult Reader(const std::string& program,
                                       const std::vector<std::string>& args) {
    return testing::RunProcess(Which(program), args);
  }
  // Both independent readers decode exactly the content.
  static void ExpectDecodes(const platform::Bitmap& picture) {
    for (const auto& decoded :
         {testing::DecodeWithZxing(picture, 1), testing::DecodeWithZbar(picture, 1)}) {
      ASSERT_TRUE(decoded.has_value());
      EXPECT_EQ(decoded->text, kContent);
    }
  }
  // pdftoppm's rendering of page 1 at `dpi`, grey.
  platform::Bitmap RenderPdf(const std::string& pdf, int dpi) {
    const std::string stem = Path("page");
    EXPECT_EQ(
        Reader("pdftoppm", {"-r", std::to_string(dpi), "-singlefile", "-png", pdf, stem}).status,
        0);
    auto picture = platform::codecs::DecodeImage(ReadFile(stem + ".png"));
    EXPECT_TRUE(picture.has_value());
    return picture ? *picture : platform::Bitmap();
  }
};

TEST_F(CliPrint, RasterFilesDeclareTheResolutionAndModuleSizeAskedFor) {
  Require({"identify"});
  const struct {
    std::string file;
    std::vector<std::string> options;
    double dpi;
    int side;  // pixels
  } cases[] = {
      {"a.png", {"--dpi", "600"}, 600, kGrid * 10},       // -s's default size kept
      {"b.png", {"--module-mm", "0.5"}, 300, kGrid * 6},  // 0.5 mm at 300 dpi: 5.9 px
      {"c.jpg", {"--module-mm", "0.4", "--dpi", "600"}, 600, kGrid * 9},
      {"d.tif", {"--dpi", "1200", "-s", "3"}, 1200, kGrid * 3},
      {"e.bmp", {"--module-mm", "1", "--dpi", "72"}, 72, kGrid * 3},
      {"f.tif", {"--cmyk", "--module-mm", "0.254", "--dpi", "400"}, 400, kGrid * 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::string> options = c.options;
    options.push_back("--verify");
    const std::string path = Write(c.file, options);
    const testing::ProcessResult read =
        Reader("identify", {"-units", "PixelsPerInch", "-format", "%x %y %w %h", path});
    ASSERT_EQ(read.status, 0) << read.err;
    std::istringstream fields(read.out);
    double x = 0, y = 0;
    int w = 0, h = 0;
    fields >> x >> y >> w >> h;
    // PNG and BMP hold whole pixels per metre (0.0254 dpi steps).
    EXPECT_NEAR(x, c.dpi, 0.013);
    EXPECT_NEAR(y, c.dpi, 0.013);
    EXPECT_EQ(w, c.side);
    EXPECT_EQ(h, c.side);
  }
}

TEST_F(CliPrint, PdfPageIsTheSymbolAtItsModuleSizeAndItsDarkAreasHaveNoSeams) {
  Require({"pdfinfo", "qpdf", "pdftoppm"});
  QrGenerator g;
  ASSERT_TRUE(g.Generate(kContent, false, 3, 1, 0, kBlack, kWhite, std::nullopt, 4, 4, 4, 4));
  const struct {
    std::vector<std::string> options;
    double moduleMm;
  } cases[] = {
      {{}, 0.5},  // the default module
      {{"--module-mm", "0.4", "--dpi", "600"}, 0.4},
      {{"--module-mm", "2", "--cmyk"}, 2},
      {{"--module-mm", "0.33", "--foreground", "1A237E", "--background", "FFF8E1"}, 0.33},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.moduleMm);
    std::vector<std::string> options = c.options;
    options.push_back("--verify");
    const std::string pdf = Write("label.pdf", options);
    const std::string info = Reader("pdfinfo", {pdf}).out;
    const double points = kGrid * c.moduleMm * 72 / 25.4;
    double w = 0, h = 0;
    ASSERT_EQ(std::sscanf(info.c_str() + info.find("Page size:"), "Page size: %lf x %lf", &w, &h),
              2);
    EXPECT_NEAR(w, points, 0.001);
    EXPECT_NEAR(h, points, 0.001);
    EXPECT_EQ(Reader("qpdf", {"--check", pdf}).status, 0);
    // At a fractional 2.3 pixels per module every pixel wholly inside the
    // dark area is fully dark: the modules are one path, not abutting pieces.
    const int dpi = static_cast<int>(std::lround(2.3 * 25.4 / c.moduleMm));
    const platform::Bitmap picture = RenderPdf(pdf, dpi);
    const double perModule = c.moduleMm / 25.4 * dpi;
    const auto darkAt = [&](double px, double py) {
      const int r = static_cast<int>(py / perModule), col = static_cast<int>(px / perModule);
      return r < kGrid && col < kGrid && g.IsDark(r + 1, col + 1);
    };
    std::uint32_t darkPixel = 0xFFFFFFFF;
    int inside = 0, notDark = 0;
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) {
        if (!(darkAt(x, y) && darkAt(x + 0.999, y) && darkAt(x, y + 0.999) &&
              darkAt(x + 0.999, y + 0.999))) {
          continue;
        }
        if (darkPixel == 0xFFFFFFFF) darkPixel = picture.Row(y)[x];
        ++inside;
        if (picture.Row(y)[x] != darkPixel) ++notDark;
      }
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(notDark, 0) << "of " << inside << " pixels inside dark areas";
    ExpectDecodes(RenderPdf(pdf, static_cast<int>(std::lround(4 * 25.4 / c.moduleMm))));
  }
}

TEST_F(CliPrint, CmykFormsPrintABlackSymbolWithTheBlackInkAlone) {
  Require({"gs", "convert", "tiffinfo"});
  for (const std::string file : {"k.eps", "k.ps", "k.pdf"}) {
    SCOPED_TRACE(file);
    const std::string path = Write(file, {"--cmyk", "--module-mm", "1", "--verify"});
    std::vector<std::string> gs = {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=inkcov",
                                   "-o", "-"};
    if (file.ends_with(".eps")) gs.insert(gs.begin(), "-dEPSCrop");
    gs.push_back(path);
    const testing::ProcessResult inks = Reader("gs", gs);
    ASSERT_EQ(inks.status, 0) << inks.err;
    double c = 1, m = 1, y = 1, k = 0;
    std::istringstream(inks.out) >> c >> m >> y >> k;
    EXPECT_EQ(c + m + y, 0) << inks.out;
    EXPECT_GT(k, 0) << inks.out;
    // Rendered through Ghostscript's CMYK-to-grey, the page decodes.
    const std::string png = Path("k.png");
    gs = {"-q",
          "-dSAFER",
          "-dBATCH",
          "-dNOPAUSE",
          "-sDEVICE=pnggray",
          "-r288",
          "-sOutputFile=" + png};
    if (file.ends_with(".eps")) gs.insert(gs.begin(), "-dEPSCrop");
    gs.push_back(path);
    ASSERT_EQ(Reader("gs", gs).status, 0);
    const auto page = platform::codecs::DecodeImage(ReadFile(png));
    ASSERT_TRUE(page.has_value());
    ExpectDecodes(*page);
  }
  // TIFF: separated C, M, Y, K samples, of which only K is ever inked.
  const std::string tiff = Write("k.tif", {"--cmyk", "-s", "4"});
  const std::string info = Reader("tiffinfo", {tiff}).out;
  EXPECT_NE(info.find("Photometric Interpretation: separated"), std::string::npos) << info;
  EXPECT_NE(info.find("Samples/Pixel: 4"), std::string::npos) << info;
  const testing::ProcessResult most =
      Reader("convert", {tiff, "-separate", "-format", "%[fx:maxima] ", "info:"});
  EXPECT_EQ(most.out, "0 0 0 1 ") << most.err;
  const auto picture = platform::codecs::DecodeImage(ReadFile(tiff));
  ASSERT_TRUE(picture.has_value());
  ExpectDecodes(*picture);
}

TEST_F(CliPrint, SvgInMillimetresRendersAtItsPrintedSize) {
  Require({"rsvg-convert"});
  const std::string svg = Write("m.svg", {"--module-mm", "0.5", "--verify"});
  // At 254 dpi a 0.5 mm module is 5 pixels.
  const std::string png = Path("m.png");
  ASSERT_EQ(Reader("rsvg-convert", {"-d", "254", "-p", "254", "-o", png, svg}).status, 0);
  const auto picture = platform::codecs::DecodeImage(ReadFile(png));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->Width(), kGrid * 5);
  EXPECT_EQ(picture->Height(), kGrid * 5);
  ExpectDecodes(*picture);
}

// The bill of the Swiss tests, on the command line and as swissqrbill's data.
const std::vector<std::string> kSwissBill = {"swiss-qr-bill",
                                             "--qr-iban",
                                             "CH44 3199 9123 0008 8901 2",
                                             "--creditor-name",
                                             "Muster AG",
                                             "--creditor-street",
                                             "Rue du Lac",
                                             "--creditor-building",
                                             "1268",
                                             "--creditor-postcode",
                                             "2501",
                                             "--creditor-town",
                                             "Biel",
                                             "--creditor-country",
                                             "CH",
                                             "--amount",
                                             "CHF1949.75",
                                             "--reference",
                                             "21 00000 00003 13947 14300 09017",
                                             "--message",
                                             "Auftrag vom 15.06.2020"};
constexpr const char* kSwissBillData =
    R"({currency: "CHF", amount: 1949.75, reference: "210000000003139471430009017",
        message: "Auftrag vom 15.06.2020",
        creditor: {account: "CH4431999123000889012", name: "Muster AG", address: "Rue du Lac",
                   buildingNumber: "1268", zip: "2501", city: "Biel", country: "CH"}})";

// A Swiss QR-bill's symbol prints 46 mm a side (quiet zone outside) with the
// Swiss cross in its centre; rendered by a user's program, each print form
// has that size and the cross, and decodes in zxing-cpp (zbar misses many
// bills with the cross) to the bill's text; --verify passes. A raster has
// the cross at 7/46 of its symbol's side, whatever its pixels.
TEST_F(CliPrint, SwissQrBillPrintsItsSymbol46MillimetresWithTheCross) {
  for (const char* program : {"pdftoppm", "rsvg-convert", "gs", "inkscape"}) {
    ASSERT_FALSE(Which(program).empty()) << program << " is not installed";
  }
  const std::string text =
      "SPC\n0200\n1\nCH4431999123000889012\nS\nMuster AG\nRue du Lac\n1268\n2501\nBiel\nCH\n\n\n"
      "\n\n\n\n\n1949.75\nCHF\n\n\n\n\n\n\n\nQRR\n210000000003139471430009017\n"
      "Auftrag vom 15.06.2020\nEPD";
  // Version 8 (49 modules) with the four-module quiet zone: 46 x 57 / 49 mm,
  // 10 pixels a millimetre at 254 dpi.
  const double sideMm = 46.0 * 57 / 49;
  const std::string png = Path("bill.png");
  const struct {
    std::string file;
    std::string program;            // empty: the file is the picture
    std::vector<std::string> args;  // "FILE" stands for the file
  } cases[] = {
      {"bill.pdf", "pdftoppm", {"-r", "254", "-singlefile", "-png", "FILE", Path("bill")}},
      {"bill.svg", "rsvg-convert", {"-d", "254", "-p", "254", "-o", png, "FILE"}},
      {"rects.svg", "rsvg-convert", {"-d", "254", "-p", "254", "-o", png, "FILE"}},
      {"bill.eps",
       "gs",
       {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=png16m", "-r254",
        "-sOutputFile=" + png, "FILE"}},
      {"bill.emf",
       "inkscape",
       {"--export-type=png", "--export-dpi=254", "--export-background=#FFFFFF",
        "--export-background-opacity=1", "--export-filename=" + png, "FILE"}},
      {"bill.png", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::string> options = kSwissBill;
    if (c.file == "rects.svg") options.insert(options.end(), {"-t", "svg-rects"});
    options.insert(options.end(), {"-o", Path(c.file), "--verify"});
    const testing::ProcessResult made = Run(options);
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string grade = made.out + made.err;
    ASSERT_EQ(grade.rfind("grade ", 0), 0u) << grade;
    EXPECT_LE(grade[6], 'C') << grade;
    if (!c.program.empty()) {
      std::vector<std::string> args = c.args;
      std::replace(args.begin(), args.end(), std::string("FILE"), Path(c.file));
      const testing::ProcessResult drawn = Reader(c.program, args);
      ASSERT_EQ(drawn.status, 0) << drawn.err;
    }
    const auto picture = platform::codecs::DecodeImage(ReadFile(png));
    ASSERT_TRUE(picture.has_value());
    if (!c.program.empty()) {
      EXPECT_NEAR(picture->Width(), sideMm * 10, 1);
      EXPECT_NEAR(picture->Height(), sideMm * 10, 1);
    }
    // The cross, from the centre out on the diagonal: the white cross, the
    // black square (2.2 mm out), the white frame (3.3 mm out).
    const auto light = [&](double mm) {
      const int at = static_cast<int>(picture->Width() / 2 + mm * picture->Width() / sideMm);
      return ((picture->Row(at)[at] >> 8) & 0xFF) > 128;
    };
    EXPECT_TRUE(light(0));
    EXPECT_FALSE(light(2.2));
    EXPECT_TRUE(light(3.3));
    const auto decoded = testing::DecodeWithZxing(*picture, 1);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->text, text);
  }
}

// The cross has the geometry of SIX's graphic: drawn beside the cross the npm
// package swissqrbill prints for the same bill (both SVG at 46 mm, rendered
// at 20 pixels a millimetre), the 7 x 7 mm square at the centre matches to
// the pixel: frame, black square and bars alike (none differs; bars 0.14 mm
// shorter make 88 differ).
TEST_F(CliPrint, SwissCrossMatchesSwissqrbillsDrawing) {
  const std::string node = Which("node");
  const std::string module = std::string(QRSMITH_SOURCE_DIR) + "/tests/node_modules/swissqrbill";
  ASSERT_FALSE(node.empty()) << "node is not installed";
  ASSERT_TRUE(fs::exists(module)) << module << " is missing (scripts/install-deps)";
  const std::string script = "const {SwissQRCode} = require('" + module +
                             "/lib/cjs/svg/index.cjs');\n"
                             "process.stdout.write(new SwissQRCode(" +
                             kSwissBillData + ", 46).toString());";
  const testing::ProcessResult theirs = testing::RunProcess(node, {"-e", script});
  ASSERT_EQ(theirs.status, 0) << theirs.err;
  std::ofstream(Path("theirs.svg")) << theirs.out;
  std::vector<std::string> ours = kSwissBill;
  ours.insert(ours.end(), {"-o", Path("ours.svg")});
  ASSERT_EQ(Run(ours).status, 0);
  const auto render = [&](const std::string& stem) {
    const std::string png = Path(stem + ".png");
    EXPECT_EQ(
        Reader("rsvg-convert", {"-d", "508", "-p", "508", "-o", png, Path(stem + ".svg")}).status,
        0);
    auto picture = platform::codecs::DecodeImage(ReadFile(png));
    EXPECT_TRUE(picture.has_value());
    return picture ? *picture : platform::Bitmap();
  };
  const platform::Bitmap a = render("ours"), b = render("theirs");
  ASSERT_FALSE(a.Empty() || b.Empty());
  const auto grey = [](const platform::Bitmap& p, int x, int y) {
    return static_cast<int>((p.Pixel(x, y) >> 8) & 0xFF);
  };
  int differing = 0;
  for (int dy = -70; dy < 70; ++dy) {  // 7 mm at 20 pixels a millimetre
    for (int dx = -70; dx < 70; ++dx) {
      const int p = grey(a, a.Width() / 2 + dx, a.Height() / 2 + dy);
      const int q = grey(b, b.Width() / 2 + dx, b.Height() / 2 + dy);
      differing += (p < 64 && q > 192) || (p > 192 && q < 64);
    }
  }
  EXPECT_LE(differing, 20) << differing << " pixels differ";
}

}  // namespace
}  // namespace qrsmith
