#pragma once
// QrEncoder: content bytes and options in, a QR Code module matrix and a
// one-pixel-per-module symbol bitmap out (ISO/IEC 18004 Model 2, versions 1-40).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <qrsmith/encoder/stream_header.h>
#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// The kinds of symbol the encoder makes: QR Code (versions 1..40), Micro QR
// Code (M1..M4) and rectangular Micro QR Code (rMQR).
enum class SymbolKind { kQr, kMicroQr, kRmqr };

// The error-correction levels, numbered as EncodeOptions::level and the
// generator take them; files and settings store the number or the letter.
enum class Level : std::int16_t { kL = 1, kM = 2, kQ = 3, kH = 4 };

// 'L', 'M', 'Q' or 'H'.
constexpr char LevelLetter(Level level) {
  return "?LMQH"[static_cast<std::size_t>(level) < 5 ? static_cast<std::size_t>(level) : 0];
}
// The level a letter names, in either case; nullopt for any other character.
constexpr std::optional<Level> LevelOfLetter(char letter) {
  for (const Level level : {Level::kL, Level::kM, Level::kQ, Level::kH}) {
    if (letter == LevelLetter(level) || letter == LevelLetter(level) - 'A' + 'a') return level;
  }
  return std::nullopt;
}

// Options of one Encode call. Each member left out takes its default; a
// supplied 0 is not "left out".
struct EncodeOptions {
  // The kind of symbol. Default QR. Micro QR takes version 1..4 (M1..M4) or 0
  // for the smallest that holds the content, level 1 L, 2 M or 3 Q (left out:
  // L; M1 serves L; H refused) and mask 0..3 (anything else 0). rMQR takes
  // version 1..32 (R7x43 .. R17x139, encoder/rmqr_tables.h) or 0 for the
  // smallest that holds the content, by area and then by height, and level 2
  // M (also when left out) or 4 H (L and Q refused), which boostLevel may
  // raise to H; its one mask is fixed; of the header segments it carries ECI.
  std::optional<SymbolKind> kind;
  // rMQR with version 0: the smallest size of this height (7, 9, .. 17).
  // Default: any height.
  std::optional<std::int16_t> rmqrHeight;
  std::optional<std::int16_t> version;  // 1..40 fixed; 0 or >40 automatic; <0 refused. Default 0.
  std::optional<std::int16_t> level;    // 1 L, 2 M, 3 Q, 4 H; anything else 2. Default 2.
  std::optional<std::int16_t> mask;     // 0..7; anything else mask 0. Default -1.
  // true: the mask with the lowest penalty of ISO/IEC 18004 section 7.8.3
  // (the lowest number on ties) instead of `mask`. Default false.
  std::optional<bool> chooseMask;
  std::optional<Colour> foreground;  // dark modules, 0x00BBGGRR. Default black.
  std::optional<Colour> background;  // light modules and margins. Default white.
  std::optional<std::int32_t> left, top, right, bottom;  // margins in modules. Default 0.
  // Whether byte pairs that form Shift-JIS characters may go into Kanji mode.
  // Readers decode Kanji mode as Shift-JIS, so only Shift-JIS content should
  // allow it. Default true.
  std::optional<bool> allowKanji;
  // Segments written before the data: structured append, ECI, FNC1
  // (encoder/stream_header.h). With FNC1 in the first position the content's
  // GS bytes stand for FNC1. Default: none. A header with a field out of
  // range encodes nothing.
  std::optional<encoder::StreamHeader> header;
  // true: once the version is settled, the highest level whose data capacity
  // at that version still holds the stream replaces `level`. Default false.
  std::optional<bool> boostLevel;
};

class QrEncoder {
 public:
  QrEncoder();
  ~QrEncoder();
  QrEncoder(const QrEncoder& other);  // deep copy
  QrEncoder& operator=(const QrEncoder& other);

  // Encodes the first n bytes of data (n < 1: empty content; n beyond
  // data.size(): all of data, nothing past its end is read). Returns the new
  // symbol bitmap, or null when nothing was encoded (the stored matrix and
  // margins then stay as they were): a negative version, content that fits no
  // allowed version, a negative margin, or a bitmap side above
  // platform::kMaxBitmapSide.
  std::shared_ptr<const platform::Bitmap> Encode(const Bytes& data, std::int32_t n,
                                                 const EncodeOptions& options = {});

  // Reads one module back (0 light, 1 dark). raw: 1-based row and column of
  // the module matrix. Not raw: 1-based row and column of the symbol bitmap's
  // frame, margins included; positions outside the matrix read 0.
  std::uint8_t ModuleAt(std::int32_t row, std::int32_t column, bool raw) const;

  // The current symbol: side s (0 before the first successful Encode) and margins.
  // Side() is the width; Micro QR and QR symbols are square, rMQR ones wider
  // than high.
  std::int32_t Side() const;
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  SymbolKind Kind() const { return kind_; }
  // The version (1..40, 1..4 for M1..M4, 1..32 for rMQR sizes) and level (1..4, raised by
  // boostLevel) of the current symbol; 0 before the first.
  std::int32_t Version() const { return version_; }
  std::int32_t Level() const { return level_; }
  std::int32_t MarginLeft() const { return margins_[0]; }
  std::int32_t MarginTop() const { return margins_[1]; }
  std::int32_t MarginRight() const { return margins_[2]; }
  std::int32_t MarginBottom() const { return margins_[3]; }
  // The mask of the current symbol, 0..7 (0..3 for Micro QR; 0 before the first).
  std::int32_t Mask() const { return mask_; }

  // BuildBitStream, the first stage of Encode: the stream's length in bits, terminator included,
  // for the version group of `version`; unless measuring it is also written to bits from index 0
  // (one byte per bit; bits grows if shorter than the stream). n as for Encode. 0 when the stream
  // cannot be written, which includes streams longer than the encoder's 32768-entry bit arrays.
  std::int32_t BuildBitStream(std::vector<std::uint8_t>& bits, const Bytes& data, std::int32_t n,
                              std::int32_t version, bool measure, bool allowKanji = true) const;

 private:
  // The field, the Reed-Solomon encoder, the tables and the work buffers
  // (qr_encoder.cpp); copied deep with the encoder.
  struct Machinery;
  std::shared_ptr<const platform::Bitmap> EncodeMicroQr(const Bytes& data, std::int32_t n,
                                                        const EncodeOptions& options);
  std::shared_ptr<const platform::Bitmap> EncodeRmqr(const Bytes& data, std::int32_t n,
                                                     const EncodeOptions& options);
  std::unique_ptr<Machinery> machinery_;
  // The current symbol: (height + 3) rows of (width + 3) bytes, 0 light, 1
  // dark, the last three rows and columns all 0; a single 0 before the first
  // successful Encode.
  std::vector<std::uint8_t> moduleMatrix_ = std::vector<std::uint8_t>(1, 0);
  std::int32_t width_ = 0;  // 0 before the first successful Encode
  std::int32_t height_ = 0;
  SymbolKind kind_ = SymbolKind::kQr;
  std::int32_t version_ = 0;
  std::int32_t level_ = 0;
  std::array<std::int32_t, 4> margins_{};  // left, top, right, bottom
  std::int32_t mask_ = 0;
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
