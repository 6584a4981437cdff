#include "encoder/micro_qr_tables.h"

#include <array>

#include "encoder/qr_tables.h"

namespace qrsmith::encoder {
namespace {

// ISO/IEC 18004 Table 9 (Micro QR rows) by symbol number: version, level, data
// bits (the data codewords, a final 4-bit one counted as 4) and
// error-correction codewords.
constexpr std::array<MicroQrSymbol, kMicroSymbolCount> kSymbols = {{
    {0, 1, 1, 20, 2},    // M1, error detection only
    {1, 2, 1, 40, 5},    // M2-L
    {2, 2, 2, 32, 6},    // M2-M
    {3, 3, 1, 84, 6},    // M3-L
    {4, 3, 2, 68, 8},    // M3-M
    {5, 4, 1, 128, 8},   // M4-L
    {6, 4, 2, 112, 10},  // M4-M
    {7, 4, 3, 80, 14},   // M4-Q
}};

// Character-count widths (ISO/IEC 18004 Table 3) by version - 1, in mode
// order byte, numeric, alphanumeric, Kanji; 0 where the version lacks the mode.
constexpr std::array<std::array<std::int32_t, kModeCount>, kMicroVersionCount> kCountWidths = {{
    {0, 3, 0, 0},
    {0, 4, 3, 0},
    {4, 5, 4, 3},
    {5, 6, 5, 4},
}};

// Mode indicators (ISO/IEC 18004 Table 2): numeric 0, alphanumeric 1, byte 2,
// Kanji 3, in 0..3 bits by version (M1 has numeric mode only and no indicator).
constexpr std::array<std::uint32_t, kModeCount> kIndicators = {2, 0, 1, 3};

constexpr std::int32_t kFormatPolynomial = 0x537;  // the BCH (15,5) code of QR Code
constexpr std::int32_t kMicroFormatMask = 0x4445;

}  // namespace

std::optional<MicroQrSymbol> FindMicroQrSymbol(std::int32_t version, std::int32_t level) {
  for (const MicroQrSymbol& symbol : kSymbols) {
    if (symbol.version == version && symbol.level == level) return symbol;
  }
  return std::nullopt;
}

StreamFormat MicroQrStreamFormat(std::int32_t version) {
  StreamFormat format;
  format.countWidths = kCountWidths[static_cast<std::size_t>(version - 1)];
  format.indicators = kIndicators;
  format.indicatorBits = version - 1;
  // The terminator is 3, 5, 7 or 9 zero bits (ISO/IEC 18004 Table 2).
  format.terminatorBits = 2 * version + 1;
  return format;
}

std::int32_t MicroQrFormatInformation(std::int32_t symbolNumber, std::int32_t mask) {
  const std::int32_t data = (symbolNumber << 2) | mask;
  return ((data << 10) | BchRemainder(data, kFormatPolynomial, 0x400, 10)) ^ kMicroFormatMask;
}

}  // namespace qrsmith::encoder
