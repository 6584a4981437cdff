#pragma once
// The preview's painting: a pure function from the 19 values that an attached
// preview window carries and the window's client size to the picture of the
// whole client area. The window shows that picture in one step, so it never
// shows a half-drawn state. No window is needed to call it, which is how the
// tests check every display mode pixel by pixel.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// The fill value that means "do not fill": the window's own background stays.
inline constexpr Colour kNoFill = 0xFFFFFFFF;

// Display modes, 0..10: fit, stretch, or a d x d square (d: squareSize)
// anchored at one of nine places. The window's preview values carry them as
// numbers.
enum PreviewMode : std::int32_t {
  kPreviewFit,
  kPreviewStretch,
  kPreviewCentre,
  kPreviewTopLeft,
  kPreviewTopCentre,
  kPreviewTopRight,
  kPreviewMiddleRight,
  kPreviewBottomRight,
  kPreviewBottomCentre,
  kPreviewBottomLeft,
  kPreviewMiddleLeft,
  kPreviewLastMode = kPreviewMiddleLeft
};
static_assert(kPreviewMiddleLeft == 10);

// The names under which an attached window carries the 19 values, in the
// order of PreviewValues' members.
inline constexpr std::array<std::string_view, 19> kPreviewPropertyNames = {
    "PRKIXQOCCV4YSX3JPH7G", "PR1IC1QICCP6N9MN1LI6", "PR822EU1EP3D2E21AY4I", "PR91C26HCQ2GLE9EP63I",
    "PRQLH68PGXW2H901ZDAI", "PRF2GDSH3IU42DA3ZDF7", "PR3MSXTJZ77VN91VWC0H", "PRIDF4F0AUI3AYLIO1P4",
    "PR12Y20JIKVJ2T0XL3JZ", "PRQAGD6XR4AG28HCHMMO", "PRZ7Q6G14II72KVSOUJ2", "PR8T4FF3DGEGFF2NSN1M",
    "PREGIFYPYX03BMVIRRQZ", "PRCG3UX74XW55BZGKCGF", "PRD3GPFZGD12JEZU6482", "PRU3T2AG54CPD693YTR5",
    "PRZ7TU1QD9GXSOI4N6M0", "PRPVIVDWAKIQ5KYAUAJ8", "PRZXRJGEG2MWS7Z960DT",
};

// Indexes into kPreviewPropertyNames.
enum PreviewProperty : std::size_t {
  kPaintHandlerProperty,
  kSymbolProperty,
  kSymbolWidthProperty,
  kSymbolHeightProperty,
  kModeProperty,
  kIconProperty,
  kIconWidthProperty,
  kIconHeightProperty,
  kNoiseColourProperty,
  kFillProperty,
  kSquareSizeProperty,
  kPictureProperty,
  kPictureWidthProperty,
  kPictureHeightProperty,
  kOffsetXProperty,
  kOffsetYProperty,
  kNoiseBitsProperty,
  kNoiseLengthProperty,
  kNoiseOnProperty,
};

struct PreviewValues {
  using BitmapRef = std::shared_ptr<const platform::Bitmap>;

  BitmapRef symbol;              // one pixel per module; null: nothing to paint
  std::int32_t symbolWidth = 0;  // the module grid of the noise, margins included
  std::int32_t symbolHeight = 0;
  std::int32_t mode = kPreviewCentre;  // 0..10, see above
  BitmapRef icon;                      // null: no centre icon
  std::int32_t iconWidth = 0;
  std::int32_t iconHeight = 0;
  Colour noiseColour = kWhite;     // the symbol's background colour
  Colour fill = kWhite;            // the client area's colour, or kNoFill
  std::int32_t squareSize = 0;     // the drawn symbol's side; 0 takes the symbol width
  BitmapRef picture;               // the background picture at PW x PH; null: none
  std::int32_t pictureWidth = 0;   // PW
  std::int32_t pictureHeight = 0;  // PH
  std::int32_t offsetX = 0;        // the symbol's offset from the picture's centre
  std::int32_t offsetY = 0;
  std::shared_ptr<const Bytes> noiseBits;  // the noise pool
  std::int32_t noiseLength = 0;            // how many of its bytes the noise reads
  bool noiseOn = false;                    // scatter noise cells over the picture
};

// The client area of clientWidth x clientHeight as the preview shows it.
// Where nothing is drawn and fill is kNoFill, the picture holds
// `unfilledPixel` (0x00RRGGBB), the window's own background. nullopt when
// there is no symbol or the client area is empty.
std::optional<platform::Bitmap> PaintPreview(const PreviewValues& values, int clientWidth,
                                             int clientHeight,
                                             std::uint32_t unfilledPixel = 0xFFFFFF);

}  // namespace qrsmith
