#pragma once
// Little-endian fields, as the BMP, ICO and metafile containers and the
// symbol image form hold them: the one set of helpers for every such field.
// The readers and storers take a pointer the caller has already
// bounds-checked; the appenders grow the bytes.

#include <cstdint>

#include "platform/types.h"

namespace qrsmith::platform::codecs {

inline std::uint16_t LoadLe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadLe32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
inline std::int32_t LoadLeI32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(LoadLe32(p));
}

inline void StoreLe16(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}
inline void StoreLe32(std::uint8_t* p, std::uint32_t value) {
  StoreLe16(p, value & 0xFFFF);
  StoreLe16(p + 2, value >> 16);
}

inline void AppendLe16(Bytes& out, std::uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}
inline void AppendLe32(Bytes& out, std::uint32_t value) {
  AppendLe16(out, value & 0xFFFF);
  AppendLe16(out, value >> 16);
}

}  // namespace qrsmith::platform::codecs
