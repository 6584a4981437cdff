#pragma once
// A symbol as bits: one 192-bit row per module row, column j in bit j % 64 of
// word j / 64, so that the mask evaluation can test whole rows at once. 192
// bits hold the 177 modules of version 40; bits beyond the side stay 0.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace qrsmith::encoder {

inline constexpr std::int32_t kBitRowWords = 3;
inline constexpr std::int32_t kBitRowLength = 64 * kBitRowWords;

struct BitRow {
  std::array<std::uint64_t, kBitRowWords> w{};

  friend BitRow operator&(const BitRow& a, const BitRow& b) {
    return {{a.w[0] & b.w[0], a.w[1] & b.w[1], a.w[2] & b.w[2]}};
  }
  friend BitRow operator|(const BitRow& a, const BitRow& b) {
    return {{a.w[0] | b.w[0], a.w[1] | b.w[1], a.w[2] | b.w[2]}};
  }
  friend BitRow operator^(const BitRow& a, const BitRow& b) {
    return {{a.w[0] ^ b.w[0], a.w[1] ^ b.w[1], a.w[2] ^ b.w[2]}};
  }
  friend BitRow operator~(const BitRow& a) { return {{~a.w[0], ~a.w[1], ~a.w[2]}}; }

  // Bit j takes bit j + k (k 1..63); the top fills with 0.
  BitRow Next(int k) const {
    return {{(w[0] >> k) | (w[1] << (64 - k)), (w[1] >> k) | (w[2] << (64 - k)), w[2] >> k}};
  }
  // Bit j takes bit j - k (k 1..63); the bottom fills with 0.
  BitRow Previous(int k) const {
    return {{w[0] << k, (w[1] << k) | (w[0] >> (64 - k)), (w[2] << k) | (w[1] >> (64 - k))}};
  }
  std::int32_t Count() const {
    return std::popcount(w[0]) + std::popcount(w[1]) + std::popcount(w[2]);
  }
  void Set(std::int32_t j) { w[static_cast<std::size_t>(j / 64)] |= std::uint64_t{1} << (j % 64); }
};

// Bits 0 .. n-1 set.
BitRow LowBits(std::int32_t n);

// A side x side grid of bits; rows from `side` on stay 0.
struct BitMatrix {
  std::int32_t side = 0;
  std::array<BitRow, kBitRowLength> rows{};
};

// Row r, column c of `out` is row c, column r of `in`.
void Transpose(const BitMatrix& in, BitMatrix& out);

// Packs an s x s byte grid (rows `stride` bytes apart, s <= 192) into `out`,
// each byte through `toBit`, which maps eight bytes read as a little-endian
// word to eight 0/1 bytes.
template <class ToBit>
void PackGrid(const std::uint8_t* grid, std::int32_t side, std::int32_t stride, BitMatrix& out,
              ToBit toBit) {
  static_assert(std::endian::native == std::endian::little, "byte k of a word is column c + k");
  out.side = side;
  out.rows = {};
  constexpr std::uint64_t kLowBitOfEachByte = 0x0101010101010101;
  // Multiplying eight 0/1 bytes by this gathers byte k into bit 56 + k.
  constexpr std::uint64_t kGather = 0x0102040810204080;
  for (std::int32_t r = 0; r < side; ++r) {
    const std::uint8_t* line = grid + static_cast<std::ptrdiff_t>(r) * stride;
    BitRow& row = out.rows[static_cast<std::size_t>(r)];
    std::int32_t c = 0;
    for (; c + 8 <= side; c += 8) {
      std::uint64_t eight;
      std::memcpy(&eight, line + c, sizeof eight);
      const std::uint64_t bits = ((toBit(eight) & kLowBitOfEachByte) * kGather) >> 56;
      row.w[static_cast<std::size_t>(c / 64)] |= bits << (c % 64);
    }
    for (; c < side; ++c) {
      if ((toBit(std::uint64_t{line[c]}) & 1) != 0) row.Set(c);
    }
  }
}

}  // namespace qrsmith::encoder
