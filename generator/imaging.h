#pragma once
// The imaging conversions the generator builds on: re-encoding picture bytes
// of any readable format into one of the five raster formats, and turning
// picture bytes into a Bitmap of a chosen size. Both work in memory and keep
// no state.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// The format numbers of ConvertImage (an export kind plus 1).
inline constexpr int kConvertToBmp = 1;   // 24-bit, standard 40-byte header
inline constexpr int kConvertToJpeg = 2;  // quality 75
inline constexpr int kConvertToGif = 3;
inline constexpr int kConvertToTiff = 4;
inline constexpr int kConvertToPng = 5;

// Decodes `source` (BMP, JPEG, GIF, TIFF, PNG or ICO, recognised by its
// signature) and encodes it as format `type` (1..5 above). True when
// `target` holds the encoded picture; on false `target` is unchanged: for
// unreadable bytes, a type outside 1..5, or an encoder failure.
bool ConvertImage(std::span<const std::uint8_t> source, int type, Bytes& target);

// Decodes `bytes` into a Bitmap. A side that is left out or 0 keeps the
// picture's own size; a given side stretches the picture to it by nearest
// neighbour. So both left out or 0 gives the picture as it is, and width 80
// with height left out gives 80 x the picture's own height. nullopt for empty
// or unreadable bytes and for a negative or oversized side.
std::optional<platform::Bitmap> LoadImageBitmap(std::span<const std::uint8_t> bytes,
                                                std::optional<int> width = {},
                                                std::optional<int> height = {});

}  // namespace qrsmith
