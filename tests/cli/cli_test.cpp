// The command-line tool, run as a user runs it: the real binary, its exit
// status, its messages and its files, with zxing-cpp reading the symbols.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/content_encryption.h"
#include "platform/codecs/image.h"
#include "tests/cli/tool_test.h"
#include "tests/support/file_contents.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

namespace fs = std::filesystem;
using testing::ProcessResult;

class Cli : public testing::ToolTest {
 protected:
  // What zxing-cpp reads from a raster file.
  static std::optional<testing::Decoded> Scan(const std::string& path) {
    const auto picture = platform::codecs::DecodeImage(testing::FileBytes(path));
    if (!picture) return std::nullopt;
    return testing::DecodeWithZxing(*picture, picture->Width() < 100 ? 4 : 1);
  }
};

TEST_F(Cli, EveryRasterTypeScansAtTheRequestedScale) {
  for (const std::string ext : {"png", "jpg", "gif", "tiff", "bmp"}) {
    const std::string path = Path("symbol." + ext);
    const ProcessResult r = Run({"-o", path, "-s", "3", "HELLO " + ext});
    ASSERT_EQ(r.status, 0) << ext << ": " << r.err;
    const auto picture = platform::codecs::DecodeImage(testing::FileBytes(path));
    ASSERT_TRUE(picture.has_value()) << ext;
    EXPECT_EQ(picture->Width(), (21 + 8) * 3) << ext;  // version 1, quiet zone 4
    const auto scan = Scan(path);
    ASSERT_TRUE(scan.has_value()) << ext;
    EXPECT_EQ(scan->text, "HELLO " + ext);
  }
}

TEST_F(Cli, EveryOtherFormHasItsSignatureAndVerifies) {
  struct Case {
    std::string type;
    std::string start;
  };
  const Case cases[] = {{"svg", "<?xml"},
                        {"eps", "%!PS-Adobe"},
                        {"ps", "%!PS"},
                        {"html", "<div"},
                        {"txt", "\xE3\x80\x80"},  // U+3000, the quiet zone
                        {"emf", std::string("\x01\x00\x00\x00", 4)}};
  for (const Case& c : cases) {
    const std::string path = Path("symbol." + c.type);
    const ProcessResult r = Run({"-o", path, "--verify", "form " + c.type});
    ASSERT_EQ(r.status, 0) << c.type << ": " << r.err;
    const Bytes file = testing::FileBytes(path);
    ASSERT_GE(file.size(), c.start.size());
    EXPECT_EQ(std::string(file.begin(), file.begin() + c.start.size()), c.start) << c.type;
  }
  const ProcessResult wmf = Run({"-o", Path("x.wmf"), "wmf"});
  ASSERT_EQ(wmf.status, 0) << wmf.err;
  EXPECT_FALSE(testing::FileBytes(Path("x.wmf")).empty());
  // -t wins over the extension; -o - writes to standard output.
  const ProcessResult svg = Run({"-t", "svg", "-o", "-", "x"});
  ASSERT_EQ(svg.status, 0);
  EXPECT_EQ(svg.out.rfind("<?xml", 0), 0u);
}

TEST_F(Cli, TerminalRenderingsTakeTwoRowsPerLineOrOneWithColours) {
  const ProcessResult plain = Run({"HELLO"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(std::count(plain.out.begin(), plain.out.end(), '\n'), 15);  // 29 rows, two per line
  const ProcessResult ansi = Run({"-t", "ansi", "HELLO"});
  ASSERT_EQ(ansi.status, 0);
  EXPECT_EQ(std::count(ansi.out.begin(), ansi.out.end(), '\n'), 29);
  EXPECT_NE(ansi.out.find("\x1b[40m"), std::string::npos);
}

TEST_F(Cli, StandardInputDropsTheFinalNewlineOfTextOnly) {
  const std::string path = Path("stdin.png");
  ASSERT_EQ(Run({"-o", path}, "from stdin\n").status, 0);
  EXPECT_EQ(Scan(path)->text, "from stdin");
  ASSERT_EQ(Run({"-o", path, "--keep-newline", "-"}, "kept\n").status, 0);
  EXPECT_EQ(Scan(path)->text, "kept\n");
  const std::string binary("a\0b\xFF\x01\n", 6);  // binary: the newline is a byte like any
  const ProcessResult r = Run({"-8", "-o", path}, binary);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Scan(path)->bytes, Bytes(binary.begin(), binary.end()));
}

TEST_F(Cli, EncodingsChooseTheBytes) {
  const std::string path = Path("enc.png");
  ASSERT_EQ(Run({"-o", path, "\xE4\xB8\xAD\xE6\x96\x87"}).status, 0);  // 中文 as UTF-8
  EXPECT_EQ(Scan(path)->text, "\xE4\xB8\xAD\xE6\x96\x87");
  ASSERT_EQ(Run({"--encoding", "ansi", "-o", path, "\xE4\xB8\xAD"}).status, 0);
  EXPECT_EQ(Scan(path)->bytes, (Bytes{0xD6, 0xD0}));  // GBK
  const ProcessResult invalid = Run({"-o", path}, "bad \xC3 utf8");
  EXPECT_EQ(invalid.status, 2);
  EXPECT_NE(invalid.err.find("not valid UTF-8"), std::string::npos);
  const ProcessResult hangul = Run({"--encoding", "ansi", "-o", path, "\xED\x95\x9C"});
  EXPECT_EQ(hangul.status, 2);
  EXPECT_NE(hangul.err.find("cannot represent"), std::string::npos);
}

TEST_F(Cli, ErrorsNameTheProblemAndTheValueAndWriteNothing) {
  const std::string path = Path("never.png");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {{"-v", "1", "-l", "H", "-o", path, std::string(30, 'a')},
       2,
       "qrsmith: content does not fit version 1 at level H (needs 252 bits, holds 72)\n"},
      {{"--bogus", "x"}, 1, "qrsmith: unknown option '--bogus'\nTry 'qrsmith --help'.\n"},
      {{"-l", "X", "x"},
       1,
       "qrsmith: --level takes L, M, Q or H, not 'X'\nTry 'qrsmith --help'.\n"},
      {{"-v", "41", "x"},
       1,
       "qrsmith: --symversion takes a version from 1 to 40, M1 to M4 or R7x43 to R17x139, not "
       "'41'\nTry 'qrsmith --help'.\n"},
      {{"-s", "99999999999999999999", "x"},
       1,
       "qrsmith: --size takes pixels per module from 1 to 16384, not '99999999999999999999'\n"
       "Try 'qrsmith --help'.\n"},
      {{"-o", path, "--icon", Path("missing.png"), "x"},
       2,
       "qrsmith: cannot read icon '" + Path("missing.png") + "': No such file or directory\n"},
      {{"-o", Path("nofolder/x.png"), "x"}, 2, ""},
      {{"-o", Path("noextension"), "x"},
       1,
       "qrsmith: cannot tell the format of '" + Path("noextension") + "' from its name; use -t\n"},
      {{"-o", path}, 2, "qrsmith: no content to encode\n"},
      {{"--micro", "-o", path, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
       2,
       "qrsmith: content does not fit any Micro QR version at level L (needs 151 bits, holds "
       "128)\n"},
      {{"-v", "M2", "-o", path, "abc"},
       2,
       "qrsmith: content does not fit M2 at level L (it has characters that M2 cannot hold)\n"},
      {{"--micro", "-l", "H", "-o", path, "x"},
       1,
       "qrsmith: Micro QR has levels L, M and Q, not H\n"},
      {{"--micro", "--mask", "4", "-o", path, "x"}, 1, "qrsmith: Micro QR has masks 0 to 3\n"},
  };
  for (const Case& c : cases) {
    const ProcessResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args.front() << ": " << r.err;
    if (!c.message.empty()) {
      EXPECT_EQ(r.err, c.message);
    }
  }
  std::ofstream(Path("icon.txt")) << "not a picture";
  const ProcessResult icon = Run({"-o", path, "--icon", Path("icon.txt"), "x"});
  EXPECT_EQ(icon.status, 2);
  EXPECT_EQ(icon.err, "qrsmith: cannot read icon '" + Path("icon.txt") + "': not a picture\n");
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(Cli, VerifyCatchesASymbolThatDoesNotScanAndWritesNothing) {
  const std::string path = Path("damaged.png");
  // Dark modules in the background's colour: nothing to read.
  const ProcessResult invisible =
      Run({"-o", path, "--verify", "--fg", "FFFFFF", "--bg", "FFFFFF", "lost"});
  EXPECT_EQ(invisible.status, 3) << invisible.err;
  EXPECT_NE(invisible.err.find("is below the minimum grade C"), std::string::npos);
  EXPECT_FALSE(fs::exists(path));
  // An icon over most of the symbol destroys more than level L can repair.
  const std::string icon = Path("big.png");
  ASSERT_EQ(Run({"-o", icon, "-s", "8", "--fg", "FF0000", "--bg", "FF0000", "icon"}).status, 0);
  const ProcessResult covered = Run({"-o", path, "--verify", "-s", "4", "--icon", icon, "covered"});
  EXPECT_EQ(covered.status, 3) << covered.err;
  EXPECT_FALSE(fs::exists(path));
  // Too large to read back: refused plainly, not reported as a bad symbol.
  const ProcessResult huge = Run({"-o", path, "--verify", "-w", "9000", "huge"});
  EXPECT_EQ(huge.status, 2);
  EXPECT_NE(huge.err.find("cannot verify a picture of 9000 x 9000 pixels"), std::string::npos);
  EXPECT_FALSE(fs::exists(path));
  const ProcessResult fine = Run({"-o", path, "--verify", "fine"});
  EXPECT_EQ(fine.status, 0) << fine.err;
}

TEST_F(Cli, PasswordEncryptsAsTheWindowDoes) {
  const std::string path = Path("secret.png");
  ASSERT_EQ(Run({"-o", path, "--password", "Key", "Plaintext"}).status, 0);
  EXPECT_EQ(Scan(path)->text, "&&&BBF316E8D940AF0AD3");
  for (const char* encoding : {"utf8", "binary"}) {
    const ProcessResult r = Run({"--encoding", encoding, "-o", path, "--password", "k\xFF", "x"});
    EXPECT_EQ(r.status, 2) << encoding;
    EXPECT_EQ(r.err, "qrsmith: the password is not valid UTF-8\n") << encoding;
  }
}

TEST_F(Cli, MaskAutoAndFixedMasksAllScan) {
  const std::string path = Path("mask.png");
  for (const std::string mask : {"auto", "0", "5", "7"}) {
    const ProcessResult r = Run({"-o", path, "--mask", mask, "--verify", "mask " + mask});
    ASSERT_EQ(r.status, 0) << mask << ": " << r.err;
  }
  // auto is the default; the best mask for this content is not 0.
  auto art = [](std::vector<std::string> mask) {
    mask.insert(mask.end(), {"-t", "txt", "-o", "-", "DEFAULT MASK"});
    return Run(mask).out;
  };
  EXPECT_EQ(art({}), art({"--mask", "auto"}));
  EXPECT_NE(art({}), art({"--mask", "0"}));
}

TEST_F(Cli, BatchWritesEveryGoodRowAndReportsTheBadOne) {
  std::ofstream(Path("rows.csv")) << "output,text,level\n"
                                  << Path("a.png") << ",first,H\n"
                                  << Path("b.svg") << ",\"second, with comma\",\n"
                                  << Path("c.png") << ",third,Z\n"
                                  << Path("d.png") << ",fourth,Q\n";
  const ProcessResult csv = Run({"--batch", Path("rows.csv")});
  EXPECT_EQ(csv.status, 2);
  EXPECT_NE(csv.err.find("qrsmith: line 4: --level takes L, M, Q or H, not 'Z'"), std::string::npos)
      << csv.err;
  EXPECT_NE(csv.err.find("qrsmith: batch: 3 written, 1 failed"), std::string::npos);
  EXPECT_EQ(Scan(Path("a.png"))->text, "first");
  EXPECT_EQ(Scan(Path("d.png"))->text, "fourth");
  EXPECT_TRUE(fs::exists(Path("b.svg")));
  EXPECT_FALSE(fs::exists(Path("c.png")));

  std::ofstream(Path("lines.txt")) << "one\n\nthree\n";
  const ProcessResult lines = Run({"--batch", Path("lines.txt"), "-o", Path("line-%n.png")});
  EXPECT_EQ(lines.status, 0) << lines.err;
  EXPECT_EQ(Scan(Path("line-1.png"))->text, "one");
  EXPECT_EQ(Scan(Path("line-3.png"))->text, "three");
  EXPECT_FALSE(fs::exists(Path("line-2.png")));

  // Rows are read as they come: a file that ends inside a quoted field loses
  // only its last row.
  std::ofstream(Path("open.csv")) << "output,text\n"
                                  << Path("e.png") << ",fifth\n"
                                  << Path("f.png") << ",\"never closed\n";
  const ProcessResult open = Run({"--batch", Path("open.csv")});
  EXPECT_EQ(open.status, 2);
  EXPECT_NE(open.err.find("qrsmith: line 3: the batch file ends inside a quoted field"),
            std::string::npos)
      << open.err;
  EXPECT_EQ(Scan(Path("e.png"))->text, "fifth");
  EXPECT_FALSE(fs::exists(Path("f.png")));
}

// A cell is read by its column's option: a value column takes 1 or yes as its
// value, a switch column takes yes/no words, and the extension is any case.
TEST_F(Cli, BatchCellsFollowTheirColumnsOption) {
  std::ofstream(Path("R4.CSV")) << "output,text,margin,verify\n"
                                << Path("one.png") << ",hi,1,no\n"
                                << Path("two.png") << ",hi,,yes\n"
                                << Path("three.png") << ",hi,2,maybe\n";
  const ProcessResult run = Run({"--batch", Path("R4.CSV")});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("line 4: the column verify is a switch"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("batch: 2 written, 1 failed"), std::string::npos) << run.err;
  const auto one = platform::codecs::DecodeImage(testing::FileBytes(Path("one.png")));
  ASSERT_TRUE(one);
  EXPECT_EQ(one->Width(), (21 + 2) * 10);  // a 1-module quiet zone at 10 pixels a module
  EXPECT_EQ(Scan(Path("two.png"))->text, "hi");
}

TEST_F(Cli, HelpAndVersion) {
  const ProcessResult help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: qrsmith", 0), 0u);
  // What the encryption is worth is said where the option is listed.
  EXPECT_NE(help.out.find("RC4 keyed directly by the password, without salt"), std::string::npos);
  const ProcessResult version = Run({"-V"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("qrsmith ", 0), 0u);
}

// --micro picks the smallest version, -v M1..M4 a fixed one, and each reads
// back through --verify with a 2-module quiet zone.
TEST_F(Cli, MicroQrSymbolsVerifyAtTheirSizes) {
  const std::pair<std::vector<std::string>, std::size_t> cases[] = {
      {{"--micro", "12345"}, 11},
      {{"--micro", "HELLO1"}, 13},
      {{"-v", "M3", "12"}, 15},
      {{"-v", "M4", "-l", "Q", "Micro"}, 17}};
  for (const auto& [args, side] : cases) {
    std::vector<std::string> run = args;
    run.insert(run.end(), {"--verify", "-t", "txt", "-o", Path("micro.txt")});
    EXPECT_EQ(Run(run).status, 0) << args.back();
    std::ifstream file(Path("micro.txt"));
    std::size_t rows = 0;
    for (std::string line; std::getline(file, line);) ++rows;
    EXPECT_EQ(rows, side + 4) << args.back();
  }
}

}  // namespace
}  // namespace qrsmith
