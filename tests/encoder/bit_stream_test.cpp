#include "encoder/bit_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "encoder/qr_encoder.h"

namespace qrsmith {
namespace {

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string Bits(const std::vector<std::uint8_t>& bits, std::int32_t length) {
  std::string text;
  for (std::int32_t i = 0; i < length; ++i) text += bits[static_cast<std::size_t>(i)] ? '1' : '0';
  return text;
}

// Stream lengths (terminator included) of the cheapest segmentation.
TEST(BitStream, SegmentationCosts) {
  struct Case {
    Bytes content;
    std::int32_t version, length;
    bool allowKanji = true;
  };
  const Case cases[] = {
      {B("0123456789"), 1, 52},  // one numeric segment: 4 + 10 + 34
      {B("AC-42"), 1, 45},       // one alphanumeric segment, not 41 + 10
      {B("abc"), 1, 40},         // one byte segment, 8-bit count
      {B("abc"), 10, 48},        // 16-bit count from version 10
      {B("abc"), 27, 48},
      {{0x93, 0x5F}, 1, 29},                       // one Kanji character
      {{0x93, 0x5F}, 1, 32, false},                // two bytes when Kanji is not allowed
      {{0x93, 0x3F}, 1, 32},                       // trail below 0x40: no Kanji
      {Bytes(256, 'a'), 5, 2 * 12 + 256 * 8 + 4},  // 255 + 1: the count field is full
      {B("1"), 1, 22},                       // numeric (18) beats alphanumeric (19), byte (20)
      {B("a1234567"), 1, 20 + 14 + 24 + 4},  // byte, then numeric
      {B("a123"), 1, 48},                    // 44 as bytes or as byte + numeric
      {{}, 1, 4},                            // empty content: the terminator
      // Digit runs just short of and just long enough for a numeric segment of
      // their own, inside and at an end, in each count-width group.
      {B("a11111a"), 1, 72},
      {B("a111111a"), 1, 78},
      {B("a1111111a"), 10, 96},
      {B("a11111111a"), 10, 103},
      {B("a111111111a"), 27, 108},
      {B("111a"), 10, 56},
      {B("a1111"), 10, 62},
  };
  const QrEncoder encoder;
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bits;
    const std::int32_t measured =
        encoder.BuildBitStream(bits, c.content, static_cast<std::int32_t>(c.content.size()),
                               c.version, true, c.allowKanji);
    EXPECT_EQ(measured, c.length) << c.content.size() << " bytes at version " << c.version;
    EXPECT_TRUE(bits.empty());  // measuring writes nothing
    EXPECT_EQ(encoder.BuildBitStream(bits, c.content, static_cast<std::int32_t>(c.content.size()),
                                     c.version, false, c.allowKanji),
              measured);
  }
}

TEST(BitStream, WritesModeCountAndDataMostSignificantBitFirst) {
  struct Case {
    Bytes content;
    std::string bits;
  };
  const Case cases[] = {
      // 0010, count 5, A C = 10 x 45 + 12, - 4 = 41 x 45 + 4, 2, terminator.
      {B("AC-42"),
       "0010"
       "000000101"
       "00111001110"
       "11100111001"
       "000010"
       "0000"},
      // 1000, count 1, (0x93 - 0x81) x 0xC0 + (0x5F - 0x40) = 0x0D9F.
      {{0x93, 0x5F},
       "1000"
       "00000001"
       "0110110011111"
       "0000"},
      {{0xE0, 0x40},
       "1000"
       "00000001"
       "1011101000000"
       "0000"},
      // 0001, count 8, 012 345 67.
      {B("01234567"),
       "0001"
       "0000001000"
       "0000001100"
       "0101011001"
       "1000011"
       "0000"},
      {B("a"),
       "0100"
       "00000001"
       "01100001"
       "0000"},
      // Tie: bytes and byte + numeric both cost 44 bits; the lower mode wins.
      {B("a123"),
       "0100"
       "00000100"
       "01100001"
       "00110001"
       "00110010"
       "00110011"
       "0000"},
      {{}, "0000"},
  };
  const QrEncoder encoder;
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bits(100, 7);
    const std::int32_t length = encoder.BuildBitStream(
        bits, c.content, static_cast<std::int32_t>(c.content.size()), 1, false);
    EXPECT_EQ(Bits(bits, length), c.bits);
    EXPECT_EQ(bits[static_cast<std::size_t>(length)], 7);  // nothing written past the stream
  }
}

TEST(BitStream, CharacterClassesAndValues) {
  for (int b = 0; b < 256; ++b) {
    const bool digit = b >= '0' && b <= '9';
    const bool alnum =
        (b >= 'A' && b <= 'Z') ||
        (b != 0 && std::string(" $%*+-./:").find(static_cast<char>(b)) != std::string::npos);
    EXPECT_EQ(encoder::CharacterClass(b), digit ? 1 : (alnum ? 2 : 0)) << b;
  }
  EXPECT_EQ(encoder::CharacterClass(0x130), 0);
  EXPECT_EQ(encoder::AlphanumericValue('9'), 9);
  EXPECT_EQ(encoder::AlphanumericValue('Z'), 35);
  EXPECT_EQ(encoder::AlphanumericValue(' '), 36);
  EXPECT_EQ(encoder::AlphanumericValue(':'), 44);
  EXPECT_EQ(encoder::AlphanumericValue('a'), 0);
  struct Pair {
    int lead, trail, kanji;
  };
  for (const Pair p : {Pair{0x81, 0x40, 1}, Pair{0x9F, 0xFC, 1}, Pair{0xA0, 0x40, 0},
                       Pair{0xE0, 0x40, 1}, Pair{0xEA, 0xFF, 1}, Pair{0xEB, 0xBF, 1},
                       Pair{0xEB, 0xC0, 0}, Pair{0x81, 0x3F, 0}, Pair{0x193, 0x15F, 1}}) {
    EXPECT_EQ(encoder::IsKanjiPair(p.lead, p.trail), p.kanji) << p.lead << " " << p.trail;
  }
}

// Content longer than the bit arrays can hold, or n beyond the data.
TEST(BitStream, BoundsTheWorkAndNeverReadsPastTheData) {
  const QrEncoder encoder;
  std::vector<std::uint8_t> bits;
  const Bytes huge(100000, '7');
  EXPECT_EQ(encoder.BuildBitStream(bits, huge, 100000, 40, true), 0);
  EXPECT_EQ(encoder.BuildBitStream(bits, huge, 100000, 40, false), 0);
  EXPECT_TRUE(bits.empty());
  const Bytes three = B("abc");
  EXPECT_EQ(encoder.BuildBitStream(bits, three, 1000, 1, true), 40);
  EXPECT_EQ(encoder.BuildBitStream(bits, three, 1, 1, true), 24);
  EXPECT_EQ(encoder.BuildBitStream(bits, three, -5, 1, true), 4);
}

}  // namespace
}  // namespace qrsmith
