#pragma once
// Eight bytes as one 64-bit number, the first byte in the top bits: the order
// of the encoder's bit streams, most significant bit first. Compilers turn
// these loops into single loads and stores with a byte swap.

#include <cstdint>

namespace qrsmith::encoder {

inline std::uint64_t LoadBigEndian64(const std::uint8_t* bytes) {
  std::uint64_t word = 0;
  for (int i = 0; i < 8; ++i) word = (word << 8) | bytes[i];
  return word;
}

inline void StoreBigEndian64(std::uint8_t* bytes, std::uint64_t word) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(word >> (56 - 8 * i));
}

}  // namespace qrsmith::encoder
