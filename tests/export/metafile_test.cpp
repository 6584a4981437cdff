// The metafiles, read back record by record: every size and count field of
// the headers agrees with the records, and the records paint exactly the
// background and one fill per grid position, in scan order and colour.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <regex>

#include "export/emf.h"
#include "export/vector_export.h"
#include "export/wmf.h"
#include "tests/export/export_test_support.h"

namespace qrsmith {
namespace {

// A filled area, right and bottom edges exclusive.
struct Fill {
  std::int32_t left, top, right, bottom;
  Colour colour;
  friend bool operator==(const Fill&, const Fill&) = default;
};

std::vector<Fill> ExpectedFills(const ModuleGrid& grid, std::int32_t backgroundExtra) {
  std::vector<Fill> fills{
      {0, 0, grid.width + backgroundExtra, grid.height + backgroundExtra, grid.background}};
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c)
      fills.push_back({c - 1, r - 1, c, r, grid.ColourAt(r, c)});
  }
  return fills;
}

class LittleEndian {
 public:
  explicit LittleEndian(const Bytes& b) : b_(b) {}
  std::uint32_t U16(std::size_t at) const { return b_.at(at) | (b_.at(at + 1) << 8); }
  std::uint32_t U32(std::size_t at) const { return U16(at) | (U16(at + 2) << 16); }
  std::int32_t I16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }

 private:
  const Bytes& b_;
};

// Reads a memory WMF; fails the test on any inconsistency.
std::vector<Fill> ReadWmf(const Bytes& wmf) {
  const LittleEndian in(wmf);
  EXPECT_EQ(in.U16(0), 1u);  // memory metafile, not a placeable header's key
  EXPECT_EQ(in.U16(2), 9u);
  EXPECT_EQ(in.U16(4), 0x0300u);
  EXPECT_EQ(in.U32(6) * 2, wmf.size());
  struct Object {
    bool pen;
    Colour colour;
    std::uint32_t style;
  };
  std::vector<std::optional<Object>> table;
  std::optional<Object> brush, pen;
  std::vector<Fill> fills;
  std::uint32_t largest = 0;
  std::size_t most = 0, live = 0;
  std::size_t at = 18;
  for (;;) {
    const std::uint32_t words = in.U32(at);
    const std::uint32_t function = in.U16(at + 4);
    EXPECT_GE(words, 3u);
    largest = std::max(largest, words);
    if (function == 0x02FC || function == 0x02FA) {  // create brush / pen: lowest free slot
      const bool isPen = function == 0x02FA;
      const Object o{isPen, in.U32(at + (isPen ? 12 : 8)), in.U16(at + 6)};
      auto slot = std::find(table.begin(), table.end(), std::nullopt);
      if (slot == table.end()) slot = table.insert(table.end(), std::nullopt);
      *slot = o;
      most = std::max(most, ++live);
    } else if (function == 0x012D) {  // select
      const auto& o = table.at(in.U16(at + 6));
      EXPECT_TRUE(o.has_value());
      (o->pen ? pen : brush) = o;
    } else if (function == 0x01F0) {  // delete
      table.at(in.U16(at + 6)).reset();
      --live;
    } else if (function == 0x041B) {  // rectangle: bottom, right, top, left
      EXPECT_TRUE(brush && pen);
      // No outline: a pen would reach beyond the fill's area once scaled.
      EXPECT_EQ(pen->style, 5);  // PS_NULL
      fills.push_back(
          {in.I16(at + 12), in.I16(at + 10), in.I16(at + 8), in.I16(at + 6), brush->colour});
    } else {
      EXPECT_EQ(function, 0u) << "unexpected record at " << at;
    }
    at += words * 2;
    if (function == 0 || at >= wmf.size()) break;
  }
  EXPECT_EQ(at, wmf.size());       // the end-of-file record is the last
  EXPECT_EQ(in.U16(10), most);     // NumberOfObjects
  EXPECT_EQ(in.U32(12), largest);  // MaxRecord
  EXPECT_EQ(live, 0u);
  return fills;
}

struct EmfReading {
  std::vector<Fill> fills;
  std::int32_t bounds[4];
  std::u16string description;
};

EmfReading ReadEmf(const Bytes& emf) {
  const LittleEndian in(emf);
  EmfReading reading{};
  EXPECT_EQ(in.U32(0), 1u);
  const std::uint32_t headerSize = in.U32(4);
  for (int i = 0; i < 4; ++i) reading.bounds[i] = in.I32(8 + 4 * i);
  EXPECT_EQ(in.U32(40), 0x464D4520u);
  EXPECT_EQ(in.U32(48), emf.size());
  const std::uint32_t chars = in.U32(60), offset = in.U32(64);
  EXPECT_LE(offset + chars * 2, headerSize);
  for (std::uint32_t i = 0; i < chars; ++i)
    reading.description.push_back(static_cast<char16_t>(in.U16(offset + 2 * i)));
  // Frame (hundredths of a millimetre) and bounds describe the same area.
  const double pixelsPerHundredthX = in.I32(72) / (in.I32(100) / 10.0);
  EXPECT_NEAR((in.I32(32) + 1) * pixelsPerHundredthX, reading.bounds[2] + 1, 0.1);

  std::map<std::uint32_t, Colour> table;
  std::optional<Colour> brush;
  std::uint32_t records = 1;
  std::size_t at = headerSize;
  for (;;) {
    const std::uint32_t type = in.U32(at), size = in.U32(at + 4);
    EXPECT_EQ(size % 4, 0u);
    ++records;
    if (type == 39) {                         // create brush
      EXPECT_LT(in.U32(at + 8), in.U16(52));  // within the handle count
      table[in.U32(at + 8)] = in.U32(at + 16);
    } else if (type == 37) {  // select
      const std::uint32_t ih = in.U32(at + 8);
      brush = ih & 0x80000000u ? std::nullopt : std::optional<Colour>(table.at(ih));
    } else if (type == 40) {  // delete
      EXPECT_EQ(table.erase(in.U32(at + 8)), 1u);
    } else if (type == 76) {  // bitblt: a pattern fill when there is no source
      EXPECT_EQ(in.U32(at + 40), 0x00F00021u);
      EXPECT_EQ(in.U32(at + 88), 0u);  // no source bitmap
      EXPECT_TRUE(brush.has_value());
      const Fill f{in.I32(at + 24), in.I32(at + 28), in.I32(at + 24) + in.I32(at + 32),
                   in.I32(at + 28) + in.I32(at + 36), brush.value_or(0)};
      EXPECT_EQ(in.I32(at + 8), f.left);  // record bounds, inclusive
      EXPECT_EQ(in.I32(at + 20), f.bottom - 1);
      reading.fills.push_back(f);
    } else {
      EXPECT_EQ(type, 14u) << "unexpected record at " << at;
    }
    at += size;
    if (type == 14 || at >= emf.size()) break;
  }
  EXPECT_EQ(at, emf.size());
  EXPECT_EQ(in.U32(at - 4), 20u);  // SizeLast of the end-of-file record
  EXPECT_EQ(in.U32(52), records);
  EXPECT_TRUE(table.empty());
  return reading;
}

class Metafile : public ::testing::Test {
 protected:
  void SetUp() override {
    generator_ = testing::MakeSymbol("HELLO", 1, 0x3366CC, 0xEEFFFF);
    ASSERT_EQ(generator_.SymbolWidth(), 23);
    grid_ = *GridOf(generator_);
  }
  QrGenerator generator_;
  ModuleGrid grid_;
};

TEST_F(Metafile, WmfPaintsTheBackgroundThenEveryPositionOverTheGrid) {
  const Bytes wmf = ExportVector(generator_, VectorKind::kWmf);
  EXPECT_EQ(ReadWmf(wmf), ExpectedFills(grid_, 0));  // covers x and y 0..22
  EXPECT_EQ(ExportVector(generator_, VectorKind::kWmf), wmf);
}

TEST_F(Metafile, WmfOfAnAllLightGridStillFillsEveryPosition) {
  const ModuleGrid light = testing::GridFromRows({"...", "..."}, kBlack, 0x123456);
  const auto fills = ReadWmf(WriteWindowsMetafile(light));
  EXPECT_EQ(fills, ExpectedFills(light, 0));
  EXPECT_EQ(fills.size(), 7u);
}

TEST_F(Metafile, EmfPaintsOneExtraColumnAndRowOfBackground) {
  const Bytes emf = ExportVector(generator_, VectorKind::kEmf);
  const EmfReading reading = ReadEmf(emf);
  EXPECT_EQ(reading.fills, ExpectedFills(grid_, 1));
  const std::int32_t bounds[4] = {0, 0, 23, 23};  // x and y 0..23, inclusive
  EXPECT_TRUE(std::equal(bounds, bounds + 4, reading.bounds));

  const std::string description(reading.description.begin(), reading.description.end());
  ASSERT_EQ(description.size(), 30u);  // the text and the two closing zero characters
  EXPECT_TRUE(std::regex_match(description.substr(0, 28),
                               std::regex("KORVANE\nQREMFC[0-9]{12}[A-Z0-9]{2}")))
      << description;
  EXPECT_EQ(description.substr(28), std::string(2, '\0'));
}

TEST_F(Metafile, TwoEmfsOfOneSymbolDifferOnlyInTheIdentifier) {
  const Bytes first = ExportVector(generator_, VectorKind::kEmf);
  Bytes second = ExportVector(generator_, VectorKind::kEmf);
  ASSERT_EQ(first.size(), second.size());
  // The identifier's date, time and random characters: description characters 14..27.
  const std::size_t from = 108 + 2 * 14, to = 108 + 2 * 28;
  std::copy(first.begin() + from, first.begin() + to, second.begin() + from);
  EXPECT_EQ(second, first);
}

}  // namespace
}  // namespace qrsmith
