#pragma once
// The raster files of the generator's current symbol at any size: the symbol
// enlarged to width x height pixels, laid on a background picture when one is
// given, the centre icon drawn over it, encoded as BMP, JPEG, GIF, TIFF or
// PNG. QrGenerator's SaveImage and ExportImage (square sizes) and the table
// of output forms (any size) both draw through here.

#include <cstdint>
#include <optional>

#include <qrsmith/generator/print_settings.h>
#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/opacity.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

class QrGenerator;

// The raster export kinds: 0 BMP, 1 JPEG, 2 GIF, 3 TIFF, 4 PNG.
enum RasterKind : std::int16_t {
  kRasterBmp = 0,
  kRasterJpeg = 1,
  kRasterGif = 2,
  kRasterTiff = 3,
  kRasterPng = 4,
};

struct RasterLayout {
  // The symbol enlarged to width x height pixels (1 to 16384 each); 0 x 0
  // gives the one-pixel-per-module picture as it is, with neither icon nor
  // background picture.
  std::int32_t width = 0;
  std::int32_t height = 0;
  // A background picture's file bytes (null or empty: none), stretched to
  // pictureWidth x pictureHeight, with the symbol moved by (dx, dy) from its
  // centre and, with `noise`, noise cells scattered around it.
  const Bytes* picture = nullptr;
  std::int32_t pictureWidth = 0;
  std::int32_t pictureHeight = 0;
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  bool noise = false;

  bool HasPicture() const { return picture != nullptr && !picture->empty(); }
};

// The layout of QrGenerator's square raster operations: the symbol enlarged
// to size x size, or left at one pixel per module without `size`; nullopt
// when `size` is outside 1..16384.
std::optional<RasterLayout> SquareRasterLayout(std::optional<std::int32_t> size,
                                               const Bytes& picture, std::int32_t pictureWidth,
                                               std::int32_t pictureHeight, std::int32_t dx,
                                               std::int32_t dy, bool noise);

// The picture; nullopt without a symbol, for a size out of range, or when the
// background picture cannot be read. A colour that is not opaque makes its
// modules' pixels transparent (Bitmap's top byte; the icon stays opaque);
// nullopt for that on a background picture, which fills the background itself.
std::optional<platform::Bitmap> ComposeRaster(const QrGenerator& generator,
                                              const RasterLayout& layout,
                                              const Opacity& opacity = {});

// The file bytes of `kind` (BMP with the standard 40-byte header). A plain
// enlarged PNG is written row by row, never holding the enlarged picture.
// `print` adds the resolution RasterDpi (PNG, JPEG, TIFF, BMP) and CMYK
// samples (TIFF); its module size is the caller's to turn into `layout`.
// Empty on any failure, for a request the kind cannot carry (a resolution in
// GIF, CMYK other than in TIFF), and for an opacity the kind cannot hold (PNG
// and TIFF hold any alpha, GIF clear or opaque colours, BMP and JPEG opaque
// ones).
Bytes EncodeRasterFile(const QrGenerator& generator, std::int16_t kind, const RasterLayout& layout,
                       const PrintSettings& print = {}, const Opacity& opacity = {});

// The file bytes of `kind` for a picture already composed (ComposeRaster and
// whatever a caller paints over it), with `print`'s resolution and inks as
// EncodeRasterFile writes them; empty when the kind cannot carry them.
Bytes EncodeRasterPicture(const platform::Bitmap& picture, std::int16_t kind,
                          const PrintSettings& print = {});

}  // namespace qrsmith
