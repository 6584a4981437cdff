// The text forms, byte for byte: PostScript, EPS, SVG, the HTML fragment and
// the text art, on hand-made grids and on real symbols; the shared number,
// colour and identifier formats.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "export/compact_svg.h"
#include "export/html.h"
#include "export/postscript.h"
#include "export/svg.h"
#include "export/text_art.h"
#include "export/text_format.h"
#include "export/vector_export.h"
#include "platform/clock.h"
#include "tests/export/export_test_support.h"

namespace qrsmith {
namespace {

using testing::GridFromRows;
using ::testing::HasSubstr;
using testing::MakeSymbol;

constexpr Colour kRed = 0x0000FF;  // 0x00BBGGRR

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<std::string> Lines(const std::string& text, const std::string& separator = "\n") {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string::npos;) {
    lines.push_back(text.substr(start, end - start));
    start = end + separator.size();
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(ColourHex, WritesRedGreenBlueAsTwoUpperCaseDigitsEach) {
  const std::pair<Colour, const char*> cases[] = {
      {0x000000, "000000"}, {0x0000FF, "FF0000"}, {0x010203, "030201"},
      {0xFFFFFF, "FFFFFF"}, {0xAB0C0D, "0D0CAB"}, {0xFF123456, "563412"},  // high byte ignored
  };
  for (const auto& [colour, hex] : cases) EXPECT_EQ(ColourHex(colour), hex) << colour;
}

TEST(RealNumbers, AreWrittenAsPrintfPercentPoint13gWritesThemInTheCLocale) {
  const double cases[] = {0.0,  4.0,         100.0 / 21,  1.0 / 3,         0.5,  2.0 / 3 * 1e-7,
                          1e15, 123456789e7, 7.0 / 3 * 2, -250.0 / 25 * 3, 1e-5, 4.761904761905};
  for (const double v : cases) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.13g", v);
    std::string written;
    text_format::AppendReal(written, v);
    EXPECT_EQ(written, expected);
  }
  std::string w;
  text_format::AppendReal(w, 100.0 / 21);
  EXPECT_EQ(w, "4.761904761905");
}

TEST(RealNumbers, KeepTheDecimalPointUnderALocaleWithADecimalComma) {
  // A window toolkit sets the user's locale, and German writes 1,5: the
  // documents must not follow it. The locale is compiled for the test.
  if (!testing::HaveProgram("localedef")) GTEST_SKIP() << "localedef is not installed";
  testing::ScratchFolder locales;
  if (!testing::RunProgram(
          {"localedef", "-i", "de_DE", "-f", "UTF-8", (locales / "de_DE.UTF-8").string()})) {
    GTEST_SKIP() << "the de_DE locale cannot be compiled here";
  }
  ::setenv("LOCPATH", locales.Path().c_str(), 1);
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
  char printed[16];
  std::snprintf(printed, sizeof printed, "%g", 1.5);
  const std::string svg = WriteSvgDocument(GridFromRows({"#."}), 3, 1);
  std::setlocale(LC_NUMERIC, "C");
  ::unsetenv("LOCPATH");
  ASSERT_STREQ(printed, "1,5");  // the locale is in force
  EXPECT_THAT(svg, HasSubstr("<rect x=\"1.5\" y=\"0\" width=\"1.5\" height=\"1\""));
}

TEST(MakeExportId, IsPrefixTagLocalTimeAndRandomCharactersUpToTwenty) {
  const auto before = platform::Now();
  const std::string id = MakeExportId("PS", "QRCD");
  const auto after = platform::Now();
  ASSERT_EQ(id.size(), 20u);
  EXPECT_EQ(id.substr(0, 6), "PSQRCD");
  char stamp[2][16];
  for (int i = 0; i < 2; ++i) {
    const auto& t = i == 0 ? before : after;
    std::snprintf(stamp[i], sizeof stamp[i], "%02d%02d%02d%02d%02d%02d", t.year % 100, t.month,
                  t.day, t.hour, t.minute, t.second);
  }
  const std::string digits = id.substr(6, 12);
  EXPECT_TRUE(digits == stamp[0] || digits == stamp[1]) << digits;
  EXPECT_THAT(id.substr(18), ::testing::MatchesRegex("[A-Z0-9][A-Z0-9]"));
}

TEST(MakeExportId, AppendsNoRandomCharactersToALongTextAndCutsNothing) {
  EXPECT_EQ(MakeExportId("PREFIX", "TAGTAG").size(), 24u);  // 12 + 12 digits
  EXPECT_EQ(MakeExportId("", "").size(), 20u);              // 12 digits, 8 random
}

TEST(MakeExportId, DrawsTheRandomCharactersAfresh) {
  std::set<std::string> endings;
  for (int i = 0; i < 20; ++i) endings.insert(MakeExportId("QR", "EMFC").substr(18));
  EXPECT_GT(endings.size(), 1u);
}

// ---- The forms on a hand-made grid, byte for byte ----

const ModuleGrid kTwoByTwo = GridFromRows({"#.", ".#"}, kRed, kWhite);

TEST(TextForms, PostScriptPageOfATwoByTwoGrid) {
  EXPECT_EQ(WritePostScriptPage(kTwoByTwo, "PSQRCD260101120000AB"),
            "%!PS\n%%KORVANE\n%!PSQRCD260101120000AB\n2 2 scale\n2 2 8 [2 0 0 -2 0 2]\n{<\n"
            "FF0000FFFFFF\nFFFFFFFF0000\n>}\nfalse 3 colorimage\nshowpage");
}

TEST(TextForms, EpsImageOfATwoByTwoGrid) {
  EXPECT_EQ(WriteEpsImage(kTwoByTwo),
            "%!PS-Adobe-2.0 EPSF-2.0\n%%BoundingBox: 0 0 2 2\n%%HiResBoundingBox: 0 0 2 2\n"
            "/DeviceRGB setcolorspace\ngsave\n<< /ImageType 1\n"
            "/Width 2 /Height 2\n/ImageMatrix [1 0 0 -1 0 2]\n/BitsPerComponent 8\n"
            "/Decode [0 1 0 1 0 1]\n/DataSource currentfile /ASCIIHexDecode filter\n>> image\n"
            "FF0000FFFFFF\nFFFFFFFF0000\n>");
}

TEST(TextForms, SvgDocumentOfAThreeByTwoGridScaledToSevenByThree) {
  const ModuleGrid grid = GridFromRows({"#..", ".#."}, kRed, 0x00FF00);
  EXPECT_EQ(WriteSvgDocument(grid, 7, 3),
            "<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
            "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"7\" height=\"3\" "
            "viewBox=\"0 0 7 3\" shape-rendering=\"crispEdges\">\n"
            "<rect x=\"0\" y=\"0\" width=\"2.333333333333\" height=\"1.5\" fill=\"#FF0000\" />\n"
            "<rect x=\"2.333333333333\" y=\"0\" width=\"2.333333333333\" height=\"1.5\" "
            "fill=\"#00FF00\" />\n"
            "<rect x=\"4.666666666667\" y=\"0\" width=\"2.333333333333\" height=\"1.5\" "
            "fill=\"#00FF00\" />\n"
            "<rect x=\"0\" y=\"1.5\" width=\"2.333333333333\" height=\"1.5\" fill=\"#00FF00\" />\n"
            "<rect x=\"2.333333333333\" y=\"1.5\" width=\"2.333333333333\" height=\"1.5\" "
            "fill=\"#FF0000\" />\n"
            "<rect x=\"4.666666666667\" y=\"1.5\" width=\"2.333333333333\" height=\"1.5\" "
            "fill=\"#00FF00\" />\n"
            "</svg>");
}

TEST(TextForms, HtmlFragmentOfATwoByOneGrid) {
  const ModuleGrid grid = GridFromRows({"#."}, kRed, 0x00FF00);
  const std::string element = "<div style=\"position:absolute;overflow:hidden;left:";
  EXPECT_EQ(
      WriteHtmlFragment(grid, 5, 2),
      "<div style=\"position:relative;overflow:hidden;width:5px;height:2px;"
      "background-color:#00FF00;print-color-adjust:exact;-webkit-print-color-adjust:exact\">" +
          element + "0px;top:0px;width:2.5px;height:2px;background-color:#FF0000\"></div>" +
          element +
          "2.5px;top:0px;width:2.5px;height:2px;background-color:#00FF00\"></div>"
          "</div>");
}

TEST(TextForms, CompactSvgOfAFourByThreeGrid) {
  // Runs of two or more on the rows' centre lines, then the modules left
  // alone on their columns'; each move relative to the previous run's end.
  const ModuleGrid grid = GridFromRows({"##.#", "...#", ".##."}, kRed, 0x00FF00);
  EXPECT_EQ(WriteCompactSvg(grid, 8, 6),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"8\" height=\"6\" "
            "viewBox=\"0 0 4 3\" preserveAspectRatio=\"none\">\n"
            "<rect width=\"4\" height=\"3\" fill=\"#00FF00\"/>\n"
            "<path fill=\"none\" stroke=\"#FF0000\" d=\"M0 0.5h2m-1 2h2M3.5 0v2\"/>\n"
            "</svg>");
  EXPECT_EQ(WriteCompactSvg(GridFromRows({"..", ".."}), 2, 2),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"2\" height=\"2\" "
            "viewBox=\"0 0 2 2\" preserveAspectRatio=\"none\">\n"
            "<rect width=\"2\" height=\"2\" fill=\"#FFFFFF\"/>\n</svg>");
  // In millimetres, half-clear light modules and a clear foreground: no path.
  ModuleGrid clear = GridFromRows({"#."});
  clear.opacity = {0, 128};
  EXPECT_EQ(WriteCompactSvg(clear, 2, 1, 0.5),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"1mm\" "
            "height=\"0.5mm\" viewBox=\"0 0 2 1\" preserveAspectRatio=\"none\">\n"
            "<rect width=\"2\" height=\"1\" fill=\"#FFFFFF\" fill-opacity=\"0.502\"/>\n</svg>");
}

TEST(TextForms, TextArtInBothStyles) {
  EXPECT_EQ(WriteTextArt(kTwoByTwo, true), "●　\r\n　●");
  EXPECT_EQ(WriteTextArt(kTwoByTwo, false), "▇　\r\n　▇");
  EXPECT_EQ(WriteTextArt(GridFromRows({"...", "..."}), true), "　　　\r\n　　　");
}

// ---- The forms of real symbols ----

TEST(TextForms, PostScriptOfATwentyThreeModuleGrid) {
  const QrGenerator generator = MakeSymbol("HELLO", 1, kRed, kWhite, 1);
  ASSERT_EQ(generator.SymbolWidth(), 23);
  const std::string ps = Text(ExportVector(generator, VectorKind::kPostScript));
  const auto lines = Lines(ps);
  ASSERT_EQ(lines.size(), 6u + 23u + 3u);
  EXPECT_THAT(lines[2], ::testing::MatchesRegex("%!PSQRCD[0-9]{12}[A-Z0-9]{2}"));
  EXPECT_EQ(lines[3], "23 23 scale");
  EXPECT_EQ(lines[4], "23 23 8 [23 0 0 -23 0 23]");
  for (int r = 0; r < 23; ++r) EXPECT_EQ(lines[6 + r].size(), 138u) << r;
  EXPECT_EQ(lines[6], std::string(138, 'F'));  // the margin row is all background
  EXPECT_THAT(lines[7], ::testing::StartsWith("FFFFFFFF0000FF0000"));  // margin, finder
  EXPECT_EQ(lines.back(), "showpage");

  // Two pages differ at most in the identifier.
  auto again = Lines(Text(ExportVector(generator, VectorKind::kPostScript)));
  again[2] = lines[2];
  EXPECT_EQ(again, lines);
}

TEST(TextForms, SvgWithOnlyAWidthKeepsTheGridHeight) {
  const QrGenerator generator = MakeSymbol("HELLO", 2, kBlack, kWhite, 0);
  ASSERT_EQ(generator.SymbolWidth(), 25);
  const std::string svg = Text(ExportVector(generator, VectorKind::kSvg, 100));
  EXPECT_THAT(svg, HasSubstr("version=\"1.1\" width=\"100\" height=\"25\" "));
  EXPECT_EQ(Count(svg, "<rect "), 625u);
  EXPECT_EQ(Count(svg, "width=\"4\" height=\"1\" fill="), 625u);
  // Row 1, column 2 (a dark finder module).
  EXPECT_EQ(Lines(svg)[4], "<rect x=\"4\" y=\"0\" width=\"4\" height=\"1\" fill=\"#000000\" />");
  EXPECT_EQ(svg.substr(svg.size() - 7), "\n</svg>");
}

TEST(TextForms, SvgSizesOfZeroOrBelowCountAsLeftOut) {
  const QrGenerator generator = MakeSymbol("HELLO", 1, kBlack, kWhite, 0);
  const Bytes omitted = ExportVector(generator, VectorKind::kSvg);
  EXPECT_THAT(Text(omitted), HasSubstr("width=\"21\" height=\"21\" "));
  EXPECT_EQ(ExportVector(generator, VectorKind::kSvg, 0, -5), omitted);
  EXPECT_EQ(ExportVector(generator, VectorKind::kSvg, -1, 0), omitted);
  const std::string scaled = Text(ExportVector(generator, VectorKind::kSvg, 100, 100));
  EXPECT_EQ(Count(scaled, "width=\"4.761904761905\" height=\"4.761904761905\""), 441u);
}

TEST(TextForms, HtmlOfRealSymbols) {
  const QrGenerator generator = MakeSymbol("HELLO", 2, kBlack, kWhite, 0);
  const std::string html = ExportHtml(generator, 250, 250);
  EXPECT_EQ(Count(html, "<div "), 1u + 625u);
  EXPECT_EQ(Count(html, "width:10px;height:10px;"), 625u);
  EXPECT_THAT(html, HasSubstr("left:0px;top:20px;"));  // row 3, column 1
  EXPECT_EQ(Count(html, "\n"), 0u);
  EXPECT_EQ(Count(ExportHtml(generator, 0, 0), "left:0px;top:0px;width:0px;height:0px;"), 625u);

  const QrGenerator small = MakeSymbol("HELLO", 1, kBlack, kWhite, 0);
  EXPECT_EQ(Count(ExportHtml(small, 100, 100), "width:4.761904761905px;height:4.761904761905px"),
            441u);
}

TEST(TextForms, HtmlWithoutASymbolIsTheEmptyOuterBlock) {
  const QrGenerator none;
  EXPECT_EQ(ExportHtml(none, 40, 30),
            "<div style=\"position:relative;overflow:hidden;width:40px;height:30px;"
            "background-color:#FFFFFF;print-color-adjust:exact;-webkit-print-color-adjust:exact\">"
            "</div>");
}

TEST(TextForms, TextArtOfATwentyThreeModuleGrid) {
  const QrGenerator generator = MakeSymbol("HELLO", 1);
  const std::string art = ExportTextArt(generator, false);
  const auto lines = Lines(art, "\r\n");
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(Count(art, "\r\n"), 22u);
  std::string blank;
  for (int i = 0; i < 23; ++i) blank += "　";
  EXPECT_EQ(lines.front(), blank);
  EXPECT_EQ(lines.back(), blank);
  for (const auto& line : lines) EXPECT_EQ(line.size(), 23u * 3);  // three UTF-8 bytes a glyph
  EXPECT_EQ(lines[1].substr(0, 6), "　▇");
  EXPECT_EQ(Count(art, "●"), 0u);
  EXPECT_EQ(Count(ExportTextArt(generator, true), "●"), Count(art, "▇"));
}

}  // namespace
}  // namespace qrsmith
