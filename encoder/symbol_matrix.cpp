#include "encoder/symbol_matrix.h"

#include "encoder/function_patterns.h"
#include "encoder/qr_tables.h"

namespace qrsmith::encoder {
namespace {

// Column of the vertical timing pattern, which no strip of data uses.
constexpr std::int32_t kTimingColumn = 6;

class BitSource {
 public:
  BitSource(const std::uint8_t* codewords, std::int32_t count)
      : codewords_(codewords), total_(8 * count) {}
  bool Empty() const { return next_ >= total_; }
  std::uint8_t Next() {
    const std::int32_t at = next_++;
    return static_cast<std::uint8_t>((codewords_[at >> 3] >> (7 - (at & 7))) & 1);
  }

 private:
  const std::uint8_t* codewords_;
  std::int32_t total_;
  std::int32_t next_ = 0;
};

// Fills the free modules of the strip of columns right and right - 1, rows in
// the given direction, right column first in every row.
void FillStrip(const std::uint8_t* function, std::int32_t side, std::int32_t right, bool upward,
               BitSource& bits, std::uint8_t* data) {
  const std::int32_t stride = MatrixStride(side);
  for (std::int32_t n = 0; n < side && !bits.Empty(); ++n) {
    const std::int32_t row = upward ? side - 1 - n : n;
    const std::uint8_t* f = function + row * stride + right - 1;
    std::uint8_t* d = data + row * side + right - 1;
    if (f[1] == kFree && !bits.Empty()) d[1] = bits.Next();
    if (f[0] == kFree && !bits.Empty()) d[0] = bits.Next();
  }
}

}  // namespace

void PlaceCodewords(const std::uint8_t* function, std::int32_t side, const std::uint8_t* codewords,
                    std::int32_t count, std::uint8_t* data) {
  BitSource bits(codewords, count);
  // `a` walks from the right edge in steps of four columns: an upward strip
  // ends at column a - 1, the downward strip after it at column a - 3; left
  // of the timing column everything shifts one column further left.
  std::int32_t a = side;
  while (!bits.Empty()) {
    const std::int32_t up = a - 2 < kTimingColumn ? a - 3 : a - 2;
    FillStrip(function, side, up + 1, true, bits, data);
    a -= 4;
    const std::int32_t down = a < kTimingColumn ? a - 1 : a;
    FillStrip(function, side, down + 1, false, bits, data);
    if (a <= 4) break;
  }
}

void MergeModules(std::uint8_t* function, std::int32_t side, const std::uint8_t* data) {
  const std::int32_t stride = MatrixStride(side);
  for (std::int32_t r = 0; r < side; ++r) {
    std::uint8_t* f = function + r * stride;
    const std::uint8_t* d = data + r * side;
    for (std::int32_t c = 0; c < side; ++c) {
      f[c] = static_cast<std::uint8_t>((f[c] != kFree ? f[c] : d[c]) & 1);
    }
  }
}

void WriteVersionInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t version) {
  const std::int32_t stride = MatrixStride(side);
  const std::int32_t bits = VersionInformation(version);
  for (std::int32_t i = 0; i < 6; ++i) {
    for (std::int32_t j = 0; j < 3; ++j) {
      const auto dark = static_cast<std::uint8_t>((bits >> (3 * i + j)) & 1);
      matrix[(side - 11 + j) * stride + i] = dark;
      matrix[i * stride + side - 11 + j] = dark;
    }
  }
}

void WriteFormatInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t level,
                            std::int32_t mask) {
  const std::int32_t s = side, stride = MatrixStride(side);
  const std::int32_t bits = FormatInformation(level, mask);
  auto put = [&](std::int32_t row, std::int32_t column, std::int32_t bit) {
    matrix[row * stride + column] = static_cast<std::uint8_t>((bits >> bit) & 1);
  };
  // Bit 14 is the first bit of the level indicator. The first copy runs
  // around the top-left finder, the second is split between the top-right
  // and bottom-left finders.
  for (std::int32_t n = 0; n < 6; ++n) {
    put(8, n, 14 - n);
    put(s - 1 - n, 8, 14 - n);
  }
  put(8, 7, 8);
  put(s - 7, 8, 8);
  put(8, 8, 7);
  put(8, s - 8, 7);
  put(7, 8, 6);
  put(8, s - 7, 6);
  for (std::int32_t bit = 5; bit >= 0; --bit) {
    put(bit, 8, bit);
    put(8, s - 1 - bit, bit);
  }
}

}  // namespace qrsmith::encoder
