#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "encoder/function_patterns.h"
#include "encoder/mask.h"
#include "encoder/qr_encoder.h"
#include "encoder/qr_tables.h"

namespace qrsmith {
namespace {

using Centre = std::pair<int, int>;

struct FunctionMatrix {
  explicit FunctionMatrix(std::int32_t version)
      : s(encoder::SymbolSize(version)),
        stride(encoder::MatrixStride(s)),
        cells(encoder::FunctionMatrixOf(version)) {}
  std::uint8_t At(int r, int c) const { return cells[static_cast<std::size_t>(r * stride + c)]; }
  bool Dark(int r, int c) const { return At(r, c) == 1; }

  // Alignment centres as drawn: a dark module in a light ring in a dark ring.
  std::set<Centre> AlignmentCentres() const {
    std::set<Centre> centres;
    for (int r = 2; r < s - 2; ++r) {
      for (int c = 2; c < s - 2; ++c) {
        bool match = Dark(r, c);
        for (int dr = -2; dr <= 2 && match; ++dr) {
          for (int dc = -2; dc <= 2 && match; ++dc) {
            const bool outer = dr == -2 || dr == 2 || dc == -2 || dc == 2;
            if (dr != 0 || dc != 0) match = Dark(r + dr, c + dc) == outer;
          }
        }
        if (match) centres.emplace(r, c);
      }
    }
    return centres;
  }

  int s, stride;
  std::vector<std::uint8_t> cells;
};

TEST(FunctionPatterns, AlignmentCentresAsDrawnMatchAnnexE) {
  struct Case {
    std::int32_t version;
    std::set<int> coordinates;
  };
  const Case cases[] = {{1, {}},
                        {2, {6, 18}},
                        {6, {6, 34}},
                        {7, {6, 22, 38}},
                        {32, {6, 34, 60, 86, 112, 138}},
                        {40, {6, 30, 58, 86, 114, 142, 170}}};
  for (const Case& c : cases) {
    const std::set<Centre> centres = FunctionMatrix(c.version).AlignmentCentres();
    std::set<int> coordinates;
    for (const auto& [r, col] : centres) coordinates.insert({r, col});
    if (!centres.empty()) coordinates.insert(6);  // Annex E lists 6 even where no pattern sits
    EXPECT_EQ(coordinates, c.coordinates) << c.version;
    EXPECT_EQ(static_cast<int>(centres.size()), encoder::AlignmentPatternCount(c.version));
  }
  const std::set<Centre> v7 = {{22, 38}, {38, 22}, {38, 38}, {6, 22}, {22, 6}, {22, 22}};
  EXPECT_EQ(FunctionMatrix(7).AlignmentCentres(), v7);
  EXPECT_EQ(FunctionMatrix(2).AlignmentCentres(), (std::set<Centre>{{18, 18}}));
}

TEST(FunctionPatterns, FixedModulesAndReservedAreas) {
  const FunctionMatrix v1(1);
  EXPECT_TRUE(v1.Dark(13, 8));  // the dark module at (s - 8, 8)
  EXPECT_TRUE(v1.Dark(0, 0) && v1.Dark(3, 3) && !v1.Dark(1, 1) && v1.Dark(20, 0));
  EXPECT_EQ(v1.At(7, 7), 2);    // separator
  EXPECT_EQ(v1.At(8, 8), 2);    // format area
  EXPECT_EQ(v1.At(6, 9), 2);    // timing, odd
  EXPECT_EQ(v1.At(6, 10), 1);   // timing, even
  EXPECT_EQ(v1.At(10, 10), 0);  // a data module
  int free = 0;
  for (int r = 0; r < 21; ++r) {
    for (int c = 0; c < 21; ++c) free += v1.At(r, c) == 0;
  }
  EXPECT_EQ(free, 208);
  const FunctionMatrix v7(7);
  for (int i = 0; i < 6; ++i) {
    for (int j = 34; j <= 36; ++j) {
      EXPECT_EQ(v7.At(i, j), 2);  // version area, top right
      EXPECT_EQ(v7.At(j, i), 2);  // version area, bottom left
    }
  }
}

// Both copies of the format information, read back from encoded symbols.
TEST(SymbolMatrix, FormatInformationInBothCopies) {
  struct Case {
    std::int16_t level, mask, appliedMask;
  };
  QrEncoder encoder;
  for (const Case c : {Case{2, 5, 5}, Case{1, 0, 0}, Case{4, 7, 7}, Case{3, 2, 2}, Case{2, -1, 0},
                       Case{2, 8, 0}, Case{2, 100, 0}}) {
    EncodeOptions options;
    options.version = 3;
    options.level = c.level;
    options.mask = c.mask;
    ASSERT_NE(encoder.Encode(Bytes{'x'}, 1, options), nullptr);
    const int s = encoder.Side();
    auto m = [&](int r, int col) { return encoder.ModuleAt(r + 1, col + 1, true); };
    int first = 0, second = 0;
    const int firstCells[15][2] = {{8, 0}, {8, 1}, {8, 2}, {8, 3}, {8, 4}, {8, 5}, {8, 7}, {8, 8},
                                   {7, 8}, {5, 8}, {4, 8}, {3, 8}, {2, 8}, {1, 8}, {0, 8}};
    for (int k = 0; k < 15; ++k) {
      first = first << 1 | m(firstCells[k][0], firstCells[k][1]);
      second = second << 1 | (k < 7 ? m(s - 1 - k, 8) : m(8, s - 15 + k));
    }
    const int expected = encoder::FormatInformation(c.level, c.appliedMask);
    EXPECT_EQ(first, expected) << c.level << "/" << c.mask;
    EXPECT_EQ(second, expected) << c.level << "/" << c.mask;
    EXPECT_EQ(m(s - 8, 8), 1);
  }
}

TEST(Mask, ApplyMaskInvertsTheConditionsModules) {
  std::vector<std::uint8_t> grid(36, 0);
  encoder::ApplyMaskPattern(grid.data(), 6, 6, 1);
  for (int i = 0; i < 36; ++i) EXPECT_EQ(grid[static_cast<std::size_t>(i)], (i / 6) % 2 == 0) << i;
  std::fill(grid.begin(), grid.end(), 1);
  encoder::ApplyMaskPattern(grid.data(), 6, 6, 2);
  for (int i = 0; i < 36; ++i) EXPECT_EQ(grid[static_cast<std::size_t>(i)], (i % 6) % 3 != 0) << i;
  for (const std::int32_t mask : {-1, 8, 100}) EXPECT_EQ(encoder::NormaliseMask(mask), 0);
}

// Version 2 has 359 data modules for 352 codeword bits; the last 7 modules
// of the walk (bottom of the leftmost strip) carry no bit and so show the
// mask alone. The three spare rows and columns stay 0.
TEST(SymbolMatrix, RemainderModulesShowTheMaskAndSpareBytesStayZero) {
  const Centre remainder[] = {{13, 0}, {14, 1}, {14, 0}, {15, 1}, {15, 0}, {16, 1}, {16, 0}};
  QrEncoder encoder;
  for (std::int16_t mask = 0; mask < 8; ++mask) {
    EncodeOptions options;
    options.version = 2;
    options.mask = mask;
    ASSERT_NE(encoder.Encode(Bytes{'q', 'r'}, 2, options), nullptr);
    for (const auto& [r, c] : remainder) {
      EXPECT_EQ(encoder.ModuleAt(r + 1, c + 1, true), encoder::MaskCondition(mask, r, c) ? 1 : 0)
          << "mask " << mask << " at " << r << "," << c;
    }
    for (int i = 1; i <= 28; ++i) {
      for (int spare = 26; spare <= 28; ++spare) {
        EXPECT_EQ(encoder.ModuleAt(spare, i, true), 0);
        EXPECT_EQ(encoder.ModuleAt(i, spare, true), 0);
      }
    }
  }
}

}  // namespace
}  // namespace qrsmith
