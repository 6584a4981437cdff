#pragma once
// The raster pictures made from a symbol: its symbol image form (an in-memory
// BMP file with a 44-byte information header), and the enlarged, icon-bearing
// and picture-composed forms of the raster exports. The export pipelines work
// on platform::Bitmap values, chaining the steps without encoding anything
// between them, and encode the symbol image form once at the end. The same
// steps over symbol image forms, which the tests check pictures with, are in
// detail/raster_image_steps.h.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// Byte layout of the symbol image form.
inline constexpr std::size_t kSymbolImageFileHeaderSize = 14;
inline constexpr std::size_t kSymbolImageInfoHeaderSize = 44;  // 40 standard + 4 zero bytes
inline constexpr std::size_t kSymbolImagePixelOffset =
    kSymbolImageFileHeaderSize + kSymbolImageInfoHeaderSize;  // 58

// --- Bitmap level -----------------------------------------------------------

// `icon` copied opaque over `image` with its top-left corner at
// trunc((W - IW) / 2 + dx), trunc((H - IH) / 2 + dy); clipped at the edges.
void OverlayIconOnto(platform::Bitmap& image, const platform::Bitmap& icon, std::int32_t dx,
                     std::int32_t dy);

// `symbol` enlarged to width x height by nearest neighbour (as Bitmap::Stretch
// enlarges) and OR-combined onto a copy of `picture` at
// trunc((PW - width) / 2 - 1 + dx), trunc((PH - height) / 2 - 1 + dy), without
// ever holding the enlarged symbol: on a 16384 x 16384 picture that would be
// another 1 GiB. White symbol parts stay white, black ones let the picture
// show through. With `noise`, cells of one scaled module in the symbol's
// background `colour` are scattered over the picture around the symbol and
// over its outermost ring of cells, one noise bit per cell. gridWidth and
// gridHeight are the symbol's size in modules, margins included. `picture`
// is taken by value: a caller done with it moves it in, and the result needs
// no copy of it.
platform::Bitmap ComposeEnlargedOnPictureBitmap(platform::Bitmap picture,
                                                const platform::Bitmap& symbol, int width,
                                                int height, Colour colour, std::int32_t dx,
                                                std::int32_t dy, bool noise,
                                                std::span<const std::uint8_t> noiseBits,
                                                std::int32_t gridWidth, std::int32_t gridHeight);

// --- The symbol image form ----------------------------------------------------

// The symbol image form of `bitmap`: 32 bits per pixel, rows bottom-up, pixel
// data at offset 58. Empty for an empty bitmap.
Bytes BitmapToImage(const platform::Bitmap& bitmap);
// The same into `out`, whose storage is reused.
void BitmapToImageInto(const platform::Bitmap& bitmap, Bytes& out);

}  // namespace qrsmith
