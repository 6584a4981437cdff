#pragma once
// Reads the generator's noise pool bit by bit, as both the exports and the
// preview do: bits are numbered from 1, bit p is bit ((p - 1) mod 8) of byte
// (p - 1) div 8, least significant first. After bit 8n - 1 the next bit read is
// bit 1 again (bit 8n is never read), so a drawing can ask for any number of bits.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace qrsmith {

// The generator's noise pool: its size is set with each symbol, its random
// bytes drawn on the first read, since most symbols are never drawn with
// noise and drawing the bytes costs more than the symbol itself. A copy
// holds the same bytes as its source.
class NoisePool {
 public:
  NoisePool() = default;
  NoisePool(const NoisePool& other) : bits_(other.Bits().begin(), other.Bits().end()) {}
  NoisePool& operator=(const NoisePool& other) {
    if (this != &other) {
      const auto bits = other.Bits();
      const std::lock_guard lock(mutex_);
      bits_.assign(bits.begin(), bits.end());
      drawn_ = true;
    }
    return *this;
  }

  // A pool of `size` bytes, drawn when first read.
  void Reset(std::size_t size) {
    const std::lock_guard lock(mutex_);
    bits_.resize(size);
    drawn_ = false;
  }
  std::span<const std::uint8_t> Bits() const;

 private:
  mutable std::mutex mutex_;
  mutable std::vector<std::uint8_t> bits_;
  mutable bool drawn_ = true;
};

class NoiseBitReader {
 public:
  explicit NoiseBitReader(std::span<const std::uint8_t> pool) : pool_(pool) {}

  // The next bit; an empty pool reads as all zeros (no noise at all).
  bool Next() {
    const std::size_t count = pool_.size() * 8;
    if (count < 2) return false;
    const std::size_t index = position_ - 1;
    const bool bit = ((pool_[index / 8] >> (index % 8)) & 1) != 0;
    position_ = position_ + 1 > count - 1 ? 1 : position_ + 1;
    return bit;
  }

 private:
  std::span<const std::uint8_t> pool_;
  std::size_t position_ = 1;  // 1-based number of the next bit
};

}  // namespace qrsmith
