#pragma once
// Appends little-endian fields to a byte array, as the metafile formats lay
// out their records (platform/codecs/byte_order.h writes them).

#include <cstddef>
#include <cstdint>

#include <qrsmith/platform/codecs/byte_order.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

class RecordWriter {
 public:
  explicit RecordWriter(Bytes& out) : out_(out) {}

  std::size_t Position() const { return out_.size(); }

  void U8(std::uint8_t v) { out_.push_back(v); }
  void U16(std::uint16_t v) { platform::codecs::AppendLe16(out_, v); }
  void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
  void U32(std::uint32_t v) { platform::codecs::AppendLe32(out_, v); }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  // An IEEE 754 single, as the EMF transform fields hold it.
  void F32(float v);

 private:
  Bytes& out_;
};

}  // namespace qrsmith
