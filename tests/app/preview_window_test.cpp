// The preview attached to a real Qt widget: what the widget shows, and that
// detaching gives the widget back exactly as it was.

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <memory>

#include "generator/imaging.h"
#include "generator/preview_painter.h"
#include "generator/qr_generator.h"
#include "generator/raster_rendering.h"
#include "platform/qt/qt_image.h"
#include "platform/qt/qt_preview_window.h"

namespace qrsmith {
namespace {

using platform::QtPreviewWindow;

// Dark modules red, light ones blue: every pixel of the drawn square is one
// of the two, and everything else is the white fill.
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlue = 0xFF0000;
constexpr QRgb kRedPixel = 0xFFFF0000;
constexpr QRgb kBluePixel = 0xFF0000FF;
constexpr QRgb kGreenPixel = 0xFF00FF00;

struct Box {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.x << ", " << b.y << ", " << b.w << " x " << b.h << ")";
}

// The smallest box holding every pixel for which `match` is true.
template <typename Match>
Box BoundingBox(const QImage& image, Match match) {
  int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!match(image.pixel(x, y))) continue;
      x0 = std::min(x0, x);
      y0 = std::min(y0, y);
      x1 = std::max(x1, x);
      y1 = std::max(y1, y);
    }
  }
  return x1 < 0 ? Box{} : Box{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

Box SymbolBox(const QImage& image) {
  return BoundingBox(image, [](QRgb p) { return p == kRedPixel || p == kBluePixel; });
}

Bytes GreenIcon(int side) {
  Bytes png;
  EXPECT_TRUE(ConvertImage(BitmapToImage(*platform::Bitmap::Create(side, side, 0x00FF00)), 5, png));
  return png;
}

class PreviewOnWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    widget_ = std::make_unique<QWidget>();
    widget_->resize(300, 200);
    ASSERT_TRUE(
        generator_.Generate("qrsmith", false, 1, 1, -1, kRed, kBlue, std::nullopt, 1, 1, 1, 1));
    ASSERT_EQ(generator_.SymbolWidth(), 23);
  }
  QImage Shown() { return widget_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QrGenerator generator_;
  std::unique_ptr<QWidget> widget_;
};

struct ModeCase {
  const char* name;
  std::int32_t mode;
  std::int32_t d;
  Box square;
};

class PreviewModes : public PreviewOnWidget, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(PreviewModes, PaintsTheSquareWhereTheModeSays) {
  QtPreviewWindow window(widget_.get());
  ASSERT_TRUE(generator_.AttachPreview(window, GetParam().mode, std::nullopt, GetParam().d));
  const QImage shown = Shown();
  EXPECT_EQ(SymbolBox(shown), GetParam().square);
  // Outside the square: the white fill.
  EXPECT_EQ(BoundingBox(
                shown, [](QRgb p) { return p != kRedPixel && p != kBluePixel && p != 0xFFFFFFFF; }),
            Box{});
}

INSTANTIATE_TEST_SUITE_P(Modes, PreviewModes,
                         ::testing::Values(ModeCase{"Centre", 2, 100, {100, 50, 100, 100}},
                                           ModeCase{"Fit", 0, 0, {50, 0, 200, 200}},
                                           ModeCase{"Stretch", 1, 0, {0, 0, 300, 200}},
                                           ModeCase{"BottomRight", 7, 0, {277, 177, 23, 23}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreviewOnWidget, DrawsTheIconUnscaledOnTheSquaresCentre) {
  ASSERT_TRUE(
      generator_.Generate("qrsmith", false, 1, 4, -1, kRed, kBlue, GreenIcon(32), 1, 1, 1, 1));
  QtPreviewWindow window(widget_.get());
  ASSERT_TRUE(generator_.AttachPreview(window, 2, std::nullopt, 100));
  EXPECT_EQ(BoundingBox(Shown(), [](QRgb p) { return p == kGreenPixel; }), (Box{134, 84, 32, 32}));
}

TEST_F(PreviewOnWidget, DetachGivesTheWidgetBackExactlyAsItWas) {
  widget_->setProperty("ownProperty", 7);
  const QImage before = Shown();
  const auto childrenBefore = widget_->children().size();
  QtPreviewWindow window(widget_.get());

  // Attaching twice leaves one attachment and one paint handler.
  ASSERT_TRUE(generator_.AttachPreview(window, 2, std::nullopt, 100));
  ASSERT_TRUE(generator_.AttachPreview(window, 2, std::nullopt, 100));
  EXPECT_TRUE(generator_.IsPreviewAttached(window));
  EXPECT_EQ(widget_->children().size(), childrenBefore + 1);
  EXPECT_EQ(widget_->dynamicPropertyNames().size(), 1 + 11);  // properties 1..11

  ASSERT_TRUE(generator_.DetachPreview(window));
  EXPECT_FALSE(generator_.IsPreviewAttached(window));
  EXPECT_EQ(widget_->dynamicPropertyNames(), QList<QByteArray>{"ownProperty"});
  EXPECT_EQ(widget_->children().size(), childrenBefore);
  EXPECT_EQ(Shown(), before);
  // A second detach, or one of a window never attached, only repaints.
  EXPECT_TRUE(generator_.DetachPreview(window));
}

TEST_F(PreviewOnWidget, RefusesBadModesAndGoneWindowsWithoutTouchingThem) {
  QtPreviewWindow window(widget_.get());
  for (const std::int32_t mode : {-1, 11}) {
    EXPECT_FALSE(generator_.AttachPreview(window, mode));
    EXPECT_TRUE(widget_->dynamicPropertyNames().isEmpty());
    EXPECT_FALSE(generator_.IsPreviewAttached(window));
  }
  ASSERT_TRUE(generator_.AttachPreview(window, 2, std::nullopt, 100));
  widget_.reset();
  EXPECT_FALSE(window.IsAlive());
  EXPECT_FALSE(generator_.DetachPreview(window));
  EXPECT_FALSE(generator_.AttachPreview(window, 2));
}

TEST_F(PreviewOnWidget, KeepsShowingItsOwnSymbolWhenTheGeneratorDropsIt) {
  QtPreviewWindow window(widget_.get());
  {
    QrGenerator generator;
    ASSERT_TRUE(generator.Generate("qrsmith", false, 1, 1, -1, kRed, kBlue));
    ASSERT_TRUE(generator.AttachPreview(window, 2, std::nullopt, 100));
    // A refused Generate releases the generator's symbol ...
    ASSERT_FALSE(generator.Generate(std::string(500, 'x'), false, 1, 1, -1, kRed, kBlue));
    EXPECT_EQ(SymbolBox(Shown()), (Box{100, 50, 100, 100}));
  }
  // ... and even a destroyed generator leaves the window a picture to show.
  EXPECT_EQ(SymbolBox(Shown()), (Box{100, 50, 100, 100}));
}

TEST_F(PreviewOnWidget, ShowsExactlyWhatThePainterPaints) {
  // Non-integral scaling (23 modules on 100 pixels) and a picture with noise.
  QtPreviewWindow window(widget_.get());
  const Bytes picture = GreenIcon(120);
  ASSERT_TRUE(generator_.AttachPreview(window, 2, kNoFill, 100, picture, std::nullopt, std::nullopt,
                                       3, -4, true));
  PreviewValues v;
  v.symbol = generator_.SymbolBitmap();
  v.symbolWidth = v.symbolHeight = 23;
  v.mode = 2;
  v.noiseColour = kBlue;
  v.fill = kNoFill;
  v.squareSize = 100;
  v.picture = std::make_shared<const platform::Bitmap>(*LoadImageBitmap(picture));
  v.pictureWidth = v.pictureHeight = 120;
  v.offsetX = 3;
  v.offsetY = -4;
  v.noiseBits =
      std::make_shared<const Bytes>(generator_.NoiseBits().begin(), generator_.NoiseBits().end());
  v.noiseLength = static_cast<std::int32_t>(v.noiseBits->size());
  v.noiseOn = true;
  const auto expected = PaintPreview(v, 300, 200, window.BackgroundPixel());
  ASSERT_TRUE(expected.has_value());
  EXPECT_EQ(Shown(), platform::ToQImage(*expected));
}

}  // namespace
}  // namespace qrsmith
