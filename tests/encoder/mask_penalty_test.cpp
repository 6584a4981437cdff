#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encoder/detail/mask_penalty_rules.h"

namespace qrsmith {
namespace {

// A square grid from rows of '#' (dark) and '.' (light).
struct Grid {
  explicit Grid(const std::vector<std::string>& rows) : side(static_cast<int>(rows.size())) {
    for (const std::string& row : rows) {
      for (const char c : row) cells.push_back(c == '#' ? 1 : 0);
    }
  }
  const std::uint8_t* data() const { return cells.data(); }
  int side;
  std::vector<std::uint8_t> cells;
};

TEST(MaskPenalty, RuleOneRunsOfFiveOrMore) {
  // Row 0 is one run of 6: 3 + 1. The checkerboard below has no runs; no
  // column has a run either.
  const Grid grid({"######", ".#.#.#", "#.#.#.", ".#.#.#", "#.#.#.", ".#.#.#"});
  EXPECT_EQ(RunPenalty(grid.data(), 6, 6), 4);
  const Grid light({".....", ".....", ".....", ".....", "....."});
  EXPECT_EQ(RunPenalty(light.data(), 5, 5), 10 * 3);  // five rows and five columns
}

TEST(MaskPenalty, RuleTwoBlocksOfOneColour) {
  EXPECT_EQ(BlockPenalty(Grid({"###", "###", "###"}).data(), 3, 3), 4 * 3);
  EXPECT_EQ(BlockPenalty(Grid({"###", "#.#", "###"}).data(), 3, 3), 0);
  EXPECT_EQ(BlockPenalty(Grid({"..#", "..#", "##."}).data(), 3, 3), 3);
}

TEST(MaskPenalty, RuleThreeFinderLikePatterns) {
  struct Case {
    std::string row;
    int penalty;
  };
  const Case cases[] = {
      {"#.###.#....", 40},                    // light after
      {"....#.###.#", 40},                    // light before
      {"#.###.#", 40},                        // the edges count as light
      {"#.#.#.#", 0},      {"##.###.##", 0},  // dark on both sides
      {"#.#.###.#.#", 0},                     // fewer than four light modules on either side
  };
  for (const Case& c : cases) {
    // The row on top of an otherwise light square grid; columns hold one
    // dark module at most, so only the row can match.
    std::vector<std::string> rows(c.row.size(), std::string(c.row.size(), '.'));
    rows[0] = c.row;
    const Grid grid(rows);
    EXPECT_EQ(FinderLikePenalty(grid.data(), grid.side, grid.side), c.penalty) << c.row;
  }
}

TEST(MaskPenalty, RuleFourBalanceOfDarkModules) {
  struct Case {
    int dark, penalty;
  };
  for (const Case c : {Case{50, 0}, Case{54, 0}, Case{55, 10}, Case{45, 10}, Case{60, 20},
                       Case{0, 100}, Case{100, 100}}) {
    std::vector<std::uint8_t> cells(100, 0);
    std::fill_n(cells.begin(), c.dark, 1);
    EXPECT_EQ(BalancePenalty(cells.data(), 10, 10), c.penalty) << c.dark;
  }
}

TEST(MaskPenalty, ScoreSumsTheRules) {
  const Grid light({".....", ".....", ".....", ".....", "....."});
  EXPECT_EQ(MaskPenaltyScore(light.data(), 5, 5), 30 + 48 + 0 + 100);
  EXPECT_EQ(MaskPenaltyScore(nullptr, 5, 5), 0);
}

}  // namespace
}  // namespace qrsmith
