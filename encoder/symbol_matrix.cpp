#include "encoder/symbol_matrix.h"

#include "encoder/function_patterns.h"
#include "encoder/mask.h"
#include "encoder/qr_tables.h"

namespace qrsmith::encoder {
namespace {

// Column of the vertical timing pattern, which no strip of data uses.
constexpr std::int32_t kTimingColumn = 6;

// A data module during placement: this flag plus the unmasked bit. Function
// modules are 1 (dark) or 2 (light), so the flag tells data from function.
constexpr std::uint8_t kDataFlag = 4;

// The codeword bits in order, then zeros for ever. At least two bits are
// always in the window after Top2().
class BitSource {
 public:
  BitSource(const std::uint8_t* codewords, std::int32_t count)
      : codewords_(codewords), count_(count) {}
  // Tops the window up so that two bits can be taken without a check.
  void Top2() {
    while (left_ <= 56) {
      const std::uint64_t next = next_ < count_ ? codewords_[next_] : 0u;
      window_ |= next << (56 - left_);
      left_ += 8;
      ++next_;
    }
  }
  std::uint8_t Take() {
    const auto bit = static_cast<std::uint8_t>(window_ >> 63);
    window_ <<= 1;
    --left_;
    return bit;
  }
  bool Low() const { return left_ < 2; }

 private:
  const std::uint8_t* codewords_;
  std::int32_t count_;
  std::int32_t next_ = 0;  // next codeword to load
  std::uint64_t window_ = 0;
  int left_ = 0;  // bits in the window, from the top
};

// Fills the free modules of the strip of columns right and right - 1, rows in
// the given direction, right column first in every row.
void FillStrip(std::uint8_t* matrix, std::int32_t side, std::int32_t right, bool upward,
               BitSource& source) {
  // A local copy stays in registers; byte stores into the matrix could
  // otherwise alias the source's fields and force them through memory.
  BitSource bits = source;
  const std::ptrdiff_t stride = MatrixStride(side);
  std::uint8_t* cell = matrix + (upward ? side - 1 : 0) * stride + right - 1;
  const std::ptrdiff_t step = upward ? -stride : stride;
  for (std::int32_t n = 0; n < side; ++n, cell += step) {
    if (bits.Low()) bits.Top2();
    if (cell[1] == kFree) cell[1] = kDataFlag | bits.Take();
    if (cell[0] == kFree) cell[0] = kDataFlag | bits.Take();
  }
  source = bits;
}

}  // namespace

void PlaceMaskedCodewords(std::uint8_t* matrix, std::int32_t side, const std::uint8_t* codewords,
                          std::int32_t count, const std::uint8_t* maskRows) {
  // Every free module is reached; those after the last codeword bit (the
  // remainder bits) take 0.
  BitSource bits(codewords, count);
  // `a` walks from the right edge in steps of four columns: an upward strip
  // ends at column a - 1, the downward strip after it at column a - 3; left
  // of the timing column everything shifts one column further left.
  for (std::int32_t a = side; a > 4;) {
    const std::int32_t up = a - 2 < kTimingColumn ? a - 3 : a - 2;
    FillStrip(matrix, side, up + 1, true, bits);
    a -= 4;
    const std::int32_t down = a < kTimingColumn ? a - 1 : a;
    FillStrip(matrix, side, down + 1, false, bits);
  }
  // Data modules take their bit XOR the mask, function modules 1 for dark
  // and 0 for light: (v AND 1) XOR (mask AND flag).
  const std::int32_t stride = MatrixStride(side);
  for (std::int32_t r = 0; r < side; ++r) {
    std::uint8_t* line = matrix + r * stride;
    const std::uint8_t* mask = maskRows + (r % kMaskRowPeriod) * side;
    for (std::int32_t c = 0; c < side; ++c) {
      line[c] = static_cast<std::uint8_t>((line[c] & 1) ^ (mask[c] & (line[c] >> 2)));
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
