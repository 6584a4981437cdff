#pragma once
// The data bit stream of a QR Code symbol (ISO/IEC 18004 section 7.4): the
// content bytes split into numeric, alphanumeric, byte and Kanji segments so
// that the stream is as short as possible, each segment written as mode
// indicator, character count and data bits, then the 4-bit terminator.
// The header segments (ECI, FNC1, structured append) are written by
// encoder/stream_header.h ahead of this stream.

#include <array>
#include <cstdint>
#include <vector>

#include <qrsmith/encoder/big_endian.h>
#include <qrsmith/encoder/qr_tables.h>

namespace qrsmith::encoder {

// Mode numbers of the segmentation.
inline constexpr std::int32_t kByteMode = 0;
inline constexpr std::int32_t kNumericMode = 1;
inline constexpr std::int32_t kAlphanumericMode = 2;
inline constexpr std::int32_t kKanjiMode = 3;

// 1 for "0".."9"; 2 for "A".."Z", space and $ % * + - . / :; 0 for any other
// value (lower-case letters and values outside 0..255 included).
std::int32_t CharacterClass(std::int32_t byte);
// Alphanumeric-mode value (ISO/IEC 18004 Table 5): digits 0-9, letters 10-35,
// space 36, $ 37, % 38, * 39, + 40, - 41, . 42, / 43, : 44; 0 for others.
std::int32_t AlphanumericValue(std::int32_t byte);
// 1 when the two bytes (low 8 bits of each) can be one Kanji-mode character:
// a Shift-JIS lead 0x81-0x9F or 0xE0-0xEA with trail >= 0x40, or lead 0xEB
// with trail 0x40-0xBF.
std::int32_t IsKanjiPair(std::int32_t lead, std::int32_t trail);

// A lower bound in bits of any stream of the content: every byte costs at
// least 10/3 bits (digits), 11/2 (other alphanumeric characters) or 13/2
// (anything else, in Kanji mode at best).
std::int64_t MinimumStreamBits(const std::uint8_t* data, std::int32_t n);

// Bits written most significant first, eight to a byte: the encoder's form
// of the bit array. Finish writes the last partial byte, zero-filled.
class PackedBitWriter {
 public:
  explicit PackedBitWriter(std::uint8_t* bytes) : bytes_(bytes) {}
  void Put(std::uint32_t value, std::int32_t width) {
    pending_ = (pending_ << width) | value;
    pendingBits_ += width;
    count_ += width;
    while (pendingBits_ >= 8) {
      pendingBits_ -= 8;
      *bytes_++ = static_cast<std::uint8_t>(pending_ >> pendingBits_);
    }
  }
  // Whole bytes, the same as Put(byte, 8) for each, eight at a time.
  void PutBytes(const std::uint8_t* bytes, std::int32_t n) {
    count_ += 8 * n;
    std::int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
      // The pending bits (fewer than eight) lead, the word's low bits wait.
      const std::uint64_t word = LoadBigEndian64(bytes + i);
      StoreBigEndian64(bytes_, pendingBits_ == 0
                                   ? word
                                   : (pending_ << (64 - pendingBits_)) | (word >> pendingBits_));
      bytes_ += 8;
      pending_ = word;
    }
    for (; i < n; ++i) {
      pending_ = (pending_ << 8) | bytes[i];
      *bytes_++ = static_cast<std::uint8_t>(pending_ >> pendingBits_);
    }
  }
  void Finish() {
    if (pendingBits_ > 0) *bytes_++ = static_cast<std::uint8_t>(pending_ << (8 - pendingBits_));
    pendingBits_ = 0;
  }
  std::int32_t Count() const { return count_; }

 private:
  std::uint8_t* bytes_;
  std::uint64_t pending_ = 0;
  std::int32_t pendingBits_ = 0;
  std::int32_t count_ = 0;
};

// How one kind of symbol writes its segments: the character-count width of
// each mode (0: the mode is not available), the mode indicators and their
// width, and the terminator's width. QR Code uses 4-bit indicators and a
// 4-bit terminator; Micro QR versions shorter ones (ISO/IEC 18004 Table 2).
struct StreamFormat {
  std::array<std::int32_t, kModeCount> countWidths{};
  std::array<std::uint32_t, kModeCount> indicators{};
  std::int32_t indicatorBits = 4;
  std::int32_t terminatorBits = 4;
};
// The format of QR Code version group g (2, 4 or 6).
StreamFormat QrStreamFormat(std::int32_t group);

// The shortest segmentation of one content for one version group, kept so
// that the stream can be written after it was measured.
class Segmenter {
 public:
  // Finds the cheapest segmentation of the first n bytes of data for version
  // group g (2, 4 or 6) and returns the stream length in bits, terminator
  // included: 4 for empty content (n < 1). Returns 0 when the stream would
  // not fit the encoder's kBitArrayLength-bit arrays.
  // gs1: the content is FNC1 data, whose GS bytes (0x1D) stand for FNC1:
  // alphanumeric mode takes them as '%', and a literal '%' goes into byte mode.
  std::int32_t Measure(const std::uint8_t* data, std::int32_t n, std::int32_t group,
                       bool allowKanji, bool gs1 = false);
  // The same for any stream format; 0 also when the content holds a
  // character that no available mode takes.
  std::int32_t Measure(const std::uint8_t* data, std::int32_t n, const StreamFormat& format,
                       bool allowKanji, bool gs1 = false);
  // The length the last Measure found (0 when it failed).
  std::int32_t Length() const { return length_; }

  // Writes the stream of the last Measure (same data) and returns its length,
  // or 0 when it cannot be written (a pair in Kanji mode that is no Kanji
  // character). The writer must take Measure's result in bits.
  std::int32_t Write(const std::uint8_t* data, PackedBitWriter& writer);

 private:
  bool AssignModes();

  std::int32_t n_ = 0;
  StreamFormat format_ = QrStreamFormat(2);
  std::int32_t finalMode_ = 0;
  std::int32_t length_ = 0;
  // The last Measure found one byte segment cheapest without the search.
  bool oneByteSegment_ = false;
  bool gs1_ = false;  // the last Measure took the content as FNC1 data
  // predecessors_[4p + m]: mode before the cheapest stream ending at byte p
  // in mode m; kNoMode when that stream starts there or cannot end there.
  std::vector<std::int8_t> predecessors_;
  // runs_[4p + m]: characters of mode m in the segment that ends at byte p,
  // so that the backward walk can step over whole segments.
  std::vector<std::uint16_t> runs_;
  std::vector<std::int8_t> modes_;  // mode of each byte after the backward walk
};

}  // namespace qrsmith::encoder
