// Sizes, forms and what the tool reports about them, with the real binary:
// modules never stretched, an option a form cannot honour refused by name,
// --verify on grids of any shape, and the measures of what does not fit.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/codecs/image.h"
#include "tests/cli/tool_test.h"

namespace qrsmith {
namespace {

namespace fs = std::filesystem;

using CliSizes = testing::ToolTest;

TEST_F(CliSizes, EachRequestGivesItsSizeOrARefusalThatNamesTheReason) {
  const std::string small = Path("small.png");
  ASSERT_EQ(Run({"-o", small, "-s", "1", "-m", "0", "small"}).status, 0);  // 21 x 21 pixels
  struct Case {
    std::vector<std::string> args;  // before "x", with "-o FILE" when the form is a file
    int status;
    std::string message;        // part of the error; for 0, the verification note or ""
    int width = 0, height = 0;  // of a written PNG
  };
  const std::string png = Path("out.png"), svg = Path("out.svg");
  const std::string aLot(5000, 'a');
  const Case cases[] = {
      // -s is pixels per module on both axes; -w and --height keep modules square.
      {{"--margins", "3,0,1,2", "-o", png}, 0, "", 250, 230},
      {{"--margins", "3,0,1,2", "-s", "3", "-o", png}, 0, "", 75, 69},
      {{"--margins", "3,0,1,2", "-w", "100", "-o", png}, 0, "", 100, 92},
      {{"--margins", "3,0,1,2", "--height", "46", "-o", png}, 0, "", 50, 46},
      {{"-w", "100", "--height", "100", "--verify", "-o", png}, 0, "grade A", 100, 100},
      {{"-w", "100", "--height", "50", "-o", png}, 1, "would stretch the modules of the 29 x 29"},
      {{"-s", "3", "-w", "100", "-o", png}, 1, "-s and -w/--height both set the size"},
      {{"-w", "100", "--verify", "-o", svg}, 0, "grade A"},
      {{"-w", "100", "--verify", "-t", "html", "-o", "-"}, 0, "grade A"},
      {{"--svg-path", "-w", "100", "--verify", "-o", svg}, 0, "grade A"},
      {{"--svg-path", "--verify", "-t", "svg", "-o", "-"}, 0, "grade A"},
      {{"--svg-path", "-o", png}, 1, "--svg-path writes SVG, not png"},
      {{"--svg-path", "--verify", "-t", "eps", "-o", "-"}, 1, "--svg-path writes SVG, not eps"},
      // What a form cannot carry is refused, naming the option and the form.
      {{"-w", "100", "-t", "eps", "-o", "-"}, 1, "the eps form cannot honour -w"},
      {{"--height", "9", "-t", "ps", "-o", "-"}, 1, "the ps form cannot honour --height"},
      {{"-s", "2", "-t", "wmf", "-o", "-"}, 1, "the wmf form cannot honour -s"},
      {{"-w", "9", "-t", "txt", "-o", "-"}, 1, "the txt form cannot honour -w"},
      {{"--icon", small, "-o", svg}, 1, "the svg-path form cannot honour --icon"},
      {{"--picture", small, "-t", "emf", "-o", "-"}, 1, "the emf form cannot honour --picture"},
      {{"--circles", "-o", png}, 1, "the png form cannot honour --circles"},
      {{"--noise", "-o", png}, 1, "--noise needs --picture"},
      // Print sizes and inks only where the form holds them.
      {{"--dpi", "300", "-t", "gif", "-o", "-"}, 1, "the gif form cannot honour --dpi"},
      {{"--cmyk", "-t", "wmf", "-o", "-"}, 1, "the wmf form cannot honour --cmyk"},
      {{"--cmyk", "-o", png}, 1, "the png form cannot honour --cmyk"},
      {{"--cmyk", "-o", svg}, 1, "the svg-path form cannot honour --cmyk"},
      {{"--pdfx", "-t", "eps", "-o", "-"}, 1, "the eps form cannot honour --pdfx"},
      {{"--title", "T", "-o", svg}, 1, "the svg-path form cannot honour --title"},
      {{"--pdfx", "--cmyk", "--title", "T", "--verify", "-t", "pdf", "-o", "-"}, 0, "grade A"},
      {{"-s", "3", "-t", "pdf", "-o", "-"}, 1, "the pdf form cannot honour -s"},
      {{"--module-mm", "1", "-w", "99", "-o", png}, 1, "--module-mm and -s/-w/--height both"},
      {{"--dpi", "600", "-t", "pdf", "-o", "-"}, 1, "give its size with --module-mm"},
      {{"--module-mm", "0.05", "--dpi", "100", "-o", png}, 1, "less than one pixel per module"},
      {{"--module-mm", "100", "--dpi", "10000", "-o", png}, 1, "smaller --module-mm or --dpi"},
      {{"--module-mm", "1e1", "-o", png}, 1, "--module-mm takes millimetres per module"},
      {{"--module-mm", "100.5", "-o", png}, 1, "--module-mm takes millimetres per module"},
      {{"--dpi", "10001", "-o", png}, 1, "--dpi takes dots per inch from 1 to 10000"},
      {{"--module-mm", "0.4", "--dpi", "600", "--verify", "-t", "pdf", "-o", "-"}, 0, "grade A"},
      {{"--offset", "1,1", "-o", png}, 1, "--offset needs --picture"},
      {{"--picture-size", "9x9", "-o", png}, 1, "--picture-size needs --picture"},
      {{"--picture", small, "-o", png},
       2,
       "the picture is 21 x 21 pixels, smaller than the "
       "symbol's 290 x 290"},
      // --verify on grids wider than 4096 modules: read back smaller, or refused.
      {{"--margins", "2038,4,2038,4", "-v", "1", "--verify", "-o", svg}, 0, "grade A"},
      {{"--margins", "2038,4,2038,4", "-v", "1", "--verify", "-t", "txt", "-o", "-"}, 0, "grade A"},
      {{"--margins", "4,2038,4,2038", "-v", "1", "--verify", "-t", "utf8", "-o", "-"},
       0,
       "grade A"},
      {{"--margins", "8000,0,8000,0", "-v", "1", "--verify", "-t", "wmf", "-o", "-"},
       2,
       "cannot verify a grid of 16021 x 21 modules drawn"},
      // The export grid bound and the measure of content that fits nothing.
      {{"-m", "1100", "-v", "1", "-o", svg},
       2,
       "cannot write a grid of 2221 x 2221 positions as svg-path: at most 4194304 positions"},
      {{"-o", png, aLot}, 2, "(needs more than 32764 bits, holds 23648)"},
      {{"-v", "1", "-o", png, std::string(30, 'a')}, 2, "version 1 at level L (needs 252 bits"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    if (c.message.find("needs") == std::string::npos) args.push_back("x");
    SCOPED_TRACE(args[0] + " " + args[1] + " " + args[2]);
    fs::remove(png);
    const testing::ProcessResult r = Run(args);
    ASSERT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.width != 0) {
      std::ifstream in(png, std::ios::binary);
      const auto picture =
          platform::codecs::DecodeImage(Bytes(std::istreambuf_iterator<char>(in), {}));
      ASSERT_TRUE(picture.has_value());
      EXPECT_EQ(picture->Width(), c.width);
      EXPECT_EQ(picture->Height(), c.height);
    }
  }
}

TEST_F(CliSizes, CompactSvgOfAVersion40SymbolIsTensOfKilobytes) {
  // One rectangle per position takes 3.48 MB at this version.
  const std::string svg = Path("v40.svg");
  const testing::ProcessResult r = Run({"-v", "40", "-l", "M", "-m", "1", "--svg-path", "--verify",
                                        "-o", svg, std::string(1000, 'A')});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_LE(fs::file_size(svg), 48000u);
}

}  // namespace
}  // namespace qrsmith
