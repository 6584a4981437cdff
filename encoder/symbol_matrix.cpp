#include "encoder/symbol_matrix.h"

#include "encoder/function_patterns.h"

namespace qrsmith::encoder {
namespace {

// Column of the vertical timing pattern, which no strip of data uses.
constexpr std::int32_t kTimingColumn = 6;

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
  // Both cells of a row free, the usual case: two bits in one step.
  void TakeTwo(std::uint8_t* cell) {
    cell[1] = static_cast<std::uint8_t>(kDataFlag | (window_ >> 63));
    cell[0] = static_cast<std::uint8_t>(kDataFlag | ((window_ >> 62) & 1));
    window_ <<= 2;
    left_ -= 2;
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
    if ((cell[0] | cell[1]) == kFree) {
      bits.TakeTwo(cell);
      continue;
    }
    if (cell[1] == kFree) cell[1] = kDataFlag | bits.Take();
    if (cell[0] == kFree) cell[0] = kDataFlag | bits.Take();
  }
  source = bits;
}

}  // namespace

void PlaceCodewords(std::uint8_t* matrix, std::int32_t side, const std::uint8_t* codewords,
                    std::int32_t count) {
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
}

void MergeModules(std::uint8_t* matrix, std::int32_t side) {
  const std::int32_t stride = MatrixStride(side);
  for (std::int32_t r = 0; r < side; ++r) {
    std::uint8_t* line = matrix + r * stride;
    for (std::int32_t c = 0; c < side; ++c) {
      // Branch-free, so that the compiler can work on whole vectors.
      const std::uint8_t v = line[c];
      const std::uint8_t data = (v >> 2) & 1;
      const std::uint8_t function = ((v >> 1) & 1) ^ 1;
      line[c] = static_cast<std::uint8_t>((data & v) | ((data ^ 1) & function));
    }
  }
}

void WriteVersionInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t version) {
  const std::int32_t stride = MatrixStride(side);
  ForEachVersionModule(side, version, [&](std::int32_t row, std::int32_t column, bool dark) {
    matrix[row * stride + column] = dark ? 1 : 0;
  });
}

void WriteFormatInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t level,
                            std::int32_t mask) {
  const std::int32_t stride = MatrixStride(side);
  ForEachFormatModule(side, level, mask, [&](std::int32_t row, std::int32_t column, bool dark) {
    matrix[row * stride + column] = dark ? 1 : 0;
  });
}

}  // namespace qrsmith::encoder
