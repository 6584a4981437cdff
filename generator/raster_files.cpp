// The raster exports of the generator object: the current symbol, enlarged,
// on a background picture and with the centre icon as asked, encoded as BMP,
// JPEG, GIF, TIFF or PNG and written to a file or handed out as bytes.

#include "generator/raster_files.h"

#include "generator/imaging.h"
#include "generator/qr_generator.h"
#include "generator/raster_rendering.h"
#include "platform/codecs/bmp.h"
#include "platform/codecs/gif.h"
#include "platform/codecs/jpeg.h"
#include "platform/codecs/png.h"
#include "platform/codecs/resolution.h"
#include "platform/codecs/tiff.h"
#include "platform/file.h"

namespace qrsmith {

namespace {

bool SideInRange(std::int32_t side) { return side >= 1 && side <= platform::kMaxBitmapSide; }

bool KindInRange(std::int16_t kind) { return kind >= kRasterBmp && kind <= kRasterPng; }

Bytes EncodeAs(const platform::Bitmap& image, std::int16_t kind, const PrintSettings& print) {
  namespace codecs = platform::codecs;
  if (kind == kRasterTiff) return codecs::EncodeTiff(image, {print.RasterDpi(), print.cmyk});
  switch (kind) {
    case kRasterBmp:
      return codecs::EncodeBmp(image);
    case kRasterJpeg:
      return codecs::EncodeJpeg(image);
    case kRasterGif:
      return codecs::EncodeGif(image);
    case kRasterPng:
      return codecs::EncodePng(image);
    default:
      return {};
  }
}

// The resolution field of the formats whose encoders write none of their own.
Bytes WithResolution(Bytes file, std::int16_t kind, std::optional<std::int32_t> dpi) {
  namespace codecs = platform::codecs;
  if (!dpi || kind == kRasterTiff || file.empty()) return file;
  const codecs::ImageFormat format = kind == kRasterPng    ? codecs::ImageFormat::kPng
                                     : kind == kRasterJpeg ? codecs::ImageFormat::kJpeg
                                                           : codecs::ImageFormat::kBmp;
  return codecs::SetResolution(file, format, *dpi) ? file : Bytes{};
}

bool Enlarged(const RasterLayout& layout) { return layout.width != 0 || layout.height != 0; }

// The one-pixel-per-module symbol with each module's alpha in its pixel: by
// the module grid, not by colour, since the two colours may be equal (black
// modules on a clear black background).
platform::Bitmap SymbolWithOpacity(const QrGenerator& generator, const Opacity& opacity) {
  platform::Bitmap symbol = *generator.SymbolBitmap();
  for (int y = 0; y < symbol.Height(); ++y) {
    std::uint32_t* row = symbol.Row(y);
    for (int x = 0; x < symbol.Width(); ++x) {
      const bool dark = generator.IsDark(y + 1, x + 1);
      row[x] = platform::PixelWithAlpha(row[x], dark ? opacity.foreground : opacity.background);
    }
  }
  return symbol;
}

}  // namespace

std::optional<RasterLayout> SquareRasterLayout(std::optional<std::int32_t> size,
                                               const Bytes& picture, std::int32_t pictureWidth,
                                               std::int32_t pictureHeight, std::int32_t dx,
                                               std::int32_t dy, bool noise) {
  if (size && !SideInRange(*size)) return std::nullopt;
  return RasterLayout{
      size.value_or(0), size.value_or(0), &picture, pictureWidth, pictureHeight, dx, dy, noise};
}

std::optional<platform::Bitmap> ComposeRaster(const QrGenerator& generator,
                                              const RasterLayout& layout, const Opacity& opacity) {
  if (!generator.HasSymbol()) return std::nullopt;
  const bool onPicture = layout.HasPicture();
  if (onPicture && !opacity.IsOpaque()) return std::nullopt;
  // The generator's own symbol is used as it is when nothing is transparent.
  std::optional<platform::Bitmap> transparent;
  if (!opacity.IsOpaque()) transparent = SymbolWithOpacity(generator, opacity);
  const platform::Bitmap& symbol = transparent ? *transparent : *generator.SymbolBitmap();
  if (!Enlarged(layout)) return symbol;  // one pixel per module: no icon, no picture
  if (!SideInRange(layout.width) || !SideInRange(layout.height)) return std::nullopt;
  if (onPicture && !(SideInRange(layout.pictureWidth) && SideInRange(layout.pictureHeight))) {
    return std::nullopt;
  }
  std::optional<platform::Bitmap> image;
  if (!onPicture) {
    image = symbol.Stretch(layout.width, layout.height);
  } else {
    // A picture that cannot be read is an error, not a silently missing background.
    auto background = LoadImageBitmap(*layout.picture, layout.pictureWidth, layout.pictureHeight);
    if (!background) return std::nullopt;
    // Enlarged as it is drawn into the picture: at 16384 x 16384 the picture
    // and an enlarged symbol beside it would take 2 GiB.
    image = ComposeEnlargedOnPictureBitmap(std::move(*background), symbol, layout.width,
                                           layout.height, generator.BackgroundColour(), layout.dx,
                                           layout.dy, layout.noise, generator.NoiseBits(),
                                           generator.SymbolWidth(), generator.SymbolHeight());
  }
  if (!image) return std::nullopt;
  if (const auto icon = generator.IconBitmap()) {
    // On a picture the icon follows the symbol's offset; alone it sits at the centre.
    OverlayIconOnto(*image, *icon, onPicture ? layout.dx : 0, onPicture ? layout.dy : 0);
  }
  return image;
}

Bytes EncodeRasterFile(const QrGenerator& generator, std::int16_t kind, const RasterLayout& layout,
                       const PrintSettings& print, const Opacity& opacity) {
  if (!KindInRange(kind) || !generator.HasSymbol()) return {};
  if ((print.cmyk && kind != kRasterTiff) || (print.RasterDpi() && kind == kRasterGif)) return {};
  if (kind == kRasterPng && Enlarged(layout) && !layout.HasPicture() && !generator.IconBitmap()) {
    const auto png = opacity.IsOpaque()
                         ? platform::codecs::EncodePngEnlarged(*generator.SymbolBitmap(),
                                                               layout.width, layout.height)
                         : platform::codecs::EncodePngEnlarged(
                               SymbolWithOpacity(generator, opacity), layout.width, layout.height);
    return WithResolution(png, kind, print.RasterDpi());
  }
  const auto image = ComposeRaster(generator, layout, opacity);
  return image ? EncodeRasterPicture(*image, kind, print) : Bytes{};
}

Bytes EncodeRasterPicture(const platform::Bitmap& picture, std::int16_t kind,
                          const PrintSettings& print) {
  if (!KindInRange(kind)) return {};
  if ((print.cmyk && kind != kRasterTiff) || (print.RasterDpi() && kind == kRasterGif)) return {};
  return WithResolution(EncodeAs(picture, kind, print), kind, print.RasterDpi());
}

bool QrGenerator::SaveImage(const std::string& path, std::optional<std::int32_t> size,
                            std::int16_t kind, const Bytes& picture, std::int32_t pictureWidth,
                            std::int32_t pictureHeight, std::int32_t dx, std::int32_t dy,
                            bool noise) const {
  const auto layout = SquareRasterLayout(size, picture, pictureWidth, pictureHeight, dx, dy, noise);
  const Bytes encoded = layout ? EncodeRasterFile(*this, kind, *layout) : Bytes{};
  // Never write an empty or unconverted file.
  return !encoded.empty() && platform::WriteFileAtomically(path, encoded);
}

Bytes QrGenerator::ExportImage(std::optional<std::int32_t> size, std::int16_t kind,
                               const Bytes& picture, std::int32_t pictureWidth,
                               std::int32_t pictureHeight, std::int32_t dx, std::int32_t dy,
                               bool noise) const {
  // A size of 0 or below asks for no enlargement: the one-pixel-per-module
  // picture, as when the size is left out.
  if (size && *size <= 0) size.reset();
  const auto layout = SquareRasterLayout(size, picture, pictureWidth, pictureHeight, dx, dy, noise);
  if (!layout) return {};
  if (kind != kRasterBmp) return EncodeRasterFile(*this, kind, *layout);
  const auto image = ComposeRaster(*this, *layout);
  return image ? BitmapToImage(*image) : Bytes{};  // the symbol image form
}

}  // namespace qrsmith
