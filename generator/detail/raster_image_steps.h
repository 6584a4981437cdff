#pragma once
// The raster steps of raster_rendering.h at the symbol's own size, and over
// symbol image forms (BMP file images) instead of bitmaps: what the tests
// check the export pipelines' pictures against.

#include <cstdint>
#include <span>

#include <qrsmith/generator/raster_rendering.h>
#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// `symbol` OR-combined onto a copy of `picture` at trunc((PW - SW) / 2 - 1 + dx),
// trunc((PH - SH) / 2 - 1 + dy): white symbol parts stay white, black ones let
// the picture show through. With `noise`, cells of one scaled module in the
// symbol's background `colour` are scattered over the picture around the
// symbol and over its outermost ring of cells, one noise bit per cell. gridWidth and gridHeight are
// the symbol's size in modules, margins included. `picture` is taken by value: a caller done with
// it moves it in, and the result needs no copy of it.
platform::Bitmap ComposeOnPictureBitmap(platform::Bitmap picture, const platform::Bitmap& symbol,
                                        Colour colour, std::int32_t dx, std::int32_t dy, bool noise,
                                        std::span<const std::uint8_t> noiseBits,
                                        std::int32_t gridWidth, std::int32_t gridHeight);

// `image` stretched to width x height by nearest neighbour; empty on failure.
Bytes ScaleImage(std::span<const std::uint8_t> image, std::int32_t width, std::int32_t height);

// `image` with `icon` copied over its centre, moved by (dx, dy); empty on failure.
Bytes OverlayIcon(std::span<const std::uint8_t> image, std::span<const std::uint8_t> icon,
                  std::int32_t dx = 0, std::int32_t dy = 0);

// `symbol` laid on `picture` as ComposeOnPictureBitmap does; empty on failure.
Bytes ComposeOnPicture(std::span<const std::uint8_t> picture, std::span<const std::uint8_t> symbol,
                       Colour colour, std::int32_t dx, std::int32_t dy, bool noise,
                       std::span<const std::uint8_t> noiseBits, std::int32_t gridWidth,
                       std::int32_t gridHeight);

}  // namespace qrsmith
