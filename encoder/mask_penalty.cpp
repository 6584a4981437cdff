#include "encoder/mask_penalty.h"

#include <cstdlib>
#include <vector>

#include "encoder/mask.h"

namespace qrsmith {
namespace {

// A line of modules: a row (step 1) or a column (step = stride).
struct Line {
  const std::uint8_t* first;
  std::int32_t step;
  std::int32_t length;
  bool Dark(std::int32_t i) const { return first[static_cast<std::ptrdiff_t>(i) * step] != 0; }
  // Modules outside the line are light, like the quiet zone around a symbol.
  bool LightOrOutside(std::int32_t i) const { return i < 0 || i >= length || !Dark(i); }
};

std::int32_t LineRunPenalty(const Line& line) {
  std::int32_t penalty = 0;
  for (std::int32_t start = 0; start < line.length;) {
    std::int32_t end = start + 1;
    while (end < line.length && line.Dark(end) == line.Dark(start)) ++end;
    if (end - start >= 5) penalty += kPenaltyRun + (end - start - 5);
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

// Dark-light-dark-dark-dark-light-dark (1:1:3:1:1) with four light modules
// before or after it; each such pattern counts once.
std::int32_t LineFinderLikePenalty(const Line& line) {
  static constexpr bool kPattern[7] = {true, false, true, true, true, false, true};
  std::int32_t penalty = 0;
  for (std::int32_t x = 0; x + 7 <= line.length; ++x) {
    bool match = true;
    for (std::int32_t k = 0; k < 7 && match; ++k) match = line.Dark(x + k) == kPattern[k];
    if (match && (LightSpan(line, x - 4) || LightSpan(line, x + 7))) penalty += kPenaltyFinderLike;
  }
  return penalty;
}

bool Valid(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  return modules != nullptr && side >= 1 && stride >= side;
}

// Sum of a line rule over every row and every column.
template <class Rule>
std::int32_t OverLines(const std::uint8_t* modules, std::int32_t side, std::int32_t stride,
                       Rule rule) {
  if (!Valid(modules, side, stride)) return 0;
  std::int32_t penalty = 0;
  for (std::int32_t i = 0; i < side; ++i) {
    penalty += rule(Line{modules + static_cast<std::ptrdiff_t>(i) * stride, 1, side});
    penalty += rule(Line{modules + i, stride, side});
  }
  return penalty;
}

}  // namespace

std::int32_t RunPenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  return OverLines(modules, side, stride, LineRunPenalty);
}

std::int32_t FinderLikePenalty(const std::uint8_t* modules, std::int32_t side,
                               std::int32_t stride) {
  return OverLines(modules, side, stride, LineFinderLikePenalty);
}

std::int32_t BlockPenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  if (!Valid(modules, side, stride)) return 0;
  std::int32_t penalty = 0;
  for (std::int32_t i = 0; i + 1 < side; ++i) {
    const std::uint8_t* row = modules + static_cast<std::ptrdiff_t>(i) * stride;
    const std::uint8_t* below = row + stride;
    for (std::int32_t j = 0; j + 1 < side; ++j) {
      const bool here = row[j] != 0;
      if ((row[j + 1] != 0) == here && (below[j] != 0) == here && (below[j + 1] != 0) == here) {
        penalty += kPenaltyBlock;
      }
    }
  }
  return penalty;
}

std::int32_t BalancePenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  if (!Valid(modules, side, stride)) return 0;
  std::int64_t dark = 0;
  for (std::int32_t i = 0; i < side; ++i) {
    const std::uint8_t* row = modules + static_cast<std::ptrdiff_t>(i) * stride;
    for (std::int32_t j = 0; j < side; ++j) dark += row[j] != 0 ? 1 : 0;
  }
  // k whole steps of 5 % between the dark share and 50 %.
  const std::int64_t total = std::int64_t{side} * side;
  return static_cast<std::int32_t>(std::llabs(20 * dark - 10 * total) / total) * kPenaltyBalance;
}

std::int32_t MaskPenaltyScore(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  return RunPenalty(modules, side, stride) + BlockPenalty(modules, side, stride) +
         FinderLikePenalty(modules, side, stride) + BalancePenalty(modules, side, stride);
}

std::int32_t MaskPenaltyScore(const QrEncoder& encoder) {
  const std::int32_t s = encoder.Side();
  if (s < 1) return 0;
  std::vector<std::uint8_t> grid(static_cast<std::size_t>(s) * static_cast<std::size_t>(s));
  for (std::int32_t r = 0; r < s; ++r) {
    for (std::int32_t c = 0; c < s; ++c) {
      grid[static_cast<std::size_t>(r * s + c)] = encoder.ModuleAt(r + 1, c + 1, true);
    }
  }
  return MaskPenaltyScore(grid.data(), s, s);
}

std::int16_t ChooseBestMask(const QrEncoder& base, const Bytes& data, std::int32_t n,
                            const EncodeOptions& options) {
  QrEncoder trial = base;
  EncodeOptions each = options;
  // Margins and colours do not change the modules; the smallest picture will do.
  each.left = each.top = each.right = each.bottom = 0;
  std::int16_t best = -1;
  std::int32_t bestScore = 0;
  for (std::int16_t mask = 0; mask < encoder::kMaskCount; ++mask) {
    each.mask = mask;
    if (trial.Encode(data, n, each) == nullptr) return -1;
    const std::int32_t score = MaskPenaltyScore(trial);
    if (best < 0 || score < bestScore) {
      best = mask;
      bestScore = score;
    }
  }
  return best;
}

}  // namespace qrsmith
