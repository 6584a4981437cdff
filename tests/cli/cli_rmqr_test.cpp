// rMQR through the tool: --rmqr, -v RHxW and --rmqr-height make symbols that
// zxing-wasm (zxing-cpp for WebAssembly, under Node.js) reads back from the
// raster forms and the vector forms as drawn by librsvg and Ghostscript, at the size asked for;
// what cannot be made is refused plainly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/cli/tool_test.h"

namespace qrsmith {
namespace {

using CliRmqr = testing::ToolTest;

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

TEST_F(CliRmqr, RmqrSymbolsReadBackInEveryRasterFormAtTheirSizes) {
  const struct {
    std::vector<std::string> args;
    std::string content;
    std::size_t height, width;
  } cases[] = {
      {{"-v", "R11x59", "-l", "H"}, "LOT 4711-0815", 11, 59},
      {{"--rmqr-height", "7"}, "https://example.com/x", 7, 99},
      {{"--rmqr", "--boost"}, "LOT 42", 11, 27},  // raised to H in the size M takes
      {{"--rmqr"}, "Cable 17 AWG black, 3 m, 0123456789", 15, 43},
  };
  std::vector<std::string> files, expected;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    // The text form shows the symbol with its 2-module quiet zone.
    std::vector<std::string> text = c.args;
    text.insert(text.end(), {"-t", "txt", "-o", Path("rmqr.txt"), c.content});
    ASSERT_EQ(Run(text).status, 0) << c.content;
    std::ifstream file(Path("rmqr.txt"));
    std::vector<std::string> rows;
    for (std::string line; std::getline(file, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), c.height + 4) << c.content;
    // U+3000 in three bytes a module, and the line end.
    EXPECT_EQ(rows[0].size() / 3, c.width + 4) << c.content;
    for (const char* form : {"png", "bmp", "gif", "jpeg", "svg", "eps", "pdf"}) {
      std::string path = Path("rmqr" + std::to_string(i) + "." + form);
      const std::string form_ = form;
      const bool vector = form_ == "svg" || form_ == "eps" || form_ == "pdf";
      std::vector<std::string> run = c.args;
      if (!vector) run.insert(run.end(), {"-s", "4"});
      run.insert(run.end(), {"-o", path, c.content});
      ASSERT_EQ(Run(run).status, 0) << c.content << " " << form;
      // The vector forms as librsvg and Ghostscript draw them.
      const std::string drawn = path + ".png";
      if (form_ == "svg") {
        ASSERT_EQ(
            testing::RunProcess("/usr/bin/rsvg-convert", {"-z", "4", "-o", drawn, path}).status, 0);
      } else if (form_ == "eps" || form_ == "pdf") {
        ASSERT_EQ(testing::RunProcess("/usr/bin/gs",
                                      {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pnggray",
                                       "-r300", "-dEPSCrop", "-sOutputFile=" + drawn, path})
                      .status,
                  0);
      }
      files.push_back(vector ? drawn : path);
      expected.push_back("RMQRCode " + Hex(c.content));
    }
  }
  files.insert(files.begin(), QRSMITH_SOURCE_DIR "/tests");
  const testing::ProcessResult read = testing::RunProcess("/usr/bin/node", [&] {
    std::vector<std::string> all = {QRSMITH_SOURCE_DIR "/tests/support/zxing_wasm_read.mjs"};
    all.insert(all.end(), files.begin(), files.end());
    return all;
  }());
  ASSERT_EQ(read.status, 0) << read.err;
  std::string want;
  for (const std::string& line : expected) want += line + "\n";
  EXPECT_EQ(read.out, want);
}

TEST_F(CliRmqr, RmqrRefusesWhatItCannotMake) {
  const std::string path = Path("r.png");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"--rmqr", "-o", path, std::string(151, 'z')},
       2,
       "qrsmith: content does not fit any rMQR size at level M (needs 1219 bits, R17x139 holds "
       "1216)\n"},
      {{"--rmqr-height", "7", "-l", "H", "-o", path, std::string(30, 'z')},
       2,
       "qrsmith: content does not fit any rMQR size of height 7 at level H (needs 249 bits, "
       "R7x139 holds 192)\n"},
      {{"--rmqr", "-l", "Q", "-o", path, "x"}, 1, "qrsmith: rMQR has levels M and H\n"},
      {{"-v", "R11x59", "--verify", "-o", path, "x"},
       1,
       "qrsmith: --verify cannot grade rMQR: zxing-cpp and zbar do not read it\n"},
      {{"--rmqr-height", "8", "x"},
       1,
       "qrsmith: --rmqr-height takes 7, 9, 11, 13, 15 or 17, not '8'\nTry 'qrsmith --help'.\n"},
  };
  for (const auto& c : cases) {
    const testing::ProcessResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args.front();
    EXPECT_EQ(r.err, c.message);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace qrsmith
