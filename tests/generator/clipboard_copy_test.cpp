#include <gtest/gtest.h>

#include "generator/imaging.h"
#include "generator/qr_generator.h"
#include "generator/raster_rendering.h"
#include "platform/clipboard.h"

namespace qrsmith {
namespace {

using platform::Bitmap;

// Stands in for the system clipboard: keeps what it was given.
class RecordingClipboard : public platform::Clipboard {
 public:
  bool PutBitmap(const Bitmap& bitmap) override {
    held = bitmap;
    return true;
  }
  std::optional<Bitmap> held;
};

class ClipboardCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::InstallClipboard(clipboard_);
    ASSERT_TRUE(generator_.Generate("CLIPBOARD", false, 1, 2, -1, kBlack));
  }
  void TearDown() override { platform::InstallClipboard(previous_); }

  std::shared_ptr<RecordingClipboard> clipboard_ = std::make_shared<RecordingClipboard>();
  std::shared_ptr<platform::Clipboard> previous_;
  QrGenerator generator_;
};

TEST_F(ClipboardCopy, WithoutSizeTheSymbolPictureItselfAndTheGeneratorKeepsIt) {
  ASSERT_TRUE(generator_.CopyToClipboard());
  ASSERT_TRUE(clipboard_->held.has_value());
  EXPECT_EQ(*clipboard_->held, *generator_.SymbolBitmap());
  // A later Generate leaves the clipboard's copy as it was.
  const Bitmap copied = *clipboard_->held;
  ASSERT_TRUE(generator_.Generate("OTHER", false, 2, 2, -1, kBlack));
  EXPECT_EQ(*clipboard_->held, copied);
}

TEST_F(ClipboardCopy, EnlargedWithTheIconUnscaledAtTheCentre) {
  Bytes icon;
  ASSERT_TRUE(ConvertImage(BitmapToImage(*Bitmap::Create(32, 32, 0x00FF00)), 5, icon));
  ASSERT_TRUE(generator_.Generate("CLIPBOARD", false, 1, 2, -1, kBlack, std::nullopt, icon));
  ASSERT_TRUE(generator_.CopyToClipboard(230));
  ASSERT_EQ(clipboard_->held->Width(), 230);
  EXPECT_EQ(clipboard_->held->Pixel(99, 99), 0x00FF00u);
  EXPECT_EQ(clipboard_->held->Pixel(130, 130), 0x00FF00u);
  EXPECT_NE(clipboard_->held->Pixel(131, 131), 0x00FF00u);
}

TEST_F(ClipboardCopy, RefusesWithoutSymbolClipboardOrValidSize) {
  EXPECT_FALSE(generator_.CopyToClipboard(0));
  EXPECT_FALSE(generator_.CopyToClipboard(16385));
  EXPECT_FALSE(generator_.CopyToClipboard(230, Bytes{1, 2, 3}, 40, 40));
  EXPECT_FALSE(QrGenerator().CopyToClipboard());
  EXPECT_FALSE(clipboard_->held.has_value());
  platform::InstallClipboard(nullptr);
  EXPECT_FALSE(generator_.CopyToClipboard());
}

}  // namespace
}  // namespace qrsmith
