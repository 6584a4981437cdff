#include <gtest/gtest.h>

#include "encoder/qr_tables.h"

namespace qrsmith::encoder {
namespace {

TEST(QrTables, PerVersionQuantities) {
  struct Case {
    std::int32_t version, size, coordinates, patterns, modules, codewords;
  };
  for (const Case c :
       {Case{1, 21, 1, 0, 208, 26}, Case{2, 25, 2, 1, 359, 44}, Case{7, 45, 3, 6, 1568, 196},
        Case{14, 73, 4, 13, 4651, 581}, Case{40, 177, 7, 46, 29648, 3706},
        Case{-1, 11, 1, 0, 36, 5}, Case{-2, 13, 1, 0, 80, 10}, Case{-3, 15, 1, 0, 132, 17},
        Case{-4, 17, 1, 0, 192, 24}, Case{0, 0, 1, 0, 0, 0}, Case{41, 0, 7, 46, 0, 0},
        Case{-5, 0, 1, 0, 0, 0}}) {
    EXPECT_EQ(SymbolSize(c.version), c.size) << c.version;
    EXPECT_EQ(AlignmentCoordinateCount(c.version), c.coordinates) << c.version;
    EXPECT_EQ(AlignmentPatternCount(c.version), c.patterns) << c.version;
    EXPECT_EQ(DataModuleCount(c.version), c.modules) << c.version;
    EXPECT_EQ(CodewordCount(c.version), c.codewords) << c.version;
  }
}

// ISO/IEC 18004 Table 9 written out plainly: per version, blocks and parity
// codewords per block at L, M, Q, H. The packed constants must unpack to it.
TEST(QrTables, PackedBlockTablesEqualTable9) {
  struct Row {
    int blocks[4], parity[4];
  };
  const Row table9[40] = {
      {{1, 1, 1, 1}, {7, 10, 13, 17}},      {{1, 1, 1, 1}, {10, 16, 22, 28}},
      {{1, 1, 2, 2}, {15, 26, 18, 22}},     {{1, 2, 2, 4}, {20, 18, 26, 16}},
      {{1, 2, 4, 4}, {26, 24, 18, 22}},     {{2, 4, 4, 4}, {18, 16, 24, 28}},
      {{2, 4, 6, 5}, {20, 18, 18, 26}},     {{2, 4, 6, 6}, {24, 22, 22, 26}},
      {{2, 5, 8, 8}, {30, 22, 20, 24}},     {{4, 5, 8, 8}, {18, 26, 24, 28}},
      {{4, 5, 8, 11}, {20, 30, 28, 24}},    {{4, 8, 10, 11}, {24, 22, 26, 28}},
      {{4, 9, 12, 16}, {26, 22, 24, 22}},   {{4, 9, 16, 16}, {30, 24, 20, 24}},
      {{6, 10, 12, 18}, {22, 24, 30, 24}},  {{6, 10, 17, 16}, {24, 28, 24, 30}},
      {{6, 11, 16, 19}, {28, 28, 28, 28}},  {{6, 13, 18, 21}, {30, 26, 28, 28}},
      {{7, 14, 21, 25}, {28, 26, 26, 26}},  {{8, 16, 20, 25}, {28, 26, 30, 28}},
      {{8, 17, 23, 25}, {28, 26, 28, 30}},  {{9, 17, 23, 34}, {28, 28, 30, 24}},
      {{9, 18, 25, 30}, {30, 28, 30, 30}},  {{10, 20, 27, 32}, {30, 28, 30, 30}},
      {{12, 21, 29, 35}, {26, 28, 30, 30}}, {{12, 23, 34, 37}, {28, 28, 28, 30}},
      {{12, 25, 34, 40}, {30, 28, 30, 30}}, {{13, 26, 35, 42}, {30, 28, 30, 30}},
      {{14, 28, 38, 45}, {30, 28, 30, 30}}, {{15, 29, 40, 48}, {30, 28, 30, 30}},
      {{16, 31, 43, 51}, {30, 28, 30, 30}}, {{17, 33, 45, 54}, {30, 28, 30, 30}},
      {{18, 35, 48, 57}, {30, 28, 30, 30}}, {{19, 37, 51, 60}, {30, 28, 30, 30}},
      {{19, 38, 53, 63}, {30, 28, 30, 30}}, {{20, 40, 56, 66}, {30, 28, 30, 30}},
      {{21, 43, 59, 70}, {30, 28, 30, 30}}, {{22, 45, 62, 74}, {30, 28, 30, 30}},
      {{24, 47, 65, 77}, {30, 28, 30, 30}}, {{25, 49, 68, 81}, {30, 28, 30, 30}},
  };
  QrTables tables;
  tables.Fill();
  for (int v = 0; v < 40; ++v) {
    for (int l = 0; l < 4; ++l) {
      EXPECT_EQ(tables.blockCount[v][l], table9[v].blocks[l])
          << "version " << v + 1 << " level " << l + 1;
      EXPECT_EQ(tables.blockParity[v][l], table9[v].parity[l])
          << "version " << v + 1 << " level " << l + 1;
    }
  }
  const std::int32_t v1[] = {19, 16, 13, 9};
  for (int l = 1; l <= 4; ++l) EXPECT_EQ(tables.DataCodewords(1, l), v1[l - 1]);
  EXPECT_EQ(tables.DataCodewords(40, 1), 2956);
  EXPECT_EQ(tables.DataCodewords(40, 4), 1276);
  EXPECT_EQ(tables.alignmentStep[5], 255);
  const int steps[] = {16, 18, 20, 22, 24, 26, 28, 20, 22, 24, 24, 26, 28, 28, 22, 24, 24,
                       26, 26, 28, 28, 24, 24, 26, 26, 26, 28, 28, 24, 26, 26, 26, 28, 28};
  for (int v = 7; v <= 40; ++v) EXPECT_EQ(tables.alignmentStep[v - 1], steps[v - 7]) << v;
}

TEST(QrTables, FormatAndVersionInformation) {
  EXPECT_EQ(BchRemainder(0, 0x537, 0x400, 10), 0);
  EXPECT_EQ(FormatInformation(2, 0), 0b101010000010010);
  EXPECT_EQ(FormatInformation(2, 5), 0b100000011001110);
  EXPECT_EQ(FormatInformation(1, 0), 0b111011111000100);  // L, mask 0
  EXPECT_EQ(FormatInformation(4, 7), 0b000100000111011);  // H, mask 7
  EXPECT_EQ(VersionInformation(7), 0b000111110010010100);
  EXPECT_EQ(VersionInformation(40), 0b101000110001101001);
}

TEST(QrTables, CountFieldWidthsByVersionGroup) {
  EXPECT_EQ(VersionGroup(9), 2);
  EXPECT_EQ(VersionGroup(10), 4);
  EXPECT_EQ(VersionGroup(27), 6);
  EXPECT_EQ(CountFieldWidths(2), (std::array<std::int32_t, 4>{8, 10, 9, 8}));
  EXPECT_EQ(CountFieldWidths(4), (std::array<std::int32_t, 4>{16, 12, 11, 10}));
  EXPECT_EQ(SegmentLimits(6), (std::array<std::int32_t, 4>{65535, 16383, 8191, 4095}));
}

}  // namespace
}  // namespace qrsmith::encoder
