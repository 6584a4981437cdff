#pragma once
// QrEncoder: content bytes and options in, a QR Code module matrix and a
// one-pixel-per-module symbol bitmap out (ISO/IEC 18004 Model 2, versions 1-40).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "encoder/galois_field.h"
#include "encoder/reed_solomon_encoder.h"
#include "platform/bitmap.h"
#include "platform/types.h"

namespace qrsmith {

// Options of one Encode call. Each member left out takes its default; a
// supplied 0 is not "left out".
struct EncodeOptions {
  std::optional<std::int16_t> version;     // 1..40 fixed; 0 or >40 automatic; <0 refused. Default 0.
  std::optional<std::int16_t> level;       // 1 L, 2 M, 3 Q, 4 H; anything else 2. Default 2.
  std::optional<std::int16_t> mask;        // 0..7; anything else mask 0. Default -1.
  std::optional<Colour> foreground;        // dark modules, 0x00BBGGRR. Default black.
  std::optional<Colour> background;        // light modules and margins. Default white.
  std::optional<std::int32_t> left, top, right, bottom;  // margins in modules. Default 0.
  // Whether byte pairs that form Shift-JIS characters may go into Kanji mode.
  // Readers decode Kanji mode as Shift-JIS, so only Shift-JIS content should
  // allow it. Default true.
  std::optional<bool> allowKanji;
};

class QrEncoder {
 public:
  QrEncoder();
  QrEncoder(const QrEncoder&) = default;  // deep copy: every member is a value
  QrEncoder& operator=(const QrEncoder&) = default;

  // Per-version quantities; versions 1..40 and -1..-4 (Micro QR M1..M4).
  std::int32_t DataModuleCount(std::int32_t version) const;
  std::int32_t CodewordCount(std::int32_t version) const;
  std::int32_t SymbolSize(std::int32_t version) const;
  std::int32_t AlignmentCoordinateCount(std::int32_t version) const;
  std::int32_t AlignmentPatternCount(std::int32_t version) const;

  // Encodes the first n bytes of data. Returns the new symbol bitmap, or null
  // when nothing was encoded (the stored matrix and margins then stay as they were).
  std::shared_ptr<const platform::Bitmap> Encode(const Bytes& data, std::int32_t n,
                                                 const EncodeOptions& options = {});

  // Reads one module back (0 light, 1 dark). raw: p, q are 1-based row and
  // column of the module matrix. Not raw: 1-based row and column of the symbol
  // bitmap's frame, margins included; positions outside the matrix read 0.
  std::uint8_t ModuleAt(std::int32_t p, std::int32_t q, bool raw) const;

  // The current symbol: side s (0 before the first successful Encode) and margins.
  std::int32_t Side() const;
  std::int32_t MarginLeft() const { return margins_[0]; }
  std::int32_t MarginTop() const { return margins_[1]; }
  std::int32_t MarginRight() const { return margins_[2]; }
  std::int32_t MarginBottom() const { return margins_[3]; }

  // Lower layers, public for tests and for the mask chooser.
  std::int32_t BuildBitStream(std::vector<std::uint8_t>& bits, const Bytes& data, std::int32_t n,
                              std::int32_t version, bool measure, bool allowKanji = true) const;
  static std::int32_t CharacterClass(std::int32_t byte);
  static std::int32_t IsKanjiPair(std::int32_t lead, std::int32_t trail);
  static std::int32_t AlphanumericValue(std::int32_t byte);
  // function matrix: (s+3) x (s+3) bytes row after row; 0 free, 1 dark, 2 light.
  std::int32_t DrawFunctionPatterns(std::vector<std::uint8_t>& functionMatrix,
                                    std::int32_t version) const;
  static std::int32_t ApplyMask(std::vector<std::uint8_t>& dataMatrix, std::int32_t s,
                                std::int32_t mask);
  static std::int32_t BchRemainder(std::int32_t value, std::int32_t polynomial,
                                   std::int32_t topBit, std::int32_t shiftCount);

 private:
  // ... implementation-defined members: field_, rs_, the four tables,
  // moduleMatrix_ ((s+3) x (s+3), 1 x 1 zero before the first encode), margins_.
  std::array<std::int32_t, 4> margins_{};  // left, top, right, bottom
};

// Draws the module matrix (rows of s + 3 bytes, 0 light, 1 dark) as a
// (s + left + right) x (s + top + bottom) bitmap: module (r, c) at pixel
// (left + c, top + r), dark in foreground, everything else background.
// Null when a margin is negative or a side would exceed platform::kMaxBitmapSide.
std::shared_ptr<const platform::Bitmap> RenderSymbolBitmap(
    const std::uint8_t* bits, std::int32_t width, std::int32_t height, std::int32_t left,
    std::int32_t top, std::int32_t right, std::int32_t bottom, Colour foreground,
    std::optional<Colour> background = std::nullopt);

}  // namespace qrsmith
