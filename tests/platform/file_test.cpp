#include "platform/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_batch.h"
#include "tests/support/file_contents.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"

namespace qrsmith::platform {
namespace {

namespace fs = std::filesystem;

class AtomicWrite : public ::testing::Test {
 protected:
  std::size_t Entries() const { return scratch_.Entries(); }

  qrsmith::testing::ScratchFolder scratch_{"qrsmith-file"};
  const fs::path& dir_ = scratch_.Path();
};

TEST_F(AtomicWrite, WritesANewFileAndReplacesAnOldOne) {
  const fs::path target = dir_ / "out.svg";
  ASSERT_TRUE(WriteFileAtomically(target.string(), std::string_view("first")));
  EXPECT_EQ(qrsmith::testing::FileText(target), "first");
  ASSERT_TRUE(WriteFileAtomically(target.string(), std::string_view("second, longer")));
  EXPECT_EQ(qrsmith::testing::FileText(target), "second, longer");
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

TEST_F(AtomicWrite, FullDiskKeepsTheExistingFile) {
  // A file-size limit stands in for a full disk: the write fails part way.
  const fs::path target = dir_ / "keep.bin";
  ASSERT_TRUE(WriteFileAtomically(target.string(), std::string_view("original")));
  const std::string big(64 * 1024, 'x');
  bool written = true;
  {
    const qrsmith::testing::FileSizeLimit limit(4096);
    ASSERT_TRUE(limit.Active());
    written = WriteFileAtomically(target.string(), std::string_view(big));
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(qrsmith::testing::FileText(target), "original");
  EXPECT_EQ(Entries(), 1u);
}

// A write through a symbolic link reaches the file at the end of the chain
// and leaves every link a link; where that cannot be done, nothing changes.
TEST_F(AtomicWrite, WritesThroughSymbolicLinks) {
  fs::create_directories(dir_ / "sub");
  fs::create_directories(dir_ / "folder");
  std::ofstream(dir_ / "real.svg") << "old";
  std::ofstream(dir_ / "sub" / "deep.svg") << "old";
  fs::create_symlink("real.svg", dir_ / "link.svg");
  fs::create_symlink(dir_ / "link.svg", dir_ / "chain.svg");  // absolute, onto a link
  fs::create_symlink("sub/deep.svg", dir_ / "into-sub.svg");
  fs::create_symlink("sub/new.svg", dir_ / "dangling.svg");
  fs::create_symlink("folder", dir_ / "to-folder.svg");
  fs::create_symlink("loop-b.svg", dir_ / "loop-a.svg");
  fs::create_symlink("loop-a.svg", dir_ / "loop-b.svg");
  struct Case {
    const char* link;
    const char* target;  // the file that gets the bytes; null: the write fails
    int error;
  };
  const Case cases[] = {
      {"link.svg", "real.svg", 0},         {"chain.svg", "real.svg", 0},
      {"into-sub.svg", "sub/deep.svg", 0}, {"dangling.svg", "sub/new.svg", 0},
      {"to-folder.svg", nullptr, EISDIR},  {"loop-a.svg", nullptr, ELOOP},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    const std::string text = std::string("new through ") + c.link;
    errno = 0;
    EXPECT_EQ(WriteFileAtomically((dir_ / c.link).string(), std::string_view(text)),
              c.target != nullptr);
    if (c.target != nullptr) {
      EXPECT_EQ(qrsmith::testing::FileText(dir_ / c.target), text);
      EXPECT_EQ(fs::canonical(WriteTargetOf((dir_ / c.link).string())), dir_ / c.target);
    } else {
      EXPECT_EQ(errno, c.error);
    }
  }
  for (const char* link : {"link.svg", "chain.svg", "into-sub.svg", "dangling.svg", "to-folder.svg",
                           "loop-a.svg", "loop-b.svg"}) {
    EXPECT_TRUE(fs::is_symlink(dir_ / link)) << link;
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
  EXPECT_EQ(Entries(), 10u);  // the file, the two folders and the seven links: no temporary
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "sub"), {}), 2);
}

TEST_F(AtomicWrite, AReplacedFileKeepsItsModeOwnerAndGroup) {
  const fs::path target = dir_ / "shared.png";
  std::ofstream(target) << "old";
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  // Only a privileged process may give a file to another user.
  const bool privileged = ::geteuid() == 0;
  if (privileged) {
    ASSERT_EQ(::chown(target.c_str(), 12345, 23456), 0);
  }
  fs::create_symlink("shared.png", dir_ / "link.png");
  ASSERT_TRUE(WriteFileAtomically((dir_ / "link.png").string(), std::string_view("new")));
  struct stat after {};
  ASSERT_EQ(::stat(target.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  if (privileged) {
    EXPECT_EQ(after.st_uid, 12345u);
    EXPECT_EQ(after.st_gid, 23456u);
  }
}

TEST_F(AtomicWrite, ReadOnlyFileKeepsEverything) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
  std::ofstream(dir_ / "locked.svg") << "original";
  fs::permissions(dir_ / "locked.svg", fs::perms::owner_read);
  errno = 0;
  EXPECT_FALSE(WriteFileAtomically((dir_ / "locked.svg").string(), std::string_view("new")));
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(qrsmith::testing::FileText(dir_ / "locked.svg"), "original");
  EXPECT_EQ(Entries(), 1u);
}

// One commit puts every staged file in place, new or replacing, through links
// and with two rows naming one file (the later wins); a slot whose file
// cannot be staged fails alone, and nothing temporary is left.
TEST_F(AtomicWrite, ABatchPutsEveryStagedFileInPlaceAtOnce) {
  std::ofstream(dir_ / "old.png") << "old";
  fs::create_symlink("old.png", dir_ / "link.png");
  fs::create_directories(dir_ / "folder");
  const std::string bytes[] = {"a", "b", "c", "d", "e", "f"};
  const fs::path paths[] = {dir_ / "new.png",   dir_ / "link.png", dir_ / "twice.png",
                            dir_ / "twice.png", dir_ / "folder",   dir_ / "folder" / "in.png"};
  auto span = [](const std::string& text) {
    return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  };
  FileBatch batch(6);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(batch.Stage(i, paths[i].string(), span(bytes[i])), i != 4) << paths[i];
  }
  EXPECT_EQ(Entries(), 3u);  // nothing visible before the commit
  EXPECT_EQ(qrsmith::testing::FileText(dir_ / "old.png"), "old");
  EXPECT_EQ(batch.Commit(), std::vector<int>(6, 0));
  EXPECT_EQ(qrsmith::testing::FileText(dir_ / "new.png"), "a");
  EXPECT_EQ(qrsmith::testing::FileText(dir_ / "old.png"), "b");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.png"));
  EXPECT_EQ(qrsmith::testing::FileText(dir_ / "twice.png"), "d");
  EXPECT_EQ(qrsmith::testing::FileText(dir_ / "folder" / "in.png"), "f");
  EXPECT_EQ(Entries(), 5u);
  // What is staged and never committed leaves no trace.
  {
    FileBatch dropped(1);
    ASSERT_TRUE(dropped.Stage(0, (dir_ / "never.png").string(), span(bytes[0])));
  }
  EXPECT_EQ(Entries(), 5u);
}

}  // namespace
}  // namespace qrsmith::platform
