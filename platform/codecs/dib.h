#pragma once
// The device-independent bitmap that BMP files and the BMP form of ICO
// entries share: an information header, optional colour masks, a colour
// table and the pixel rows. Internal to the codecs.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>

namespace qrsmith::platform::codecs {

enum class DibKind {
  // Inside a BMP file: the pixel rows start where the file header says.
  kFile,
  // Inside an ICO entry: the height field counts the colour (XOR) image and
  // the 1-bit transparency (AND) mask that follows it; the rows follow the
  // colour table directly, and 32-bit pixels carry alpha.
  kIconEntry,
};

// Decodes the DIB at the start of `dib`. For kFile, `pixel_offset` is where
// the pixel rows start, counted from the start of `dib`; kIconEntry ignores it.
std::optional<Bitmap> DecodeDib(std::span<const std::uint8_t> dib, DibKind kind,
                                std::size_t pixel_offset = 0);

}  // namespace qrsmith::platform::codecs
