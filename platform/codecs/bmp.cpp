#include "platform/codecs/bmp.h"

#include "platform/codecs/byte_order.h"
#include "platform/codecs/dib.h"
#include "platform/codecs/pixels.h"

namespace qrsmith::platform::codecs {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBitsPerPixel = 24;
// 96 dots per inch, the resolution of a screen picture, in pixels per metre.
constexpr std::uint32_t kPixelsPerMetre = 3780;

std::size_t RowStride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }

void WriteFileHeader(Bytes& out, std::size_t file_size) {
  out.push_back('B');
  out.push_back('M');
  AppendLe32(out, static_cast<std::uint32_t>(file_size));
  AppendLe32(out, 0);  // two reserved 16-bit fields
  AppendLe32(out, kFileHeaderSize + kInfoHeaderSize);
}

void WriteInfoHeader(Bytes& out, const Bitmap& bitmap, std::size_t image_size) {
  AppendLe32(out, kInfoHeaderSize);
  AppendLe32(out, static_cast<std::uint32_t>(bitmap.Width()));
  AppendLe32(out, static_cast<std::uint32_t>(bitmap.Height()));  // positive: bottom-up
  AppendLe16(out, 1);                                            // planes
  AppendLe16(out, kBitsPerPixel);
  AppendLe32(out, 0);  // BI_RGB, uncompressed
  AppendLe32(out, static_cast<std::uint32_t>(image_size));
  AppendLe32(out, kPixelsPerMetre);
  AppendLe32(out, kPixelsPerMetre);
  AppendLe32(out, 0);  // colours used: no colour table
  AppendLe32(out, 0);  // important colours: all
}

// Rows bottom first, each pixel B, G, R, each row padded to 4 bytes.
void WritePixelRows(Bytes& out, const Bitmap& bitmap) {
  const std::size_t padding = RowStride(bitmap.Width()) - 3 * std::size_t(bitmap.Width());
  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    const std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      out.push_back(BlueOf(row[x]));
      out.push_back(GreenOf(row[x]));
      out.push_back(RedOf(row[x]));
    }
    out.insert(out.end(), padding, 0);
  }
}

}  // namespace

Bytes EncodeBmp(const Bitmap& bitmap) {
  if (bitmap.Empty() || !bitmap.IsOpaque()) return {};
  const std::size_t image_size = RowStride(bitmap.Width()) * std::size_t(bitmap.Height());
  const std::size_t file_size = kFileHeaderSize + kInfoHeaderSize + image_size;
  Bytes out;
  out.reserve(file_size);
  WriteFileHeader(out, file_size);
  WriteInfoHeader(out, bitmap, image_size);
  WritePixelRows(out, bitmap);
  return out;
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
