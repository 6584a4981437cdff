#pragma once
// BMP files: the Windows device-independent bitmap with its 14-byte file
// header. The generator keeps its symbol image in this form (a 44-byte
// information header, 32 bits per pixel, bottom-up), so the reader accepts
// every information header of 40 bytes or more as well as the 12-byte core
// header of the oldest files.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace qrsmith::platform::codecs {

// A 24-bit, bottom-up, uncompressed BMP with the standard 40-byte information
// header at 96 dpi. Empty for an empty bitmap, and for one that is not
// opaque: the 24-bit form has no alpha.
Bytes EncodeBmp(const Bitmap& bitmap);

// Reads uncompressed and bit-field BMP files of 1, 4, 8, 16, 24 and 32 bits,
// top-down or bottom-up, and run-length coded ones of 4 and 8 bits. nullopt
// for anything malformed, truncated or larger than the decoding bounds.
std::optional<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
