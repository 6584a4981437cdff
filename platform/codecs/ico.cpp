#include "platform/codecs/ico.h"

#include "platform/codecs/byte_order.h"
#include "platform/codecs/dib.h"
#include "platform/codecs/image.h"
#include "platform/codecs/png.h"

namespace qrsmith::platform::codecs {
namespace {

constexpr std::size_t kIconDirSize = 6;
constexpr std::size_t kIconDirEntrySize = 16;
constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint16_t kTypeCursor = 2;

struct IconDirEntry {
  std::uint32_t width = 0;   // 1..256 (0 in the file means 256)
  std::uint32_t height = 0;  // likewise
  std::uint32_t bit_count = 0;
  std::size_t offset = 0;
  std::size_t size = 0;
};

std::optional<IconDirEntry> ReadIconDirEntry(std::span<const std::uint8_t> bytes, std::size_t index,
                                             std::size_t directory_end) {
  const std::uint8_t* p = &bytes[kIconDirSize + index * kIconDirEntrySize];
  IconDirEntry entry;
  entry.width = p[0] == 0 ? 256 : p[0];
  entry.height = p[1] == 0 ? 256 : p[1];
  entry.bit_count = LoadLe16(p + 6);  // the hotspot's y for cursors; only a tie-breaker
  entry.size = LoadLe32(p + 8);
  entry.offset = LoadLe32(p + 12);
  if (entry.size == 0 || entry.offset < directory_end || entry.offset > bytes.size() ||
      entry.size > bytes.size() - entry.offset) {
    return std::nullopt;
  }
  return entry;
}

bool Outranks(const IconDirEntry& a, const IconDirEntry& b) {
  const std::uint64_t area_a = std::uint64_t{a.width} * a.height;
  const std::uint64_t area_b = std::uint64_t{b.width} * b.height;
  if (area_a != area_b) return area_a > area_b;
  return a.bit_count > b.bit_count;
}

void WriteIconDir(Bytes& out) {
  AppendLe16(out, 0);  // reserved
  AppendLe16(out, kTypeIcon);
  AppendLe16(out, 1);  // one entry
}

void WriteIconDirEntry(Bytes& out, const Bitmap& bitmap, std::size_t image_size) {
  out.push_back(bitmap.Width() >= 256 ? 0 : static_cast<std::uint8_t>(bitmap.Width()));
  out.push_back(bitmap.Height() >= 256 ? 0 : static_cast<std::uint8_t>(bitmap.Height()));
  out.push_back(0);    // colour count: no palette in the directory's sense
  out.push_back(0);    // reserved
  AppendLe16(out, 1);  // planes
  AppendLe16(out, 32);
  AppendLe32(out, static_cast<std::uint32_t>(image_size));
  AppendLe32(out, kIconDirSize + kIconDirEntrySize);
}

}  // namespace

Bytes EncodeIco(const Bitmap& bitmap) {
  const Bytes png = EncodePng(bitmap);
  if (png.empty()) return {};
  Bytes out;
  out.reserve(kIconDirSize + kIconDirEntrySize + png.size());
  WriteIconDir(out);
  WriteIconDirEntry(out, bitmap, png.size());
  out.insert(out.end(), png.begin(), png.end());
  return out;
}

std::optional<Bitmap> DecodeIco(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kIconDirSize || LoadLe16(&bytes[0]) != 0) return std::nullopt;
  const std::uint16_t type = LoadLe16(&bytes[2]);
  const std::size_t count = LoadLe16(&bytes[4]);
  if ((type != kTypeIcon && type != kTypeCursor) || count == 0) return std::nullopt;
  const std::size_t directory_end = kIconDirSize + count * kIconDirEntrySize;
  if (directory_end > bytes.size()) return std::nullopt;

  std::optional<IconDirEntry> best;
  for (std::size_t i = 0; i < count; ++i) {
    const auto entry = ReadIconDirEntry(bytes, i, directory_end);
    if (!entry) return std::nullopt;
    if (!best || Outranks(*entry, *best)) best = entry;
  }
  const auto image = bytes.subspan(best->offset, best->size);
  // An entry holds either a whole PNG file or a bare DIB.
  if (DetectImageFormat(image) == ImageFormat::kPng) return DecodePng(image);
  return DecodeDib(image, DibKind::kIconEntry);
}

}  // namespace qrsmith::platform::codecs
