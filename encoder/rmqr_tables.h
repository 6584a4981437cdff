#pragma once
// The per-size quantities of the rectangular Micro QR Code (rMQR, ISO/IEC
// 23941): the 32 sizes from R7x43 to R17x139 with their codewords and
// error-correction blocks at levels M and H, the columns of their alignment
// patterns, the stream format of each size, and the format information.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <qrsmith/encoder/bit_stream.h>

namespace qrsmith::encoder {

inline constexpr std::int32_t kRmqrSizeCount = 32;
// The levels rMQR has, in QR Code's numbering: M and H.
inline constexpr std::int32_t kRmqrLevelM = 2;
inline constexpr std::int32_t kRmqrLevelH = 4;

// One level of one size: its data codewords and its Reed-Solomon blocks,
// each with the same number of parity codewords.
struct RmqrCodewords {
  std::int32_t data;
  std::int32_t blocks;
  std::int32_t parityPerBlock;
};

// One size, numbered 1..32 in the order R7x43, R7x59, ... R17x139 (the size
// indicator of the format information is the number less one).
struct RmqrSize {
  std::int32_t number;  // 1..32
  std::int32_t height;  // 7, 9, 11, 13, 15 or 17
  std::int32_t width;   // 27, 43, 59, 77, 99 or 139
  std::int32_t total;   // codewords the data modules hold
  RmqrCodewords m, h;
};

// The size of a number 1..32, or nullopt.
std::optional<RmqrSize> FindRmqrSize(std::int32_t number);
// The size named "R<height>x<width>" (in either case), or nullopt.
std::optional<RmqrSize> FindRmqrSize(std::string_view name);
// "R<height>x<width>".
std::string RmqrSizeName(const RmqrSize& size);

// The codewords of a size at level 2 (M) or 4 (H).
const RmqrCodewords& RmqrCodewordsAt(const RmqrSize& size, std::int32_t level);

// The size numbers from the smallest symbol to the largest: by area, then
// by height.
std::span<const std::int32_t> RmqrSizesByArea();

// The centre columns of the alignment patterns of a width.
std::span<const std::int32_t> RmqrAlignmentColumns(std::int32_t width);

// Mode indicators, count widths and terminator of a size 1..32.
StreamFormat RmqrStreamFormat(std::int32_t number);

// The 18 format information bits of a level 2 or 4 and a size 1..32: the
// level bit and the 5-bit size indicator, 12 BCH check bits, XORed with the
// mask of the copy beside the finder (subFinder false) or beside the
// sub-finder (true).
std::int32_t RmqrFormatInformation(std::int32_t level, std::int32_t number, bool subFinder);

}  // namespace qrsmith::encoder
