#include "platform/file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qrsmith::platform {
namespace {

namespace fs = std::filesystem;

class AtomicWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qrsmith-file-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all);
    fs::remove_all(dir_);
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  fs::path dir_;
};

TEST_F(AtomicWrite, WritesANewFileAndReplacesAnOldOne) {
  const fs::path target = dir_ / "out.svg";
  ASSERT_TRUE(WriteFileAtomically(target.string(), std::string_view("first")));
  EXPECT_EQ(Read(target), "first");
  ASSERT_TRUE(WriteFileAtomically(target.string(), std::string_view("second, longer")));
  EXPECT_EQ(Read(target), "second, longer");
  EXPECT_EQ(Entries(), 1u);  // no temporary file left behind
}

TEST_F(AtomicWrite, RefusesBadTargetsAndLeavesNothingBehind) {
  fs::create_directories(dir_ / "folder");
  EXPECT_FALSE(WriteFileAtomically((dir_ / "missing" / "x.png").string(), std::string_view("x")));
  EXPECT_FALSE(WriteFileAtomically((dir_ / "folder").string(), std::string_view("x")));
  EXPECT_FALSE(WriteFileAtomically((dir_ / "folder/").string(), std::string_view("x")));
  EXPECT_FALSE(WriteFileAtomically("", std::string_view("x")));
  EXPECT_TRUE(fs::is_directory(dir_ / "folder"));
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicWrite, ReadOnlyFolderKeepsTheExistingFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const fs::path target = dir_ / "keep.png";
  ASSERT_TRUE(WriteFileAtomically(target.string(), std::string_view("original")));
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(WriteFileAtomically(target.string(), std::string_view("replacement")));
  fs::permissions(dir_, fs::perms::owner_all);
  EXPECT_EQ(Read(target), "original");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicWrite, FullDiskKeepsTheExistingFile) {
  // A file-size limit stands in for a full disk: the write fails part way.
  const fs::path target = dir_ / "keep.bin";
  ASSERT_TRUE(WriteFileAtomically(target.string(), std::string_view("original")));
  const std::string big(64 * 1024, 'x');
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = previous;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteFileAtomically(target.string(), std::string_view(big));
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(Read(target), "original");
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace qrsmith::platform
