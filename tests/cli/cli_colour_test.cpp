// Colours with alpha on the command line: RRGGBBAA is taken where the form
// can show it and graded as it looks on white and with alpha dropped, and refused by name where
// it cannot.

#include <gtest/gtest.h>

#include "tests/cli/tool_test.h"

namespace qrsmith {
namespace {

using CliColour = testing::ToolTest;

TEST_F(CliColour, AlphaIsWrittenWhereTheFormHoldsItAndRefusedByNameElsewhere) {
  struct Case {
    std::vector<std::string> args;  // before "--verify -o FILE x"
    std::string file;               // the output's name: its extension picks the form
    int status;
    std::string message;  // part of the error; "" for success
  };
  const Case cases[] = {
      {{"--background", "FFFFFF00"}, "c.png", 0, "grade A"},
      {{"--background", "FFFFFF00"}, "c.tiff", 0, "grade A"},
      {{"--background", "#FFFFFF00"}, "c.gif", 0, "grade A"},
      // Clear black is black to readers that ignore alpha: nothing to read.
      {{"--background", "00000000"}, "b.png", 3, "contrast F"},
      {{"--background", "00000000"}, "b.gif", 3, "contrast F"},
      {{"--bg", "00000000"}, "c.svg", 0, ""},
      {{"--bg", "00000000"}, "c.eps", 0, ""},
      {{"--bg", "00000000"}, "c.ps", 0, ""},
      {{"--bg", "FFFFFF00"}, "c.pdf", 0, ""},
      {{"--bg", "FFFFFF00", "--cmyk"}, "k.eps", 0, ""},
      {{"--bg", "FFFFFF00", "--cmyk"}, "k.tiff", 1, "a CMYK tiff file cannot hold a colour"},
      {{"--fg", "00000000"}, "n.pdf", 1, "the pdf form draws the dark modules opaque"},
      {{"--fg", "0000FFC0", "--bg", "FFFFFF80"}, "p.png", 0, ""},
      {{"--fg", "0000FFC0", "--bg", "FFFFFF80"}, "p.tiff", 0, ""},
      {{"--fg", "0000FFC0", "--bg", "FFFFFF80"}, "p.svg", 0, ""},
      // On white a clear foreground shows nothing.
      {{"--fg", "00000000"}, "n.png", 3, "neither zxing-cpp nor zbar finds the symbol"},
      {{"--fg", "00000000"}, "n.svg", 3, "neither zxing-cpp nor zbar finds the symbol"},
      {{"--bg", "FFFFFF00"},
       "r.jpg",
       1,
       "the jpeg form cannot hold a colour that is not opaque (--background with alpha 00)"},
      {{"--bg", "FFFFFF00"}, "r.bmp", 1, "the bmp form cannot hold"},
      {{"--bg", "FFFFFF00"}, "r.wmf", 1, "the wmf form cannot hold"},
      {{"--bg", "FFFFFF00"}, "r.html", 1, "the html form cannot hold"},
      {{"--fg", "000000C0"},
       "r.gif",
       1,
       "the gif form holds only clear (00) or opaque (FF) colours, not --foreground with alpha C0; "
       "use png, tiff, svg-rects or svg-path"},
      {{"--fg", "000000C0"}, "r.eps", 1, "the eps form holds only clear"},
      {{"--bg", "FFFFFF00", "--picture", "any.png"}, "r.png", 1, "--picture cannot be used"},
      {{"--fg", "0000000"}, "r.png", 1, "--foreground takes a colour RRGGBB or RRGGBBAA"},
      {{"--bg", "FFFFFF0G"}, "r.png", 1, "--background takes a colour RRGGBB or RRGGBBAA"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    for (const std::string& a : {std::string("--verify"), std::string("-o"), Path(c.file)}) {
      args.push_back(a);
    }
    args.push_back("https://qrsmith.invalid/alpha");
    const auto result = Run(args);
    EXPECT_EQ(result.status, c.status) << c.file << ": " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    // A refused or unreadable symbol is not written.
    EXPECT_EQ(std::filesystem::exists(Path(c.file)), c.status == 0) << c.file;
  }
}

}  // namespace
}  // namespace qrsmith
