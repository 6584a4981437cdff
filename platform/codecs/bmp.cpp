#include "platform/codecs/bmp.h"

#include <algorithm>
#include <cstring>

#include "platform/codecs/byte_order.h"
#include "platform/codecs/dib.h"
#include "platform/codecs/pixels.h"

namespace qrsmith::platform::codecs {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

}  // namespace

Bytes EncodeBmp(const Bitmap& bitmap, const BmpOptions& options) {
  Bytes out;
  EncodeBmpInto(bitmap, options, out);
  return out;
}

void EncodeBmpInto(const Bitmap& bitmap, const BmpOptions& options, Bytes& out) {
  out.clear();
  const bool full = options.bitsPerPixel == 32;
  if (bitmap.Empty() || (!full && options.bitsPerPixel != 24) ||
      options.infoHeaderSize < kInfoHeaderSize || options.infoHeaderSize > 1024 ||
      (!full && !bitmap.IsOpaque())) {
    return;
  }
  const auto width = static_cast<std::size_t>(bitmap.Width());
  const std::size_t stride = full ? width * 4 : (width * 3 + 3) / 4 * 4;
  const std::size_t imageSize = stride * static_cast<std::size_t>(bitmap.Height());
  const std::size_t pixelOffset = kFileHeaderSize + options.infoHeaderSize;
  out.resize(pixelOffset + imageSize);  // every byte is set below
  std::fill_n(out.begin(), pixelOffset, std::uint8_t{0});
  // The file header: "BM", the file size, two reserved 16-bit fields, the pixels' offset.
  out[0] = 'B';
  out[1] = 'M';
  StoreLe32(&out[2], static_cast<std::uint32_t>(out.size()));
  StoreLe32(&out[10], static_cast<std::uint32_t>(pixelOffset));
  // The information header; compression (BI_RGB, 0) and the colour counts
  // (no colour table) stay 0.
  std::uint8_t* info = &out[kFileHeaderSize];
  StoreLe32(info, options.infoHeaderSize);
  StoreLe32(info + 4, static_cast<std::uint32_t>(bitmap.Width()));
  StoreLe32(info + 8, static_cast<std::uint32_t>(bitmap.Height()));  // positive: bottom-up
  StoreLe16(info + 12, 1);                                           // planes
  StoreLe16(info + 14, static_cast<std::uint32_t>(options.bitsPerPixel));
  StoreLe32(info + 20, static_cast<std::uint32_t>(imageSize));
  StoreLe32(info + 24, options.pixelsPerMetre);
  StoreLe32(info + 28, options.pixelsPerMetre);
  std::uint8_t* at = &out[pixelOffset];
  for (int y = bitmap.Height() - 1; y >= 0; --y, at += stride) {
    const std::uint32_t* row = bitmap.Row(y);
    if (full) {
      // A pixel's memory is B, G, R, top byte (pixels.h): a row is one copy.
      std::memcpy(at, row, width * 4);
      continue;
    }
    std::uint8_t* p = at;
    for (std::size_t x = 0; x < width; ++x) {
      *p++ = BlueOf(row[x]);
      *p++ = GreenOf(row[x]);
      *p++ = RedOf(row[x]);
    }
    std::fill(p, at + stride, std::uint8_t{0});
  }
}

std::optional<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  // The file size field is often wrong in the wild and is not needed: the
  // data itself is bounds-checked against the real length.
  const std::uint32_t pixel_offset = LoadLe32(&bytes[10]);
  if (pixel_offset < kFileHeaderSize || pixel_offset > bytes.size()) return std::nullopt;
  return DecodeDib(bytes.subspan(kFileHeaderSize), DibKind::kFile, pixel_offset - kFileHeaderSize);
}

}  // namespace qrsmith::platform::codecs
