#include "encoder/stream_header.h"

#include "encoder/bit_stream.h"

namespace qrsmith::encoder {
namespace {

// Mode indicators (ISO/IEC 18004 Table 2).
constexpr std::uint32_t kStructuredAppendIndicator = 0b0011;
constexpr std::uint32_t kEciIndicator = 0b0111;
constexpr std::uint32_t kFnc1FirstIndicator = 0b0101;
constexpr std::uint32_t kFnc1SecondIndicator = 0b1001;

// ECI designators (ISO/IEC 18004 Table 4): 0bbbbbbb up to 127, 10 and 14 bits
// up to 16383, 110 and 21 bits up to 999999.
constexpr std::int32_t kOneByteEci = 127;
constexpr std::int32_t kTwoByteEci = 16383;

}  // namespace

std::int32_t EciDesignatorBits(std::int32_t assignment) {
  return assignment <= kOneByteEci ? 8 : assignment <= kTwoByteEci ? 16 : 24;
}

void WriteEciDesignator(std::int32_t assignment, PackedBitWriter& writer) {
  const auto eci = static_cast<std::uint32_t>(assignment);
  switch (EciDesignatorBits(assignment)) {
    case 8:
      writer.Put(eci, 8);
      break;
    case 16:
      writer.Put(0b10, 2);
      writer.Put(eci, 14);
      break;
    default:
      writer.Put(0b110, 3);
      writer.Put(eci, 21);
      break;
  }
}

bool IsValid(const StreamHeader& header) {
  if (const auto& sa = header.structuredAppend) {
    if (sa->total < 2 || sa->total > kMaxStructuredAppendSymbols || sa->position < 1 ||
        sa->position > sa->total) {
      return false;
    }
  }
  if (header.eci && (*header.eci < 0 || *header.eci > kMaxEciAssignment)) return false;
  return true;
}

std::int32_t HeaderBits(const StreamHeader& header) {
  std::int32_t bits = 0;
  if (header.structuredAppend) bits += 4 + 4 + 4 + 8;
  if (header.eci) bits += 4 + EciDesignatorBits(*header.eci);
  if (header.fnc1) bits += header.fnc1->firstPosition ? 4 : 4 + 8;
  return bits;
}

void WriteHeader(const StreamHeader& header, PackedBitWriter& writer) {
  if (const auto& sa = header.structuredAppend) {
    writer.Put(kStructuredAppendIndicator, 4);
    writer.Put(static_cast<std::uint32_t>(sa->position - 1), 4);
    writer.Put(static_cast<std::uint32_t>(sa->total - 1), 4);
    writer.Put(sa->parity, 8);
  }
  if (header.eci) {
    writer.Put(kEciIndicator, 4);
    WriteEciDesignator(*header.eci, writer);
  }
  if (header.fnc1) {
    if (header.fnc1->firstPosition) {
      writer.Put(kFnc1FirstIndicator, 4);
    } else {
      writer.Put(kFnc1SecondIndicator, 4);
      writer.Put(header.fnc1->applicationIndicator, 8);
    }
  }
}

std::uint8_t StructuredAppendParity(const std::uint8_t* data, std::size_t n) {
  std::uint8_t parity = 0;
  for (std::size_t i = 0; i < n; ++i) parity ^= data[i];
  return parity;
}

}  // namespace qrsmith::encoder
