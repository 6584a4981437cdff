#pragma once
// BMP files: the Windows device-independent bitmap with its 14-byte file
// header. The generator keeps its symbol image in this form (a 44-byte
// information header, 32 bits per pixel, bottom-up), so the reader accepts
// every information header of 40 bytes or more as well as the 12-byte core
// header of the oldest files.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform::codecs {

// What EncodeBmp writes; the defaults make a BMP file as other programs
// write them, the symbol image form takes 32 bits, 44 header bytes and no
// resolution.
struct BmpOptions {
  // 24: B, G, R, rows padded to four bytes; 32: B, G, R and the pixel's top
  // byte as the Bitmap holds it.
  int bitsPerPixel = 24;
  // 40, the standard information header, or more: zero bytes follow it.
  std::uint32_t infoHeaderSize = 40;
  std::uint32_t pixelsPerMetre = 3780;  // 96 dots per inch, a screen picture; 0: none
};

// A bottom-up, uncompressed BMP. Empty for an empty bitmap, for options
// outside the ones above, and at 24 bits for a bitmap that is not opaque: the
// 24-bit form has no alpha.
Bytes EncodeBmp(const Bitmap& bitmap, const BmpOptions& options = {});
// The same into `out`, whose storage is reused.
void EncodeBmpInto(const Bitmap& bitmap, const BmpOptions& options, Bytes& out);

// Reads uncompressed and bit-field BMP files of 1, 4, 8, 16, 24 and 32 bits,
// top-down or bottom-up, and run-length coded ones of 4 and 8 bits. nullopt
// for anything malformed, truncated or larger than the decoding bounds.
std::optional<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
