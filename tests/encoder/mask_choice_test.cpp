// The encoder's mask choice against the byte-by-byte scorer it replaced, kept
// here as the reference: the same eight scores and the same chosen mask on
// 10,000 symbols of every version and level (50 of each version, the rest of
// versions 1 to 10, where the reference is quick).
#include "encoder/mask_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "encoder/detail/mask_penalty_rules.h"
#include "encoder/function_patterns.h"
#include "encoder/mask.h"
#include "encoder/qr_encoder.h"
#include "encoder/qr_tables.h"

namespace qrsmith {
namespace {

// The reference scorer, one module at a time.
namespace reference {

struct Line {
  const std::uint8_t* first;
  std::int32_t step;
  std::int32_t length;
  bool Dark(std::int32_t i) const { return first[static_cast<std::ptrdiff_t>(i) * step] != 0; }
  bool LightOrOutside(std::int32_t i) const { return i < 0 || i >= length || !Dark(i); }
};

std::int32_t LineRunPenalty(const Line& line) {
  std::int32_t penalty = 0;
  for (std::int32_t start = 0; start < line.length;) {
    std::int32_t end = start + 1;
    while (end < line.length && line.Dark(end) == line.Dark(start)) ++end;
    if (end - start >= 5) penalty += 3 + (end - start - 5);
    start = end;
  }
  return penalty;
}

bool LightSpan(const Line& line, std::int32_t from) {
  for (std::int32_t i = from; i < from + 4; ++i) {
    if (!line.LightOrOutside(i)) return false;
  }
  return true;
}

std::int32_t LineFinderLikePenalty(const Line& line) {
  static constexpr bool kPattern[7] = {true, false, true, true, true, false, true};
  std::int32_t penalty = 0;
  for (std::int32_t x = 0; x + 7 <= line.length; ++x) {
    bool match = true;
    for (std::int32_t k = 0; k < 7 && match; ++k) match = line.Dark(x + k) == kPattern[k];
    if (match && (LightSpan(line, x - 4) || LightSpan(line, x + 7))) penalty += 40;
  }
  return penalty;
}

std::int32_t Score(const std::uint8_t* modules, std::int32_t side) {
  std::int32_t penalty = 0;
  for (std::int32_t i = 0; i < side; ++i) {
    const Line row{modules + static_cast<std::ptrdiff_t>(i) * side, 1, side};
    const Line column{modules + i, side, side};
    penalty += LineRunPenalty(row) + LineRunPenalty(column);
    penalty += LineFinderLikePenalty(row) + LineFinderLikePenalty(column);
  }
  std::int64_t dark = 0;
  for (std::int32_t i = 0; i < side; ++i) {
    const std::uint8_t* row = modules + static_cast<std::ptrdiff_t>(i) * side;
    for (std::int32_t j = 0; j < side; ++j) {
      dark += row[j] != 0 ? 1 : 0;
      if (i + 1 < side && j + 1 < side) {
        const bool here = row[j] != 0;
        const std::uint8_t* below = row + side;
        if ((row[j + 1] != 0) == here && (below[j] != 0) == here && (below[j + 1] != 0) == here) {
          penalty += 3;
        }
      }
    }
  }
  const std::int64_t total = std::int64_t{side} * side;
  return penalty + static_cast<std::int32_t>(std::llabs(20 * dark - 10 * total) / total) * 10;
}

}  // namespace reference

std::vector<std::uint8_t> Grid(const QrEncoder& encoder) {
  const std::int32_t s = encoder.Side();
  std::vector<std::uint8_t> grid(static_cast<std::size_t>(s * s));
  for (std::int32_t r = 0; r < s; ++r) {
    for (std::int32_t c = 0; c < s; ++c) {
      grid[static_cast<std::size_t>(r * s + c)] = encoder.ModuleAt(r + 1, c + 1, true);
    }
  }
  return grid;
}

// The matrix the chooser sees, rebuilt from a finished symbol with mask 0:
// function modules as drawn, data modules flagged and unmasked.
std::vector<std::uint8_t> Placed(const QrEncoder& encoder, std::int32_t version) {
  std::vector<std::uint8_t> placed = encoder::FunctionMatrixOf(version);
  const std::int32_t s = encoder.Side(), stride = encoder::MatrixStride(s);
  for (std::int32_t r = 0; r < s; ++r) {
    for (std::int32_t c = 0; c < s; ++c) {
      std::uint8_t& cell = placed[static_cast<std::size_t>(r * stride + c)];
      if (cell != encoder::kFree) continue;
      const bool bit =
          (encoder.ModuleAt(r + 1, c + 1, true) != 0) != encoder::MaskCondition(0, r, c);
      cell = static_cast<std::uint8_t>(4 | (bit ? 1 : 0));
    }
  }
  return placed;
}

TEST(MaskChoice, SameScoresAndChoiceAsTheReferenceOnTenThousandSymbols) {
  std::mt19937 random(18004);
  encoder::QrTables tables;
  tables.Fill();
  QrEncoder encoder, chooser;
  for (int i = 0; i < 10000; ++i) {
    const std::int16_t version = static_cast<std::int16_t>(i < 2000 ? 1 + i % 40 : 1 + i % 10);
    const std::int16_t level = static_cast<std::int16_t>(1 + (i / 40) % 4);
    // Any bytes up to what byte mode holds, from alphabets that give every
    // mode its turn.
    static const std::string kAlphabets[] = {
        "0123456789", "0123456789ABCDEF $%*+-./:", "abcdefghijklmnopqrstuvwxyz", ""};
    const std::string& alphabet = kAlphabets[i % 4];
    Bytes content(random() % static_cast<unsigned>(tables.DataCodewords(version, level) - 2));
    for (std::uint8_t& b : content) {
      b = alphabet.empty() ? static_cast<std::uint8_t>(random())
                           : static_cast<std::uint8_t>(alphabet[random() % alphabet.size()]);
    }
    const auto n = static_cast<std::int32_t>(content.size());
    EncodeOptions options;
    options.version = version;
    options.level = level;
    options.chooseMask = true;
    ASSERT_NE(chooser.Encode(content, n, options), nullptr) << i;
    options.chooseMask.reset();

    const std::vector<std::uint8_t> chosen = Grid(chooser);

    std::array<std::int32_t, encoder::kMaskCount> expected{}, fast{}, byteGrid{};
    for (std::int16_t mask = 0; mask < encoder::kMaskCount; ++mask) {
      options.mask = mask;
      ASSERT_NE(encoder.Encode(content, n, options), nullptr) << i;
      const std::vector<std::uint8_t> grid = Grid(encoder);
      const auto m = static_cast<std::size_t>(mask);
      expected[m] = reference::Score(grid.data(), encoder.Side());
      byteGrid[m] = MaskPenaltyScore(grid.data(), encoder.Side(), encoder.Side());
      if (mask == 0) fast = encoder::ScoreMasks(Placed(encoder, version).data(), version, level);
      // The chosen symbol is the one a fixed request for its mask makes.
      if (mask == chooser.Mask()) {
        ASSERT_EQ(chosen, grid) << "symbol " << i;
      }
    }
    const auto best = std::min_element(expected.begin(), expected.end()) - expected.begin();
    ASSERT_EQ(fast, expected) << "symbol " << i << ", version " << version;
    ASSERT_EQ(byteGrid, expected) << "symbol " << i << ", version " << version;
    ASSERT_EQ(chooser.Mask(), best) << "symbol " << i << ", version " << version;
  }
}

}  // namespace
}  // namespace qrsmith
