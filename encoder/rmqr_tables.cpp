#include "encoder/rmqr_tables.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "encoder/qr_tables.h"

namespace qrsmith::encoder {
namespace {

// ISO/IEC 23941, the tables of sizes and of error-correction blocks: height, width, total
// codewords, and for M and H the data codewords, the blocks and the parity codewords of each block.
// A size's data codewords split into blocks as in QR Code, the shorter first.
constexpr std::array<RmqrSize, kRmqrSizeCount> kSizes = {{
    {1, 7, 43, 13, {6, 1, 7}, {3, 1, 10}},         {2, 7, 59, 21, {12, 1, 9}, {7, 1, 14}},
    {3, 7, 77, 32, {20, 1, 12}, {10, 1, 22}},      {4, 7, 99, 44, {28, 1, 16}, {14, 1, 30}},
    {5, 7, 139, 68, {44, 1, 24}, {24, 2, 22}},     {6, 9, 43, 21, {12, 1, 9}, {7, 1, 14}},
    {7, 9, 59, 33, {21, 1, 12}, {11, 1, 22}},      {8, 9, 77, 49, {31, 1, 18}, {17, 2, 16}},
    {9, 9, 99, 66, {42, 1, 24}, {22, 2, 22}},      {10, 9, 139, 99, {63, 2, 18}, {33, 3, 22}},
    {11, 11, 27, 15, {7, 1, 8}, {5, 1, 10}},       {12, 11, 43, 31, {19, 1, 12}, {11, 1, 20}},
    {13, 11, 59, 47, {31, 1, 16}, {15, 2, 16}},    {14, 11, 77, 67, {43, 1, 24}, {23, 2, 22}},
    {15, 11, 99, 89, {57, 2, 16}, {29, 2, 30}},    {16, 11, 139, 132, {84, 2, 24}, {42, 3, 30}},
    {17, 13, 27, 21, {12, 1, 9}, {7, 1, 14}},      {18, 13, 43, 41, {27, 1, 14}, {13, 1, 28}},
    {19, 13, 59, 60, {38, 1, 22}, {20, 2, 20}},    {20, 13, 77, 85, {53, 2, 16}, {29, 2, 28}},
    {21, 13, 99, 113, {73, 2, 20}, {35, 3, 26}},   {22, 13, 139, 166, {106, 3, 20}, {54, 4, 28}},
    {23, 15, 43, 51, {33, 1, 18}, {15, 2, 18}},    {24, 15, 59, 74, {48, 1, 26}, {26, 2, 24}},
    {25, 15, 77, 103, {67, 2, 18}, {31, 3, 24}},   {26, 15, 99, 136, {88, 2, 24}, {48, 4, 22}},
    {27, 15, 139, 199, {127, 3, 24}, {69, 5, 26}}, {28, 17, 43, 61, {39, 1, 22}, {21, 2, 20}},
    {29, 17, 59, 88, {56, 2, 16}, {28, 2, 30}},    {30, 17, 77, 122, {78, 2, 22}, {38, 3, 28}},
    {31, 17, 99, 160, {100, 3, 20}, {56, 4, 26}},  {32, 17, 139, 232, {152, 4, 20}, {76, 6, 26}},
}};

// Character-count widths (ISO/IEC 23941, the character count indicator table) by size number - 1,
// in mode order byte, numeric, alphanumeric, Kanji.
constexpr std::array<std::array<std::int32_t, kModeCount>, kRmqrSizeCount> kCountWidths = {{
    {3, 4, 3, 2}, {4, 5, 5, 3}, {5, 6, 5, 4}, {5, 7, 6, 5}, {6, 7, 6, 5},  // R7
    {4, 5, 5, 3}, {5, 6, 5, 4}, {5, 7, 6, 5}, {6, 7, 6, 5}, {6, 8, 7, 6},  // R9
    {3, 4, 4, 2}, {5, 6, 5, 4}, {5, 7, 6, 5}, {6, 7, 6, 5}, {6, 8, 7, 6},  // R11
    {7, 8, 7, 6},                                                          // R11x139
    {4, 5, 5, 3}, {5, 6, 6, 5}, {6, 7, 6, 5}, {6, 7, 7, 6}, {7, 8, 7, 6},  // R13
    {7, 8, 8, 7},                                                          // R13x139
    {6, 7, 6, 5}, {6, 7, 7, 5}, {7, 8, 7, 6}, {7, 8, 7, 6}, {7, 9, 8, 7},  // R15
    {6, 7, 6, 5}, {6, 8, 7, 6}, {7, 8, 7, 6}, {7, 8, 8, 6}, {8, 9, 8, 7},  // R17
}};

// Mode indicators (ISO/IEC 23941, the mode indicator table), 3 bits: numeric 001,
// alphanumeric 010, byte 011, Kanji 100; in mode order byte, numeric,
// alphanumeric, Kanji.
constexpr std::array<std::uint32_t, kModeCount> kIndicators = {3, 1, 2, 4};

// Alignment pattern centre columns by width (ISO/IEC 23941 Annex D).
constexpr std::array<std::int32_t, 1> kColumns43 = {21};
constexpr std::array<std::int32_t, 2> kColumns59 = {19, 39};
constexpr std::array<std::int32_t, 2> kColumns77 = {25, 51};
constexpr std::array<std::int32_t, 3> kColumns99 = {23, 49, 75};
constexpr std::array<std::int32_t, 4> kColumns139 = {27, 55, 83, 111};

// The BCH (18,6) code of the format information: QR Code's version
// information polynomial x^12 + x^11 + x^10 + x^9 + x^8 + x^5 + x^2 + 1, and
// the masks of the two copies (ISO/IEC 23941, format information).
constexpr std::int32_t kFormatPolynomial = 0x1F25;
constexpr std::int32_t kFinderSideMask = 0x1FAB2;
constexpr std::int32_t kSubFinderSideMask = 0x20A7B;

constexpr std::array<std::int32_t, kRmqrSizeCount> SortedByArea() {
  std::array<std::int32_t, kRmqrSizeCount> order{};
  for (std::int32_t i = 0; i < kRmqrSizeCount; ++i) order[static_cast<std::size_t>(i)] = i + 1;
  std::sort(order.begin(), order.end(), [](std::int32_t a, std::int32_t b) {
    const RmqrSize& x = kSizes[static_cast<std::size_t>(a - 1)];
    const RmqrSize& y = kSizes[static_cast<std::size_t>(b - 1)];
    const std::int32_t areaX = x.height * x.width, areaY = y.height * y.width;
    return areaX != areaY ? areaX < areaY : x.height < y.height;
  });
  return order;
}
constexpr std::array<std::int32_t, kRmqrSizeCount> kByArea = SortedByArea();

}  // namespace

std::optional<RmqrSize> FindRmqrSize(std::int32_t number) {
  if (number < 1 || number > kRmqrSizeCount) return std::nullopt;
  return kSizes[static_cast<std::size_t>(number - 1)];
}

std::optional<RmqrSize> FindRmqrSize(std::string_view name) {
  auto lower = [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  };
  for (const RmqrSize& size : kSizes) {
    const std::string own = RmqrSizeName(size);
    if (std::equal(name.begin(), name.end(), own.begin(), own.end(),
                   [&](char a, char b) { return lower(a) == lower(b); })) {
      return size;
    }
  }
  return std::nullopt;
}

std::string RmqrSizeName(const RmqrSize& size) {
  std::string name = "R";
  name += std::to_string(size.height);
  name += 'x';
  name += std::to_string(size.width);
  return name;
}

const RmqrCodewords& RmqrCodewordsAt(const RmqrSize& size, std::int32_t level) {
  const RmqrSize& own = kSizes[static_cast<std::size_t>(size.number - 1)];
  return level == kRmqrLevelH ? own.h : own.m;
}

std::span<const std::int32_t> RmqrSizesByArea() { return kByArea; }

std::span<const std::int32_t> RmqrAlignmentColumns(std::int32_t width) {
  switch (width) {
    case 43:
      return kColumns43;
    case 59:
      return kColumns59;
    case 77:
      return kColumns77;
    case 99:
      return kColumns99;
    case 139:
      return kColumns139;
    default:
      return {};
  }
}

StreamFormat RmqrStreamFormat(std::int32_t number) {
  StreamFormat format;
  format.countWidths = kCountWidths[static_cast<std::size_t>(number - 1)];
  format.indicators = kIndicators;
  format.indicatorBits = 3;
  format.terminatorBits = 3;
  return format;
}

std::int32_t RmqrFormatInformation(std::int32_t level, std::int32_t number, bool subFinder) {
  const std::int32_t data = ((level == kRmqrLevelH ? 1 : 0) << 5) | (number - 1);
  const std::int32_t word = (data << 12) | BchRemainder(data, kFormatPolynomial, 0x1000, 12);
  return word ^ (subFinder ? kSubFinderSideMask : kFinderSideMask);
}

}  // namespace qrsmith::encoder
