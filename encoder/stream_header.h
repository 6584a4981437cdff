#pragma once
// The segments a QR Code bit stream may carry before its data (ISO/IEC 18004
// sections 7.4.2, 7.4.3 and 7.4.8): a structured-append header that places
// the symbol in a sequence, an ECI designator that names the character set
// of the bytes, and an FNC1 indicator that marks GS1 or industry data. They
// are written in that order, each once, ahead of the first data segment.

#include <cstdint>
#include <optional>

namespace qrsmith::encoder {

class PackedBitWriter;

// One symbol of a structured-append sequence: position 1..total, total
// 2..16, and the parity byte, the XOR of every byte of the whole data.
struct StructuredAppendHeader {
  std::int32_t position = 1;
  std::int32_t total = 2;
  std::uint8_t parity = 0;
};

// FNC1 in the first position (GS1 data: FNC1 characters stand for GS, and
// alphanumeric mode writes them as '%' and a literal '%' as "%%"), or in the
// second position after an application indicator, which is written as it
// is coded: 0..99 for two digits, a letter's ASCII value + 100 for a letter.
struct Fnc1 {
  bool firstPosition = true;
  std::uint8_t applicationIndicator = 0;
};

struct StreamHeader {
  std::optional<StructuredAppendHeader> structuredAppend;
  std::optional<std::int32_t> eci;  // ECI assignment, 0..999999
  std::optional<Fnc1> fnc1;
};

// ECI assignments run from 0 to 999999 (a designator of up to three bytes).
inline constexpr std::int32_t kMaxEciAssignment = 999999;
// A sequence holds at most 16 symbols (the 4-bit position and total fields).
inline constexpr std::int32_t kMaxStructuredAppendSymbols = 16;

// Whether every field is within its range.
bool IsValid(const StreamHeader& header);

// The bits the header segments take: 20 for structured append, 12, 20 or 28
// for an ECI designator of one, two or three bytes, 4 for FNC1 in the first
// position and 12 in the second.
std::int32_t HeaderBits(const StreamHeader& header);

// Writes the header segments (nothing when the header is empty).
void WriteHeader(const StreamHeader& header, PackedBitWriter& writer);

// The ECI designator of an assignment 0..999999 after its mode indicator:
// its length in bits (8, 16 or 24), and the writing of it.
std::int32_t EciDesignatorBits(std::int32_t assignment);
void WriteEciDesignator(std::int32_t assignment, PackedBitWriter& writer);

// The structured-append parity of data: the XOR of all its bytes.
std::uint8_t StructuredAppendParity(const std::uint8_t* data, std::size_t n);

}  // namespace qrsmith::encoder
