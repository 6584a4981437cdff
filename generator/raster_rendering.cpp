#include "generator/raster_rendering.h"

#include <algorithm>
#include <cmath>

#include "generator/detail/raster_image_steps.h"
#include "generator/imaging.h"
#include "generator/noise_bits.h"
#include "platform/codecs/bmp.h"

namespace qrsmith {

namespace {

namespace codecs = platform::codecs;

// Comparisons of pixel positions computed in floating point allow this much slack.
constexpr double kTolerance = 1e-7;

constexpr auto Trunc = platform::TruncatePosition;

// Scatters noise cells of the symbol's background colour over the picture
// around the symbol and over its outermost ring of cells (its first and last
// rows and columns, where the light margin lies); the grid has the size of one scaled module and
// runs through the symbol's corner (x0, y0), which may lie far outside the picture and is therefore
// taken exactly, as a whole number in floating point.
void PaintComposeNoise(platform::Bitmap& result, double x0, double y0, int symbolWidth,
                       int symbolHeight, std::uint32_t pixel,
                       std::span<const std::uint8_t> noiseBits, std::int32_t gridWidth,
                       std::int32_t gridHeight) {
  if (gridWidth < 1 || gridHeight < 1) return;
  const double pw = result.Width();
  const double ph = result.Height();
  double cw = static_cast<double>(symbolWidth) / gridWidth;
  double ch = static_cast<double>(symbolHeight) / gridHeight;
  if (cw < 1 - kTolerance) cw = 1;
  if (ch < 1 - kTolerance) ch = 1;
  const std::int64_t firstColumn = Trunc(x0 + std::floor(-x0 / cw) * cw);
  const std::int64_t firstRow = Trunc(y0 + std::floor(-y0 / ch) * ch);
  NoiseBitReader bits(noiseBits);
  std::int64_t x = firstColumn;
  std::int64_t y = firstRow;
  do {
    const bool insideX = x - x0 > kTolerance && (x0 + symbolWidth - 1.5 * cw) - x > kTolerance;
    const bool insideY = y - y0 > kTolerance && (y0 + symbolHeight - ch) - y > kTolerance;
    if (!(insideX && insideY) && bits.Next()) {
      result.FillRect(x, y, Trunc(x + cw), Trunc(y + ch), pixel);
    }
    x = Trunc(x + cw);
    if (x > pw) {
      x = firstColumn;
      y = Trunc(y + ch);
    }
  } while (y <= ph);
}

std::optional<platform::Bitmap> Load(std::span<const std::uint8_t> image) {
  return LoadImageBitmap(image);
}

}  // namespace

void OverlayIconOnto(platform::Bitmap& image, const platform::Bitmap& icon, std::int32_t dx,
                     std::int32_t dy) {
  image.CopyFrom(icon, Trunc((image.Width() - icon.Width()) / 2.0 + dx),
                 Trunc((image.Height() - icon.Height()) / 2.0 + dy));
}

platform::Bitmap ComposeOnPictureBitmap(platform::Bitmap picture, const platform::Bitmap& symbol,
                                        Colour colour, std::int32_t dx, std::int32_t dy, bool noise,
                                        std::span<const std::uint8_t> noiseBits,
                                        std::int32_t gridWidth, std::int32_t gridHeight) {
  return ComposeEnlargedOnPictureBitmap(std::move(picture), symbol, symbol.Width(), symbol.Height(),
                                        colour, dx, dy, noise, noiseBits, gridWidth, gridHeight);
}

platform::Bitmap ComposeEnlargedOnPictureBitmap(platform::Bitmap picture,
                                                const platform::Bitmap& symbol, int width,
                                                int height, Colour colour, std::int32_t dx,
                                                std::int32_t dy, bool noise,
                                                std::span<const std::uint8_t> noiseBits,
                                                std::int32_t gridWidth, std::int32_t gridHeight) {
  platform::Bitmap result = std::move(picture);
  if (symbol.Empty() || width < 1 || height < 1) return result;
  // The -1 sets the symbol one pixel left of and above the exact centre.
  const double x0 = std::trunc((result.Width() - width) / 2.0 - 1 + dx);
  const double y0 = std::trunc((result.Height() - height) / 2.0 - 1 + dy);
  // OR-combined where it overlaps the picture, each pixel taken from the
  // source as Stretch takes it (platform::NearestSource on both axes).
  const auto left = static_cast<std::int64_t>(x0), top = static_cast<std::int64_t>(y0);
  const std::int64_t xBegin = std::max<std::int64_t>(0, left);
  const std::int64_t xEnd = std::min<std::int64_t>(result.Width(), left + width);
  const std::int64_t yBegin = std::max<std::int64_t>(0, top);
  const std::int64_t yEnd = std::min<std::int64_t>(result.Height(), top + height);
  for (std::int64_t y = yBegin; y < yEnd; ++y) {
    const std::uint32_t* in = symbol.Row(platform::NearestSource(y - top, height, symbol.Height()));
    std::uint32_t* out = result.Row(static_cast<int>(y));
    for (std::int64_t x = xBegin; x < xEnd; ++x)
      out[x] |= in[platform::NearestSource(x - left, width, symbol.Width())];
  }
  if (noise) {
    PaintComposeNoise(result, x0, y0, width, height, platform::PixelFromColour(colour), noiseBits,
                      gridWidth, gridHeight);
  }
  return result;
}

Bytes BitmapToImage(const platform::Bitmap& bitmap) {
  Bytes out;
  BitmapToImageInto(bitmap, out);
  return out;
}

void BitmapToImageInto(const platform::Bitmap& bitmap, Bytes& out) {
  // 32 bits per pixel (rows need no padding), no resolution.
  codecs::EncodeBmpInto(bitmap, {32, kSymbolImageInfoHeaderSize, 0}, out);
}

Bytes ScaleImage(std::span<const std::uint8_t> image, std::int32_t width, std::int32_t height) {
  const auto source = Load(image);
  if (!source) return {};
  const auto scaled = source->Stretch(width, height);
  return scaled ? BitmapToImage(*scaled) : Bytes{};
}

Bytes OverlayIcon(std::span<const std::uint8_t> image, std::span<const std::uint8_t> icon,
                  std::int32_t dx, std::int32_t dy) {
  auto target = Load(image);
  const auto iconBitmap = Load(icon);
  if (!target || !iconBitmap) return {};
  OverlayIconOnto(*target, *iconBitmap, dx, dy);
  return BitmapToImage(*target);
}

Bytes ComposeOnPicture(std::span<const std::uint8_t> picture, std::span<const std::uint8_t> symbol,
                       Colour colour, std::int32_t dx, std::int32_t dy, bool noise,
                       std::span<const std::uint8_t> noiseBits, std::int32_t gridWidth,
                       std::int32_t gridHeight) {
  const auto pictureBitmap = Load(picture);
  const auto symbolBitmap = Load(symbol);
  if (!pictureBitmap || !symbolBitmap) return {};
  return BitmapToImage(ComposeOnPictureBitmap(*pictureBitmap, *symbolBitmap, colour, dx, dy, noise,
                                              noiseBits, gridWidth, gridHeight));
}

}  // namespace qrsmith
