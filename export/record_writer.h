#pragma once
// Appends little-endian fields to a byte array, as the metafile formats lay
// out their records, and patches size fields once a record or file is complete.

#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace qrsmith {

class RecordWriter {
 public:
  explicit RecordWriter(Bytes& out) : out_(out) {}

  std::size_t Position() const { return out_.size(); }

  void U16(std::uint16_t v) {
    out_.push_back(static_cast<std::uint8_t>(v));
    out_.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  // An IEEE 754 single, as the EMF transform fields hold it.
  void F32(float v);

  // Overwrites the field at `offset`, which was written earlier.
  void PatchU16(std::size_t offset, std::uint16_t v) {
    out_[offset] = static_cast<std::uint8_t>(v);
    out_[offset + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  void PatchU32(std::size_t offset, std::uint32_t v) {
    PatchU16(offset, static_cast<std::uint16_t>(v));
    PatchU16(offset + 2, static_cast<std::uint16_t>(v >> 16));
  }

 private:
  Bytes& out_;
};

}  // namespace qrsmith
