// ECI, GS1, structured append and the level boost through the real tool,
// with zxing-cpp reading the written files as a phone would.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/codecs/image.h"
#include "tests/cli/tool_test.h"
#include "tests/support/file_contents.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

using testing::ProcessResult;

class CliHeaders : public testing::ToolTest {
 protected:
  static std::optional<testing::Decoded> Scan(const std::string& path) {
    const auto picture = platform::codecs::DecodeImage(testing::FileBytes(path));
    if (!picture) return std::nullopt;
    return testing::DecodeWithZxing(*picture, 1);
  }
};

TEST_F(CliHeaders, SingleSymbolsCarryWhatWasAsked) {
  struct Case {
    std::vector<std::string> args;
    std::string text, symbology;
    bool eci;
  };
  const std::vector<Case> cases = {
      {{"--eci", "auto", "Grüße, Straße"}, "Grüße, Straße", "]Q1", true},
      {{"--eci", "auto", "plain ASCII"}, "plain ASCII", "]Q1", false},
      {{"--encoding", "latin1", "Grüße"}, "Grüße", "]Q1", true},
      {{"--encoding", "shift_jis", "日本語のテキスト"}, "日本語のテキスト", "]Q1", true},
      {{"--gs1", "(01)09501101530003(17)260101"},
       "0109501101530003"
       "17260101",
       "]Q3",
       false},
      {{"--gs1", "(01)09501101530003(10)AB%1(21)X"},
       "0109501101530003"
       "10AB%1\x1D"
       "21X",
       "]Q3",
       false},
      {{"--fnc1-second", "37", "ABC"}, "37ABC", "]Q5", false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"-o", Path("s.png"), "--verify"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = Run(args);
    ASSERT_EQ(r.status, 0) << c.args[1] << ": " << r.err;
    const auto scan = Scan(Path("s.png"));
    ASSERT_TRUE(scan) << c.args[1];
    EXPECT_EQ(scan->text, c.text) << c.args[1];
    EXPECT_EQ(scan->symbology, c.symbology) << c.args[1];
    EXPECT_EQ(scan->hasEci, c.eci) << c.args[1];
  }
}

TEST_F(CliHeaders, BoostRaisesTheLevelAtTheChosenVersion) {
  for (const bool boost : {false, true}) {
    std::vector<std::string> args = {"-o", Path("b.png"), "-v", "1", "HELLO"};
    if (boost) args.push_back("--boost");
    ASSERT_EQ(Run(args).status, 0);
    const auto scan = Scan(Path("b.png"));
    ASSERT_TRUE(scan);
    EXPECT_EQ(scan->ecLevel, boost ? "H" : "L");
  }
}

TEST_F(CliHeaders, RefusalsNameTheirCause) {
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--gs1", "(01)09501101530004"}, "qrsmith: --gs1: AI (01): check digit is 4, should be 3\n"},
      {{"--gs1", "(01)09501101530003", "TEXT"},
       "qrsmith: --gs1 carries the content: give no TEXT\n"},
      {{"--eci", "1000000", "x"}, "qrsmith: --eci takes 0 to 999999 or auto, not '1000000'\n"},
      {{"--encoding", "iso-8859-1", "日本"},
       "qrsmith: the content has a character that iso-8859-1 cannot represent\n"},
      {{"--structured-append", "17", "x"},
       "qrsmith: --structured-append takes 2 to 16 symbols, not '17'\n"},
      {{"--structured-append", "3", "ab"},
       "qrsmith: the content has fewer characters than the 3 symbols asked for\n"},
      {{"--split", "auto", "-v", "1", std::string(400, 'a')},
       "qrsmith: the content does not fit 16 symbols of version 1 at level L\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"-o", Path("r.png")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = Run(args);
    EXPECT_NE(r.status, 0) << c.message;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), c.message);
  }
  EXPECT_FALSE(std::filesystem::exists(Path("r.png")));
}

TEST_F(CliHeaders, SplitTextBecomesASequenceThatJoins) {
  std::string text;
  for (int i = 0; text.size() < 10240; ++i) text += "Zeile " + std::to_string(i) + ": Grüße. ";
  const ProcessResult r =
      Run({"--split", "auto", "--eci", "auto", "--verify", "-o", Path("part.png")}, text);
  ASSERT_EQ(r.status, 0) << r.err;
  // zbar reads no structured-append part, and the grade says so for each.
  EXPECT_NE(r.err.find("grade C: decode C (zbar cannot read it)"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("qrsmith: verified: the 4 symbols read back and join to the content\n"),
            std::string::npos);
  std::string joined;
  std::string parity;
  for (int k = 1; k <= 4; ++k) {
    const auto scan = Scan(Path("part-" + std::to_string(k) + ".png"));
    ASSERT_TRUE(scan) << k;
    EXPECT_EQ(scan->sequenceIndex, k - 1);
    EXPECT_EQ(scan->sequenceSize, 4);
    EXPECT_TRUE(scan->hasEci);
    if (k == 1) parity = scan->sequenceId;
    EXPECT_EQ(scan->sequenceId, parity) << "every part carries the parity of the whole";
    joined += scan->text;
  }
  EXPECT_EQ(joined, text);
  std::uint8_t expectedParity = 0;
  for (const char c : text) expectedParity ^= static_cast<std::uint8_t>(c);
  EXPECT_EQ(parity, std::to_string(expectedParity));
  // "%n" names the files itself; three symbols asked for are three.
  ASSERT_EQ(Run({"--structured-append", "3", "-o", Path("n%n.png"), "ABCDEFGHIJ"}).status, 0);
  EXPECT_TRUE(std::filesystem::exists(Path("n3.png")));
  EXPECT_FALSE(std::filesystem::exists(Path("n4.png")));
}

}  // namespace
}  // namespace qrsmith

namespace qrsmith {
namespace {

TEST_F(CliHeaders, BatchColumnsTakeTheNewOptions) {
  const std::string csv = Path("rows.csv");
  std::ofstream(csv) << "output,text,eci,gs1,boost,structured-append\n"
                     << Path("a.png") << ",Grüße,auto,,yes,\n"
                     << Path("b.png") << ",,,(01)09501101530003(17)260101,,\n"
                     << Path("c.png") << ",too many files,,,,2\n";
  const ProcessResult r = Run({"--batch", csv});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "qrsmith: line 4: --structured-append and --split make several files: not in a batch\n"
            "qrsmith: batch: 2 written, 1 failed\n");
  const auto a = Scan(Path("a.png")), b = Scan(Path("b.png"));
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(a->hasEci);
  EXPECT_EQ(a->ecLevel, "Q");  // version 1 holds the ECI and 7 bytes at Q, not at H
  EXPECT_EQ(b->symbology, "]Q3");
}

}  // namespace
}  // namespace qrsmith
