#pragma once
// The fields of file containers, the one set of helpers for each: little-
// endian, as the BMP, ICO and metafile containers and the symbol image form
// hold them, big-endian, as PNG and JPEG do, and the CRC-32 of PNG chunks.
// The readers and storers take a pointer the caller has already
// bounds-checked; the appenders grow the bytes. (The encoder's bit streams
// load and store whole 64-bit words: encoder/big_endian.h.)

#include <cstdint>
#include <span>

#include <qrsmith/platform/types.h>

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

inline std::uint32_t LoadBe32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}
inline void StoreBe16(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value >> 8);
  p[1] = static_cast<std::uint8_t>(value);
}
inline void StoreBe32(std::uint8_t* p, std::uint32_t value) {
  StoreBe16(p, value >> 16);
  StoreBe16(p + 2, value & 0xFFFF);
}
inline void AppendBe32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((value >> shift) & 0xFF);
}

// The CRC-32 of ISO 3309 (reflected, polynomial 0xEDB88320), as PNG chunks
// carry it over their type and data.
inline std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::uint8_t b : bytes) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return crc ^ 0xFFFFFFFF;
}

}  // namespace qrsmith::platform::codecs
