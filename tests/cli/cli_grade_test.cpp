// --verify's grade and --icon's level choice, with zbar and zxing-cpp reading
// what was written.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/codecs/image.h"
#include "tests/cli/tool_test.h"
#include "tests/support/file_contents.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

using CliGrade = testing::ToolTest;

void SaveSquare(const std::string& path, int side) {
  const Bytes png = platform::codecs::EncodeImage(*platform::Bitmap::Create(side, side, 0x2040C0),
                                                  platform::codecs::ImageFormat::kPng);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

TEST_F(CliGrade, GradeLineExitStatusAndIconLevelFollowWhatReadersSee) {
  SaveSquare(Path("i40.png"), 40);
  const std::string content = "https://qrsmith.invalid/grade";
  const struct {
    std::vector<std::string> args;  // before "--verify -o out.png CONTENT" (+ the options given)
    int status;
    std::string message;
    bool readable;  // both readers decode the written file
  } cases[] = {
      {{},
       0,
       "grade A: decode A, contrast A, modulation A, fixed patterns A, axial A, grid A, "
       "unused EC A\n",
       true},
      {{"--verify=json"}, 0, "{\"grade\":\"A\",\"limiting\":null,", true},
      {{"--fg", "FFFF00"}, 3, "contrast F (", false},
      // 1.28 pixels a module: neither reader decodes the file as written.
      {{"-w", "37"}, 3, "is below the minimum grade C (--min-grade)", false},
      {{"-w", "37", "--min-grade", "F"}, 0, "grid F", false},
      {{"--background", "00000000"}, 3, "grade F", false},
      // A 40-pixel icon at 4 pixels a module: a level that keeps it readable, or refused.
      {{"-s", "4", "--icon", Path("i40.png")}, 0, "unused EC B", true},
      {{"-s", "4", "-l", "L", "--icon", Path("i40.png")},
       3,
       "pixels a side keeps unused EC at B",
       false},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    SCOPED_TRACE(args.empty() ? "plain" : args[0] + " " + args.back());
    const std::string out = Path("out.png");
    std::filesystem::remove(out);
    if (args.empty() || args[0] != "--verify=json") args.push_back("--verify");
    for (const std::string& a : {std::string("-o"), out, content}) args.push_back(a);
    const testing::ProcessResult r = Run(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.status != 0) {
      EXPECT_FALSE(std::filesystem::exists(out));
      continue;
    }
    const auto picture = platform::codecs::DecodeImage(testing::FileBytes(out));
    ASSERT_TRUE(picture.has_value());
    const auto zxing = testing::DecodeWithZxing(*picture, 1);
    const auto zbar = testing::DecodeWithZbar(*picture, 1);
    EXPECT_EQ(zxing && zbar && zxing->text == content && zbar->text == content, c.readable);
  }
}

TEST_F(CliGrade, BatchGradesEveryRowAndCountsThoseBelowTheMinimum) {
  std::ofstream(Path("rows.csv")) << "output,text,width\n"
                                  << Path("a.png") << ",fine,\n"
                                  << Path("b.png") << ",too small,37\n";
  const testing::ProcessResult r = Run({"--batch", Path("rows.csv"), "--verify"});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_NE(r.err.find("qrsmith: line 2: grade A:"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("qrsmith: line 3: grade F:"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("1 written, 1 failed, 1 below the minimum grade C"), std::string::npos);
}

}  // namespace
}  // namespace qrsmith
