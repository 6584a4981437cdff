// SaveVector writes the exported bytes or leaves the target as it was; the
// exports refuse when there is nothing sound to write.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "export/html.h"
#include "export/text_art.h"
#include "export/vector_export.h"
#include "tests/export/export_test_support.h"
#include "tests/support/file_size_limit.h"

namespace qrsmith {
namespace {

namespace fs = std::filesystem;

constexpr VectorKind kAllKinds[] = {VectorKind::kPostScript, VectorKind::kEps, VectorKind::kSvg,
                                    VectorKind::kWmf, VectorKind::kEmf};

class SaveVectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    generator_ = testing::MakeSymbol("save me");
    ASSERT_TRUE(generator_.HasSymbol());
    target_ = folder_ / "symbol.out";
    testing::WriteBytes(target_, Bytes{'o', 'l', 'd'});
  }
  // The failed save left the old file alone and nothing else behind.
  void ExpectUntouched() const {
    EXPECT_EQ(testing::FileText(target_), "old");
    EXPECT_EQ(folder_.Entries(), 1u);
  }
  testing::ScratchFolder folder_;
  QrGenerator generator_;
  fs::path target_;
};

TEST_F(SaveVectorTest, WritesWhatExportVectorReturns) {
  for (const VectorKind kind : {VectorKind::kEps, VectorKind::kSvg, VectorKind::kWmf}) {
    ASSERT_TRUE(SaveVector(generator_, target_.string(), kind, 200, 100));
    const Bytes expected = ExportVector(generator_, kind, 200, 100);
    EXPECT_EQ(testing::FileText(target_), std::string(expected.begin(), expected.end()));
  }
  // The identifiers change between calls; the sizes do not.
  for (const VectorKind kind : {VectorKind::kPostScript, VectorKind::kEmf}) {
    ASSERT_TRUE(SaveVector(generator_, target_.string(), kind));
    EXPECT_EQ(fs::file_size(target_), ExportVector(generator_, kind).size());
  }
  EXPECT_EQ(folder_.Entries(), 1u);
}

TEST_F(SaveVectorTest, RefusalsWriteNothing) {
  const QrGenerator none;
  EXPECT_FALSE(SaveVector(none, target_.string(), VectorKind::kSvg));
  EXPECT_FALSE(SaveVector(generator_, target_.string(), static_cast<VectorKind>(5)));
  EXPECT_FALSE(SaveVector(none, (folder_ / "new.svg").string(), VectorKind::kSvg));
  ExpectUntouched();
}

TEST_F(SaveVectorTest, BadTargetsFailWithoutLeavingAnything) {
  fs::create_directory(folder_ / "folder");
  EXPECT_FALSE(SaveVector(generator_, "", VectorKind::kSvg));
  EXPECT_FALSE(SaveVector(generator_, (folder_ / "missing" / "x.svg").string(), VectorKind::kSvg));
  EXPECT_FALSE(SaveVector(generator_, (folder_ / "folder").string(), VectorKind::kSvg));
  EXPECT_TRUE(fs::is_empty(folder_ / "folder"));
  EXPECT_EQ(testing::FileText(target_), "old");
  EXPECT_EQ(folder_.Entries(), 2u);
}

// A file that is there is rewritten in place even in a read-only folder; a
// new one cannot be made there.
TEST_F(SaveVectorTest, ReadOnlyFolderTakesNoNewFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(SaveVector(generator_, (folder_ / "new.svg").string(), VectorKind::kSvg));
  fs::permissions(folder_.Path(), fs::perms::owner_all);
  ExpectUntouched();
}

TEST_F(SaveVectorTest, FullDiskKeepsTheExistingFile) {
  // A file-size limit stands in for a full disk: the EMF (tens of kilobytes)
  // stops part way through.
  bool saved = true;
  {
    const testing::FileSizeLimit limit(4096);
    ASSERT_TRUE(limit.Active());
    saved = SaveVector(generator_, target_.string(), VectorKind::kEmf);
  }
  EXPECT_FALSE(saved);
  ExpectUntouched();
}

TEST(ExportRefusal, WithoutASymbolEveryFormIsEmpty) {
  const QrGenerator none;
  for (const VectorKind kind : kAllKinds) EXPECT_TRUE(ExportVector(none, kind).empty());
  EXPECT_EQ(ExportTextArt(none, true), "");

  QrGenerator failed = testing::MakeSymbol("x");
  ASSERT_FALSE(failed.Generate(std::string(3000, 'x'), false, 1, 2, -1, kBlack));  // too long
  EXPECT_TRUE(ExportVector(failed, VectorKind::kSvg).empty());
  EXPECT_EQ(ExportTextArt(failed, false), "");
}

TEST(ExportRefusal, KindsOutsideTheFiveAreRefused) {
  const QrGenerator generator = testing::MakeSymbol("x");
  for (const int kind : {-1, 5, 0x7FFF, -0x8000}) {
    EXPECT_TRUE(ExportVector(generator, static_cast<VectorKind>(kind)).empty()) << kind;
  }
}

TEST(ExportRefusal, GridsBeyondTheBoundAreRefusedBeforeAnythingIsBuilt) {
  // Margins of 1100 modules make a 2221 x 2221 grid: 4.9 million positions,
  // which as HTML alone would be over 700 MB.
  const QrGenerator huge = testing::MakeSymbol("x", 1, kBlack, kWhite, 1100);
  ASSERT_TRUE(huge.HasSymbol());
  ASSERT_GT(std::int64_t{huge.SymbolWidth()} * huge.SymbolHeight(), kMaxExportPositions);
  for (const VectorKind kind : kAllKinds) EXPECT_TRUE(ExportVector(huge, kind).empty());
  EXPECT_EQ(ExportTextArt(huge, true), "");
  EXPECT_EQ(ExportHtml(huge, 100, 100), "");
}

}  // namespace
}  // namespace qrsmith
