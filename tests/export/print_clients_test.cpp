// The files the tool saves, placed where users put them: LibreOffice,
// Inkscape and Ghostscript render every form at v1, v10 and v40 at 0.5 mm a
// module, and each rendering must show the symbol at its printed size
// (within 0.5 %), solid (at most 3 % light pixels inside dark modules) and
// readable by zbar and zxing-cpp. Each slow client runs once for all its files.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "export/output_forms.h"
#include "platform/colour.h"
#include "tests/export/export_test_support.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

namespace fs = std::filesystem;

constexpr double kModuleMm = 0.5;
constexpr std::int32_t kMargin = 4;
constexpr Colour kPaleYellow = 0xAAFFFF;

struct Export {
  std::string stem;
  FormId form;
  int version;
  bool cmyk = false;
  bool clearBackground = false;
  bool pdfx = false;
  std::optional<std::string> title = std::nullopt;
};

std::string ContentOf(int version) { return "qrsmith v" + std::to_string(version); }

// Writes each export into `folder` as stem.extension; the path per stem.
std::map<std::string, fs::path> WriteExports(const fs::path& folder,
                                             const std::vector<Export>& exports) {
  std::map<std::string, fs::path> paths;
  for (const Export& e : exports) {
    const QrGenerator g = testing::MakeSymbol(
        ContentOf(e.version), static_cast<std::int16_t>(e.version), kBlack, kPaleYellow, kMargin);
    FormRequest request;
    request.print.moduleMm = kModuleMm;
    request.print.cmyk = e.cmyk;
    request.pdfx = e.pdfx;
    request.title = e.title;
    if (e.clearBackground) request.opacity.background = 0;
    const OutputForm& form = FormOf(e.form);
    const Bytes bytes = ExportForm(g, form, request);
    EXPECT_FALSE(bytes.empty()) << e.stem;
    paths[e.stem] = folder / (e.stem + "." + std::string(form.extensions[0]));
    testing::WriteBytes(paths[e.stem], bytes);
  }
  return paths;
}

using platform::LumaOfPixel;

// Checks a rendering at `dpi` of the symbol of `version`, printed at
// `moduleMm` a module.
void ExpectSolidSymbol(const fs::path& png, int version, int dpi, double moduleMm = kModuleMm) {
  SCOPED_TRACE(png.string());
  const auto picture = testing::ReadPicture(png);
  ASSERT_TRUE(picture.has_value());
  // The dark modules' bounding box is the symbol without its quiet zone.
  int left = picture->Width(), top = picture->Height(), right = -1, bottom = -1;
  for (int y = 0; y < picture->Height(); ++y) {
    const std::uint32_t* row = picture->Row(y);
    for (int x = 0; x < picture->Width(); ++x) {
      if (LumaOfPixel(row[x]) >= 128) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, left) << "nothing dark";
  const std::int32_t modules = 17 + 4 * version;
  const double expected = modules * moduleMm / kMillimetresPerInch * dpi;
  const double width = right + 1 - left, height = bottom + 1 - top;
  EXPECT_NEAR(width / expected, 1.0, 0.005) << width << " px for " << expected;
  EXPECT_NEAR(height / expected, 1.0, 0.005) << height << " px for " << expected;

  // Light pixels in the inner part of every dark module (one pixel in from
  // its edges, where anti-aliasing may blend).
  const QrGenerator g = testing::MakeSymbol(ContentOf(version), static_cast<std::int16_t>(version),
                                            kBlack, kPaleYellow, 0);
  const double pitchX = width / modules, pitchY = height / modules;
  std::size_t inside = 0, light = 0;
  for (std::int32_t r = 1; r <= modules; ++r) {
    for (std::int32_t c = 1; c <= modules; ++c) {
      if (!g.IsDark(r, c)) continue;
      const int x0 = static_cast<int>(std::ceil(left + (c - 1) * pitchX)) + 1;
      const int x1 = static_cast<int>(std::floor(left + c * pitchX)) - 1;
      const int y0 = static_cast<int>(std::ceil(top + (r - 1) * pitchY)) + 1;
      const int y1 = static_cast<int>(std::floor(top + r * pitchY)) - 1;
      for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x, ++inside) light += LumaOfPixel(picture->Pixel(x, y)) >= 128;
      }
    }
  }
  ASSERT_GT(inside, 0u);
  EXPECT_LE(100.0 * static_cast<double>(light) / static_cast<double>(inside), 3.0);

  // The symbol cut out with its quiet zone, for the readers.
  const int quiet = static_cast<int>(kMargin * pitchX);
  auto cut = platform::Bitmap::Create(static_cast<int>(width) + 2 * quiet,
                                      static_cast<int>(height) + 2 * quiet, 0xFFFFFF);
  ASSERT_TRUE(cut.has_value());
  cut->CopyFrom(*picture, quiet - left, quiet - top);
  for (const auto decode : {testing::DecodeWithZxing, testing::DecodeWithZbar}) {
    const auto decoded = decode(*cut, 1);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->text, ContentOf(version));
  }
}

// The longest string token of a PostScript program, in characters between
// its delimiters: literal (...) with nesting and escapes, hexadecimal <...>.
// Comments are skipped; data a filter reads from the file holds neither
// delimiter's opening character.
std::size_t LongestStringToken(const std::string& ps) {
  std::size_t longest = 0;
  for (std::size_t i = 0; i < ps.size(); ++i) {
    if (ps[i] == '%') {
      i = ps.find('\n', i);
      if (i == std::string::npos) break;
    } else if (ps[i] == '(') {
      std::size_t j = i + 1;
      for (int depth = 1; j < ps.size() && depth > 0; ++j) {
        if (ps[j] == '\\')
          ++j;
        else
          depth += ps[j] == '(' ? 1 : ps[j] == ')' ? -1 : 0;
      }
      longest = std::max(longest, j - i - 2);
      i = j - 1;
    } else if (ps[i] == '<' && i + 1 < ps.size() && ps[i + 1] != '<' && ps[i + 1] != '~') {
      const std::size_t end = ps.find('>', i);
      longest = std::max(longest, (end == std::string::npos ? ps.size() : end) - i - 1);
      i = end == std::string::npos ? ps.size() : end;
    } else if (ps[i] == '<') {
      ++i;  // a dictionary's "<<"
    }
  }
  return longest;
}

class PrintClients : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
  // Runs `argv` (a client's one process over all files) and requires success.
  static void Run(const std::vector<std::string>& argv) {
    ASSERT_TRUE(testing::HaveProgram(argv[0])) << argv[0] << " is not installed";
    ASSERT_TRUE(testing::RunProgram(argv)) << argv[0] << " failed";
  }
  void RenderPdfs(const std::vector<fs::path>& pdfs, int dpi) {
    for (const fs::path& pdf : pdfs) {
      fs::path png = pdf;
      png.replace_extension(std::to_string(dpi) + ".png");
      Run({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m",
           "-r" + std::to_string(dpi), "-o", png.string(), pdf.string()});
    }
  }
};

// LibreOffice 7.4 shows a WMF smaller than an inch an inch wide, whatever
// its placeable header says, so the WMF of v1 at 0.5 mm is left to Inkscape.
// It opens no PS page, and places EPS as a bitmap Ghostscript renders, 2 pt
// wider than the bounding box: the PostScript forms go to Ghostscript.
const std::vector<Export> kOfficeExports = {
    {"emf1", FormId::kEmf, 1},       {"emf10", FormId::kEmf, 10}, {"emf40", FormId::kEmf, 40},
    {"wmf10", FormId::kWmf, 10},     {"wmf40", FormId::kWmf, 40}, {"svg1", FormId::kSvgPath, 1},
    {"svg40", FormId::kSvgPath, 40},
};

TEST_F(PrintClients, LibreOfficePlacesTheMetafilesAndSvgSolidAtTheirSize) {
  const auto paths = WriteExports(folder_.Path(), kOfficeExports);
  // A profile of its own, so that no other LibreOffice running holds its lock.
  std::vector<std::string> argv{
      "soffice",
      "-env:UserInstallation=file://" + (folder_.Path() / "profile").string(),
      "--headless",
      "--convert-to",
      "pdf",
      "--outdir",
      (folder_.Path() / "lo").string()};
  for (const auto& [stem, path] : paths) argv.push_back(path.string());
  Run(argv);
  std::vector<fs::path> pdfs;
  for (const auto& [stem, path] : paths) pdfs.push_back(folder_.Path() / "lo" / (stem + ".pdf"));
  RenderPdfs(pdfs, 600);
  for (const Export& e : kOfficeExports) {
    ExpectSolidSymbol(folder_.Path() / "lo" / (e.stem + ".600.png"), e.version, 600);
  }
}

// Inkscape 1.2 imports EPS only through a dialog that needs a display, so
// the PostScript forms are checked in Ghostscript below.
const std::vector<Export> kLayoutExports = {
    {"svg10", FormId::kSvgPath, 10},
    {"emf10", FormId::kEmf, 10},
    {"wmf1", FormId::kWmf, 1},
    {"wmf40", FormId::kWmf, 40},
};

TEST_F(PrintClients, InkscapeImportsEveryFormSolidAtItsSize) {
  const auto paths = WriteExports(folder_.Path(), kLayoutExports);
  std::vector<std::string> argv{"inkscape", "--export-type=png", "--export-dpi=600",
                                "--export-background=#FFFFFF", "--export-background-opacity=1"};
  for (const auto& [stem, path] : paths) argv.push_back(path.string());
  Run(argv);
  for (const Export& e : kLayoutExports) {
    ExpectSolidSymbol(folder_.Path() / (e.stem + ".png"), e.version, 600);
  }
}

// Pages and EPS as Ghostscript prints them (-dSAFER; EPS cropped to its
// bounding box), at 300 and 600 dpi; the v40 CMYK page holds no string token
// at all, its samples are read from the file in short lines.
TEST_F(PrintClients, GhostscriptPrintsThePostScriptForms) {
  const std::vector<Export> exports = {
      {"ps1", FormId::kPs, 1},
      {"ps40", FormId::kPs, 40, true, false, false, std::string(300, 'x') + "(\xC3\xA9)"},
      {"clear_ps10", FormId::kPs, 10, false, true},
      {"eps10", FormId::kEps, 10},
  };
  const auto paths = WriteExports(folder_.Path(), exports);
  const std::string cmyk = testing::FileText(paths.at("ps40"));
  EXPECT_EQ(cmyk.find("{<"), std::string::npos);
  std::size_t line = 0, longest = 0;
  for (const char ch : cmyk) {
    line = ch == '\n' ? 0 : line + 1;
    longest = std::max(longest, line);
  }
  EXPECT_LE(longest, 255u);
  EXPECT_LE(LongestStringToken(cmyk), 65535u);
  EXPECT_TRUE(cmyk.starts_with("%!PS-Adobe-3.0\n")) << cmyk.substr(0, 40);
  // ps2pdf converts the page; the PDF prints like the page itself.
  const fs::path converted = folder_.Path() / "ps40.pdf";
  Run({"ps2pdf", paths.at("ps40").string(), converted.string()});
  RenderPdfs({converted}, 300);
  ExpectSolidSymbol(folder_.Path() / "ps40.300.png", 40, 300);
  for (const Export& e : exports) {
    for (const int dpi : {300, 600}) {
      const fs::path png = folder_.Path() / (e.stem + std::to_string(dpi) + ".png");
      std::vector<std::string> argv{"gs",
                                    "-q",
                                    "-dSAFER",
                                    "-dBATCH",
                                    "-dNOPAUSE",
                                    "-sDEVICE=png16m",
                                    "-r" + std::to_string(dpi),
                                    "-o",
                                    png.string()};
      if (e.form == FormId::kEps) argv.push_back("-dEPSCrop");
      argv.push_back(paths.at(e.stem).string());
      Run(argv);
      ExpectSolidSymbol(png, e.version, dpi);
    }
  }
}

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

// Under SOURCE_DATE_EPOCH the page, the EPS, the metafiles and the PDF come
// out byte for byte the same on every run; the PDF passes qpdf's check and
// qpdf reads back its title, creator, dates, boxes and identifier.
TEST_F(PrintClients, FilesAreReproducibleAndThePdfDescribesItself) {
  ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  const std::vector<Export> exports = {{"a", FormId::kPs, 40},
                                       {"b", FormId::kEmf, 40},
                                       {"c", FormId::kPdf, 40},
                                       {"d", FormId::kEps, 10},
                                       {"e", FormId::kWmf, 10}};
  const auto first = WriteExports(folder_.Path(), exports);
  for (const auto& [stem, path] : first) fs::rename(path, path.string() + ".1");
  const auto second = WriteExports(folder_.Path(), exports);
  ::unsetenv("SOURCE_DATE_EPOCH");
  for (const auto& [stem, path] : second) {
    EXPECT_EQ(testing::FileText(path), testing::FileText(path.string() + ".1")) << path;
  }
  const std::string pdf = second.at("c").string();
  ASSERT_TRUE(testing::HaveProgram("qpdf"));
  EXPECT_NE(Output("qpdf --check '" + pdf + "' 2>&1").find("No syntax or stream encoding errors"),
            std::string::npos);
  const std::string json = Output("qpdf --json --json-key=qpdf '" + pdf + "'");
  for (const std::string& expected : std::vector<std::string>{
           "\"/ID\"", "\"/TrimBox\"", "\"/BleedBox\"", "\"/Metadata\"", "D:20231114221320Z",
           "/FlateDecode", "u:" + ContentOf(40), "u:qrsmith "}) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected;
  }
}

// PDF/X-4 in CMYK and in RGB: qpdf finds no fault and reads back the version,
// the output intent and the PDF/X keys, Argyll's iccdump reads the embedded
// profile as one of the page's colour space, and Ghostscript, printing
// through that profile, shows the symbol solid at its size.
TEST_F(PrintClients, PdfXNamesItsPrintingConditionAndPrints) {
  const std::vector<Export> exports = {{"cmyk", FormId::kPdf, 40, true, false, true},
                                       {"rgb", FormId::kPdf, 10, false, false, true, "Größe (1)"}};
  const auto paths = WriteExports(folder_.Path(), exports);
  ASSERT_TRUE(testing::HaveProgram("qpdf") && testing::HaveProgram("iccdump"));
  for (const Export& e : exports) {
    SCOPED_TRACE(e.stem);
    const std::string pdf = "'" + paths.at(e.stem).string() + "'";
    EXPECT_NE(Output("qpdf --check " + pdf + " 2>&1").find("No syntax or stream encoding errors"),
              std::string::npos);
    const std::string json = Output("qpdf --json --json-key=qpdf " + pdf);
    const bool cmyk = e.cmyk;
    for (const std::string& expected : std::vector<std::string>{
             "\"pdfversion\": \"1.6\"", "\"/S\": \"/GTS_PDFX\"",
             "\"/OutputConditionIdentifier\": \"u:" +
                 std::string(cmyk ? "FOGRA39" : "sRGB IEC61966-2.1") + "\"",
             "\"/RegistryName\": \"u:http://www.color.org\"", "\"/GTS_PDFXVersion\": \"u:PDF/X-4\"",
             "\"/Trapped\": \"/False\"", "\"/N\": " + std::string(cmyk ? "4" : "3"),
             "\"/Title\": \"u:" + e.title.value_or(ContentOf(e.version)) + "\""}) {
      EXPECT_NE(json.find(expected), std::string::npos) << expected;
    }
    const std::string xmp = Output("qpdf --show-object=6 --filtered-stream-data " + pdf);
    EXPECT_NE(xmp.find("<pdfxid:GTS_PDFXVersion>PDF/X-4</pdfxid:GTS_PDFXVersion>"),
              std::string::npos);
    const fs::path icc = folder_.Path() / (e.stem + ".icc");
    Output("qpdf --show-object=8 --filtered-stream-data " + pdf + " > '" + icc.string() + "'");
    const std::string dump = Output("iccdump '" + icc.string() + "' 2>&1");
    EXPECT_NE(dump.find(cmyk ? "Color Space  = CMYK" : "Color Space  = RGB"), std::string::npos)
        << dump.substr(0, 400);
    const fs::path png = folder_.Path() / (e.stem + ".png");
    Run({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dUsePDFX3Profile", "-sDEVICE=png16m",
         "-r300", "-o", png.string(), paths.at(e.stem).string()});
    ExpectSolidSymbol(png, e.version, 300);
  }
}

// Chromium prints a page that places the compact SVG 60 mm wide (quiet zone
// included), v1, v10 and v40 a page each, in one process; poppler renders
// the PDF at 300 dpi, and each symbol must come out solid at its size.
TEST_F(PrintClients, ChromiumPrintsThePlacedSvgSolidAtItsSize) {
  const std::vector<int> versions = {1, 10, 40};
  std::vector<Export> exports;
  for (const int v : versions) exports.push_back({"svg" + std::to_string(v), FormId::kSvgPath, v});
  const auto paths = WriteExports(folder_.Path(), exports);
  std::string page =
      "<!DOCTYPE html><style>@page{size:A4;margin:20mm}"
      "img{display:block;width:60mm;height:60mm;break-after:page}</style>";
  for (const Export& e : exports)
    page += "<img src=\"" + paths.at(e.stem).filename().string() + "\">";
  testing::WriteBytes(folder_.Path() / "page.html", Bytes(page.begin(), page.end()));
  const fs::path pdf = folder_.Path() / "page.pdf";
  Run({"chromium", "--headless", "--no-sandbox", "--disable-gpu",
       "--user-data-dir=" + (folder_.Path() / "profile").string(), "--no-pdf-header-footer",
       "--print-to-pdf=" + pdf.string(), "file://" + (folder_.Path() / "page.html").string()});
  Run({"pdftoppm", "-r", "300", "-png", pdf.string(), (folder_.Path() / "page").string()});
  for (std::size_t i = 0; i < versions.size(); ++i) {
    const double moduleMm = 60.0 / (17 + 4 * versions[i] + 2 * kMargin);
    ExpectSolidSymbol(folder_.Path() / ("page-" + std::to_string(i + 1) + ".png"), versions[i], 300,
                      moduleMm);
  }
}

}  // namespace
}  // namespace qrsmith
