// The preview operations of QrGenerator: attaching a window stores the 19
// preview values on it and hands its painting to a procedure that reads them
// back and paints with PaintPreview; detaching undoes both.

#include <algorithm>
#include <string_view>

#include "generator/imaging.h"
#include "generator/preview_painter.h"
#include "generator/qr_generator.h"

namespace qrsmith {

namespace {

using platform::PreviewWindow;

std::string_view Name(PreviewProperty p) { return kPreviewPropertyNames[p]; }

std::int32_t Read(const PreviewWindow& window, PreviewProperty p) {
  return window.Property(Name(p)).value_or(0);  // an absent property reads as 0
}

// The 32-bit slot of a picture says whether one is attached; the picture
// itself travels beside it as a shared object.
std::int32_t Presence(const auto& object) { return object ? 1 : 0; }

// The paint procedure: everything it needs lives on the window. With no
// symbol attached it leaves the painting to the window (nullopt).
std::optional<platform::Bitmap> PaintAttachedWindow(const PreviewWindow& window) {
  if (Read(window, kSymbolProperty) == 0) return std::nullopt;
  PreviewValues v;
  v.symbol = window.SharedBitmap(Name(kSymbolProperty));
  v.symbolWidth = Read(window, kSymbolWidthProperty);
  v.symbolHeight = Read(window, kSymbolHeightProperty);
  v.mode = Read(window, kModeProperty);
  if (Read(window, kIconProperty) != 0) v.icon = window.SharedBitmap(Name(kIconProperty));
  v.iconWidth = Read(window, kIconWidthProperty);
  v.iconHeight = Read(window, kIconHeightProperty);
  v.noiseColour = static_cast<Colour>(Read(window, kNoiseColourProperty));
  v.fill = static_cast<Colour>(Read(window, kFillProperty));
  v.squareSize = Read(window, kSquareSizeProperty);
  if (Read(window, kPictureProperty) != 0) {
    v.picture = window.SharedBitmap(Name(kPictureProperty));
  }
  v.pictureWidth = Read(window, kPictureWidthProperty);
  v.pictureHeight = Read(window, kPictureHeightProperty);
  v.offsetX = Read(window, kOffsetXProperty);
  v.offsetY = Read(window, kOffsetYProperty);
  if (Read(window, kNoiseBitsProperty) != 0) {
    v.noiseBits = window.SharedBytes(Name(kNoiseBitsProperty));
  }
  v.noiseLength = Read(window, kNoiseLengthProperty);
  v.noiseOn = Read(window, kNoiseOnProperty) != 0;
  const platform::ClientSize size = window.Size();
  return PaintPreview(v, size.width, size.height, window.BackgroundPixel());
}

}  // namespace

bool QrGenerator::AttachPreview(PreviewWindow& window, std::int32_t mode,
                                std::optional<Colour> fill, std::int32_t squareSize,
                                const Bytes& picture, std::optional<std::int32_t> pictureWidth,
                                std::optional<std::int32_t> pictureHeight, std::int32_t offsetX,
                                std::int32_t offsetY, bool noise) {
  if (!window.IsAlive() || mode < kPreviewFit || mode > kPreviewLastMode) return false;
  DetachPreview(window);

  const auto set = [&window](PreviewProperty p, std::int32_t value) {
    window.SetProperty(Name(p), value);
  };
  set(kPaintHandlerProperty, window.InstallPaintHandler(PaintAttachedWindow));
  set(kSymbolProperty, Presence(symbolBitmap_));
  window.ShareBitmap(Name(kSymbolProperty), symbolBitmap_);
  set(kSymbolWidthProperty, SymbolWidth());
  set(kSymbolHeightProperty, SymbolHeight());
  set(kModeProperty, mode);
  set(kIconProperty, Presence(iconBitmap_));
  window.ShareBitmap(Name(kIconProperty), iconBitmap_);
  set(kIconWidthProperty, iconBitmap_ ? iconBitmap_->Width() : 0);
  set(kIconHeightProperty, iconBitmap_ ? iconBitmap_->Height() : 0);
  set(kNoiseColourProperty, static_cast<std::int32_t>(background_));
  set(kFillProperty, static_cast<std::int32_t>(fill.value_or(kWhite)));
  set(kSquareSizeProperty, squareSize);

  // The background picture, at the size asked for (a left-out side keeps the
  // picture's own). One that cannot be read leaves the preview without it.
  Bytes image;
  if (!picture.empty() && ConvertImage(picture, kConvertToBmp, image)) {
    auto bitmap = LoadImageBitmap(image, pictureWidth, pictureHeight);
    if (bitmap) {
      pictureBitmap_ = std::make_shared<const platform::Bitmap>(std::move(*bitmap));
      set(kPictureProperty, 1);
      window.ShareBitmap(Name(kPictureProperty), pictureBitmap_);
      set(kPictureWidthProperty, pictureBitmap_->Width());
      set(kPictureHeightProperty, pictureBitmap_->Height());
      set(kOffsetXProperty, offsetX);
      set(kOffsetYProperty, offsetY);
      // The window keeps its own copy of the noise pool: a later Generate
      // replaces the generator's while the window may still show this symbol.
      const std::span<const std::uint8_t> pool = NoiseBits();
      set(kNoiseBitsProperty, Presence(!pool.empty()));
      window.ShareBytes(Name(kNoiseBitsProperty),
                        std::make_shared<const Bytes>(pool.begin(), pool.end()));
      set(kNoiseLengthProperty, static_cast<std::int32_t>(pool.size()));
      set(kNoiseOnProperty, noise ? 1 : 0);
    }
  }

  previewWindows_.push_back(window.Handle());
  window.Invalidate();
  return true;
}

bool QrGenerator::DetachPreview(PreviewWindow& window) {
  if (!window.IsAlive()) return false;
  if (const auto handler = window.Property(Name(kPaintHandlerProperty))) {
    window.RestorePaintHandler(*handler);
  }
  window.Invalidate();
  const auto at = std::find(previewWindows_.begin(), previewWindows_.end(), window.Handle());
  if (at == previewWindows_.end()) return true;
  for (const std::string_view name : kPreviewPropertyNames) window.RemoveProperty(name);
  previewWindows_.erase(at);
  return true;
}

bool QrGenerator::IsPreviewAttached(const PreviewWindow& window) const {
  return std::find(previewWindows_.begin(), previewWindows_.end(), window.Handle()) !=
         previewWindows_.end();
}

}  // namespace qrsmith
