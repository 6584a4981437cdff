// The command-line tool against hostile input and failing file systems: every
// integer option at and just past its bounds, content no symbol holds, 100 MB
// on standard input, and exports that cannot be written. Each must end with a
// clear message and its exit status, keep an existing file byte for byte and
// leave no temporary file behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "tests/cli/tool_test.h"
#include "tests/support/file_contents.h"

namespace qrsmith {
namespace {

namespace fs = std::filesystem;
using testing::ProcessResult;

using CliLimits = testing::ToolTest;

TEST_F(CliLimits, IntegerOptionsAtAndPastTheirBounds) {
  struct Case {
    std::vector<std::string> args;  // before "-o FILE content"
    int status;
    std::string message;  // a part of the error; empty when the run succeeds
  };
  const std::string twenty = "99999999999999999999";
  const std::string int32Max = "2147483647";
  const std::string background = Path("background.png");
  ASSERT_EQ(Run({"-o", background, "-s", "20", "background"}).status, 0);
  const Case cases[] = {
      // -s: pixels per module, 1..16384, and the picture at most 16384 wide.
      {{"-s", "1"}, 0, ""},
      {{"-s", "0"}, 1, "--size takes pixels per module from 1 to 16384, not '0'"},
      {{"-s", "-1"}, 1, "--size takes pixels per module from 1 to 16384, not '-1'"},
      {{"-s", "16384"}, 1, "the picture would be 475136 pixels wide, at most 16384"},
      {{"-s", "16385"}, 1, "--size takes pixels per module from 1 to 16384, not '16385'"},
      {{"-s", int32Max}, 1, "--size takes pixels per module from 1 to 16384"},
      {{"-s", twenty}, 1, "--size takes pixels per module from 1 to 16384"},
      // -w and --height: pixels, 1..16384.
      {{"-w", "1"}, 0, ""},
      {{"-w", "16384"}, 0, ""},
      {{"-w", "0"}, 1, "--width takes pixels from 1 to 16384, not '0'"},
      {{"-w", "-1"}, 1, "--width takes pixels from 1 to 16384, not '-1'"},
      {{"-w", "16385"}, 1, "--width takes pixels from 1 to 16384, not '16385'"},
      {{"-w", int32Max}, 1, "--width takes pixels from 1 to 16384"},
      {{"-w", twenty}, 1, "--width takes pixels from 1 to 16384"},
      {{"--height", "16384", "-t", "svg"}, 0, ""},
      {{"--height", "0"}, 1, "--height takes pixels from 1 to 16384, not '0'"},
      {{"--height", "16385"}, 1, "--height takes pixels from 1 to 16384, not '16385'"},
      {{"--height", twenty}, 1, "--height takes pixels from 1 to 16384"},
      // -v: 1..40.
      {{"-v", "40"}, 0, ""},
      {{"-v", "0"},
       1,
       "--symversion takes a version from 1 to 40, M1 to M4 or R7x43 to R17x139, not '0'"},
      {{"-v", "-1"},
       1,
       "--symversion takes a version from 1 to 40, M1 to M4 or R7x43 to R17x139, not '-1'"},
      {{"-v", int32Max}, 1, "--symversion takes a version from 1 to 40"},
      {{"-v", twenty}, 1, "--symversion takes a version from 1 to 40"},
      // --mask: 0..7 or auto.
      {{"--mask", "7"}, 0, ""},
      {{"--mask", "8"}, 1, "--mask takes 0 to 7 or auto, not '8'"},
      {{"--mask", "-1"}, 1, "--mask takes 0 to 7 or auto, not '-1'"},
      {{"--mask", twenty}, 1, "--mask takes 0 to 7 or auto"},
      // -m and --margins: 0..8000 modules, and the picture within the bounds.
      {{"-m", "0"}, 0, ""},
      {{"-m", "8000", "-t", "svg"}, 2, "the margins make the symbol picture too large"},
      {{"--margins", "8000,0,0,0", "-t", "svg"}, 0, ""},
      {{"-m", "8001"}, 1, "--margin takes modules from 0 to 8000, not '8001'"},
      {{"-m", "-1"}, 1, "--margin takes modules from 0 to 8000, not '-1'"},
      {{"-m", int32Max}, 1, "--margin takes modules from 0 to 8000"},
      {{"--margins", "0,0,0,8001"}, 1, "--margins takes L,T,R,B in modules from 0 to 8000"},
      {{"--margins", "0,0,0"}, 1, "--margins takes L,T,R,B in modules from 0 to 8000"},
      {{"--margins", "0,0,0," + twenty}, 1, "--margins takes L,T,R,B"},
      // --picture-size and --offset: 1..16384 and -16384..16384 pixels.
      {{"--picture-size", "0x1"}, 1, "--picture-size takes WxH in pixels from 1 to 16384"},
      {{"--picture-size", "16385x1"}, 1, "--picture-size takes WxH in pixels from 1 to 16384"},
      {{"--picture-size", "1x" + int32Max}, 1, "--picture-size takes WxH"},
      {{"--picture", background, "--offset", "16384,-16384"}, 0, ""},
      {{"--offset", "16385,0"}, 1, "--offset takes DX,DY in pixels, not '16385,0'"},
      {{"--offset", "0,-" + twenty}, 1, "--offset takes DX,DY in pixels"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    const std::string path = Path("out.png");
    for (const std::string& a : {std::string("-o"), path, std::string("bounds")}) args.push_back(a);
    const ProcessResult r = Run(args);
    SCOPED_TRACE(c.args.front() + " " + c.args[1]);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.status == 0) {
      EXPECT_TRUE(fs::exists(path));
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
      EXPECT_FALSE(fs::exists(path));
    }
    fs::remove(path);
  }
}

TEST_F(CliLimits, ContentNoSymbolHoldsIsRefusedWithItsMeasure) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string input;
    std::string message;
  };
  const Case cases[] = {
      {"bytes past version 40-L",
       {},
       std::string(2954, 'a'),
       "content does not fit any version at level L (needs 23652 bits, holds 23648)"},
      {"digits past version 40-L",
       {},
       std::string(7090, '7'),
       "content does not fit any version at level L"},
      {"past version 40-H",
       {"-l", "H"},
       std::string(1300, 'a'),
       "content does not fit any version at level H"},
      {"invalid UTF-8 argument", {"bad \xC3\x28 text"}, "", "not valid UTF-8"},
      {"ANSI beyond GBK", {"--encoding", "ansi", "\xF0\x9F\x98\x80"}, "", "cannot represent"},
      {"password beyond GBK", {"--password", "\xF0\x9F\x98\x80", "x"}, "", "cannot represent"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = {"-o", Path("never.svg")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult r = Run(args, c.input);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("never.svg")));
  }
}

TEST_F(CliLimits, HundredMegabytesOnStandardInputAreRefusedInBoundedMemory) {
  const ProcessResult r = Run({"-o", Path("never.png")}, std::string(100 << 20, 'q'));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "qrsmith: the input is longer than 1048576 bytes; no symbol holds that much\n");
  EXPECT_FALSE(fs::exists(Path("never.png")));
  // The largest child of this test: it stopped reading at the bound.
  rusage usage{};
  ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
  EXPECT_LT(usage.ru_maxrss, 256 * 1024) << "kilobytes";
}

// Where an export cannot be written: the existing file stays as it was, the
// folder holds nothing new, and the message names the reason.
TEST_F(CliLimits, FailedWritesKeepTheExistingFileAndLeaveNoTemporary) {
  struct Target {
    const char* what;
    std::string folder;      // made before the run (empty: none)
    std::string path;        // the -o argument
    bool readOnly = false;   // the folder made read-only for the run
    bool sizeLimit = false;  // run under a 512-byte file size limit
    std::string reason;
  };
  const Target targets[] = {
      {"missing folder", "", Path("missing/out"), false, false, "No such file or directory"},
      {"onto a folder", "", Path("folder.out"), false, false, "Is a directory"},
      {"read-only folder", "ro", Path("ro/out"), true, false, "Permission denied"},
      {"file size limit", "full", Path("full/out"), false, true, "File too large"},
  };
  for (const Target& t : targets) {
    for (const std::string type : {"png", "svg"}) {
      SCOPED_TRACE(std::string(t.what) + " " + type);
      if (t.readOnly && ::geteuid() == 0) continue;  // root writes anyway
      const std::string path = t.path + "." + type;
      std::string before;
      if (std::string(t.what) == "onto a folder") {
        fs::create_directories(path);
      } else if (!t.folder.empty()) {
        fs::create_directories(Path(t.folder));
        before = "an existing file that must survive\n";
        std::ofstream(path) << before;
      }
      if (t.readOnly)
        fs::permissions(Path(t.folder), fs::perms::owner_read | fs::perms::owner_exec);
      const auto listing = Files();
      std::vector<std::string> args = {"-w", "2000", "-o", path, "https://qrsmith.example/limits"};
      ProcessResult r;
      if (t.sizeLimit) {
        // The shell sets the limit and execs the tool, which runs under it.
        args.insert(args.begin(), {"-c", "ulimit -f 1 && exec \"$0\" \"$@\"", QRSMITH_BINARY});
        r = testing::RunProcess("/bin/sh", args);
      } else {
        r = Run(args);
      }
      if (t.readOnly) fs::permissions(Path(t.folder), fs::perms::owner_all);
      EXPECT_EQ(r.status, 2) << r.err;
      EXPECT_EQ(r.err, "qrsmith: cannot write '" + path + "': " + t.reason + "\n");
      EXPECT_EQ(Files(), listing);
      if (!before.empty()) {
        EXPECT_EQ(testing::FileText(path), before);
      }
      fs::remove_all(dir_);
      fs::create_directories(dir_);
    }
  }
}

// -o through a symbolic link writes the file the link leads to and leaves the
// link a link; a link that leads to a folder is refused, naming both.
TEST_F(CliLimits, OutputThroughASymbolicLinkReachesItsFile) {
  std::ofstream(Path("real.svg")) << "old";
  fs::create_symlink("real.svg", Path("link.svg"));
  fs::create_directories(Path("folder"));
  fs::create_symlink("folder", Path("to-folder.svg"));
  const ProcessResult r = Run({"-o", Path("link.svg"), "--verify", "through the link"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(Path("link.svg")));
  EXPECT_EQ(testing::FileText(Path("real.svg")).rfind("<?xml", 0), 0u);
  const ProcessResult folder = Run({"-o", Path("to-folder.svg"), "x"});
  EXPECT_EQ(folder.status, 2);
  EXPECT_EQ(folder.err, "qrsmith: cannot write '" + Path("to-folder.svg") + "' (a link to '" +
                            Path("folder") + "'): Is a directory\n");
  EXPECT_EQ(Files().size(), 4u);
}

// SIGKILL part way through an 8192 x 8192 BMP (some 200 MB) over an existing
// file: the old file stays byte for byte, and no temporary file is left. Only
// where the file system has no unnamed files may a hidden, plainly named
// temporary file stay behind, since a killed process cannot remove it.
TEST_F(CliLimits, AKillDuringALargeWriteLeavesTheOldFileAsItWas) {
  const std::string path = Path("big.bmp");
  int status = 0;
  std::string before;
  for (int attempt = 0; attempt < 3; ++attempt) {
    ASSERT_EQ(Run({"-o", path, "the old symbol"}).status, 0);
    before = testing::FileText(path);
    const int pid = testing::StartProcess(QRSMITH_BINARY, {"-w", "8192", "-o", path, "new"});
    ASSERT_GT(pid, 0);
    // Kill once the first megabytes of the new file are out.
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (testing::BytesWritten(pid) >= 8 << 20) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        break;
      }
      ::usleep(200);
    }
    if (WIFSIGNALED(status)) break;  // else it finished first: try again
  }
  ASSERT_TRUE(WIFSIGNALED(status)) << "the write always ended before the kill";
  EXPECT_EQ(testing::FileText(path), before);
  const int probe = ::open(dir_.c_str(), O_TMPFILE | O_WRONLY, 0600);
  const bool unnamedFiles = probe >= 0;
  if (probe >= 0) ::close(probe);
  for (const std::string& name : Files()) {
    if (name == path) continue;
    EXPECT_FALSE(unnamedFiles) << name;
    EXPECT_EQ(name.rfind(Path(".big.bmp.qrsmith-"), 0), 0u) << name;
  }
}

}  // namespace
}  // namespace qrsmith
