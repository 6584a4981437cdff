// Micro QR symbols checked module for module against Zint's encoder (the
// `zint` program, run once per batch of contents) and read back by zxing-cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "encoder/qr_encoder.h"
#include "tests/support/module_rows.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

using Matrix = testing::ModuleRows;

// Zint's matrices of a batch of one-line contents (`zint --dump --batch`):
// each row is hexadecimal groups of eight modules, the last group shorter.
// Raw bytes, or UTF-8 text, which Zint turns into Shift-JIS for Kanji mode.
std::vector<Matrix> ZintMatrices(const std::string& arguments,
                                 const std::vector<std::string>& contents, bool rawBytes = true) {
  const std::string path = ::testing::TempDir() + "zint_input.txt";
  FILE* file = std::fopen(path.c_str(), "wb");
  for (const std::string& content : contents) std::fprintf(file, "%s\n", content.c_str());
  std::fclose(file);
  const std::string command = std::string("zint -b MICROQR --dump --batch ") +
                              (rawBytes ? "--binary " : "") + arguments + " -i " + path;
  FILE* pipe = popen(command.c_str(), "r");
  EXPECT_NE(pipe, nullptr) << command;
  std::vector<Matrix> matrices;
  char line[256];
  while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string row;
    for (const char* p = line; *p != '\0' && *p != '\n'; ++p) {
      if (*p == ' ') continue;
      const int nibble = std::stoi(std::string(1, *p), nullptr, 16);
      for (int bit = 3; bit >= 0; --bit) row += ((nibble >> bit) & 1) != 0 ? '1' : '0';
    }
    // A symbol's top row ends in a dark timing module, which gives its side.
    if (matrices.empty() || matrices.back().size() == matrices.back().front().size()) {
      matrices.emplace_back();
      row.resize(row.find_last_of('1') + 1);
    }
    row.resize(matrices.back().empty() ? row.size() : matrices.back().front().size());
    matrices.back().push_back(row);
  }
  if (pipe != nullptr) {
    EXPECT_EQ(pclose(pipe), 0) << command;
  }
  return matrices;
}

Matrix OurMatrix(QrEncoder& encoder, const std::string& content, EncodeOptions options) {
  options.kind = SymbolKind::kMicroQr;
  return testing::EncodedRows(encoder, content, options);
}

// Symbol (version, level) pairs with their character capacities, ISO/IEC
// 18004 Table 7: numeric, alphanumeric, byte, Kanji; 0 where the mode is absent.
struct Capacity {
  std::int16_t version, level;
  std::int32_t numeric, alphanumeric, byte, kanji;
};
constexpr Capacity kCapacities[] = {
    {1, 1, 5, 0, 0, 0},   {2, 1, 10, 6, 0, 0},   {2, 2, 8, 5, 0, 0},    {3, 1, 23, 14, 9, 6},
    {3, 2, 18, 11, 7, 4}, {4, 1, 35, 21, 15, 9}, {4, 2, 30, 18, 13, 8}, {4, 3, 21, 13, 9, 5},
};

TEST(MicroQr, CapacitiesAreTheStandardsTable) {
  QrEncoder encoder;
  for (const Capacity& c : kCapacities) {
    const std::pair<std::int32_t, std::string> modes[] = {
        {c.numeric, "7"}, {c.alphanumeric, "Z"}, {c.byte, "z"}, {c.kanji, "\x93\x5f"}};
    for (const auto& [capacity, unit] : modes) {
      EncodeOptions options;
      options.version = c.version;
      options.level = c.level;
      std::string content;
      for (std::int32_t i = 0; i < capacity; ++i) content += unit;
      std::ostringstream trace;
      trace << "M" << c.version << " level " << c.level << " " << unit << " x " << capacity;
      SCOPED_TRACE(trace.str());
      if (capacity > 0) {
        EXPECT_FALSE(OurMatrix(encoder, content, options).empty());
      }
      EXPECT_TRUE(OurMatrix(encoder, content + unit, options).empty());
    }
  }
  // No Micro QR symbol has level H, and M1 has L only.
  EncodeOptions options;
  options.level = 4;
  EXPECT_TRUE(OurMatrix(encoder, "1", options).empty());
  options.level = 2;
  options.version = 1;
  EXPECT_TRUE(OurMatrix(encoder, "1", options).empty());
}

// Every symbol and mask.
TEST(MicroQr, EveryVersionLevelAndMaskMatchesZint) {
  QrEncoder encoder;
  for (const Capacity& c : kCapacities) {
    for (std::int16_t mask = 0; mask < 4; ++mask) {
      // Short content in each mode the symbol has, and numeric content at capacity.
      const std::vector<std::string> contents = {
          "1", std::string(static_cast<std::size_t>(c.numeric), '8'),
          c.alphanumeric > 0 ? "AB-1" : "12", c.byte > 0 ? "Mix ab" : "0"};
      const std::string arguments = "--vers=" + std::to_string(c.version) +
                                    " --secure=" + std::to_string(c.level) +
                                    " --mask=" + std::to_string(mask);
      const std::vector<Matrix> zint = ZintMatrices(arguments, contents);
      ASSERT_EQ(zint.size(), contents.size()) << arguments;
      for (std::size_t i = 0; i < contents.size(); ++i) {
        EncodeOptions options;
        options.version = c.version;
        options.level = c.level;
        options.mask = mask;
        EXPECT_EQ(OurMatrix(encoder, contents[i], options), zint[i])
            << arguments << " " << contents[i];
      }
    }
  }
}

// Kanji mode in the versions that have it: Shift-JIS bytes against Zint
// given the same characters in UTF-8.
TEST(MicroQr, KanjiMatchesZint) {
  const std::string sjis = "\x93\x5f\x96\x7b", utf8 = "\xe7\x82\xb9\xe6\x9c\xac";
  QrEncoder encoder;
  for (const Capacity& c : kCapacities) {
    if (c.kanji == 0) continue;
    const std::string arguments =
        "--vers=" + std::to_string(c.version) + " --secure=" + std::to_string(c.level);
    const std::vector<Matrix> zint = ZintMatrices(arguments, {utf8}, false);
    ASSERT_EQ(zint.size(), 1u) << arguments;
    EncodeOptions options;
    options.version = c.version;
    options.level = c.level;
    options.chooseMask = true;
    EXPECT_EQ(OurMatrix(encoder, sjis, options), zint[0]) << arguments;
  }
}

// The evaluation of ISO/IEC 18004 section 7.8.3.2 of every mask, worked out
// from a finished symbol of mask `used`: the edge modules are all data
// modules, so under another mask each is its module with both masks undone.
std::array<int, 4> EdgeEvaluations(const Matrix& m, int used) {
  auto masked = [](int mask, int i, int j) {
    switch (mask) {
      case 0:
        return i % 2 == 0;
      case 1:
        return (i / 2 + j / 3) % 2 == 0;
      case 2:
        return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
      default:
        return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
  };
  const int s = static_cast<int>(m.size());
  std::array<int, 4> scores{};
  for (int mask = 0; mask < 4; ++mask) {
    int right = 0, bottom = 0;
    for (int k = 1; k < s; ++k) {
      right += (m[k][s - 1] == '1') ^ masked(used, k, s - 1) ^ masked(mask, k, s - 1);
      bottom += (m[s - 1][k] == '1') ^ masked(used, s - 1, k) ^ masked(mask, s - 1, k);
    }
    scores[mask] = std::min(right, bottom) * 16 + std::max(right, bottom);
  }
  return scores;
}

// A thousand random contents at the automatic version and mask. Contents of
// one character class match Zint module for module: the smallest version and
// the mask with the highest evaluation (which the test also works out). Where
// several segmentations are equally short, Zint and this encoder may take
// different ones, and Zint sometimes takes a longer one: mixed contents are
// only held to a symbol no larger than Zint's, read back by zxing-cpp.
TEST(MicroQr, AutomaticChoicesMatchZintOverAThousandContents) {
  std::mt19937 random(29);
  const std::string alphabets[] = {
      "0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", "abcdefghijklmnopqrstuvwxyz!#&()",
      "0123456789012345678901234ABCDEFXYZ $%*+-./:abcxyz"};
  const int longest[] = {35, 21, 15, 15};
  std::vector<std::string> contents;
  for (int i = 0; i < 1000; ++i) {
    std::string content;
    const int length = 1 + static_cast<int>(random() % static_cast<unsigned>(longest[i % 4]));
    for (int k = 0; k < length; ++k)
      content += alphabets[i % 4][random() % alphabets[i % 4].size()];
    contents.push_back(content);
  }
  QrEncoder encoder;
  EncodeOptions options;
  options.chooseMask = true;
  std::vector<Matrix> ours;
  for (const std::string& content : contents) {
    ours.push_back(OurMatrix(encoder, content, options));
    ASSERT_FALSE(ours.back().empty()) << content;  // all within M4-L's capacities
    const std::array<int, 4> scores = EdgeEvaluations(ours.back(), encoder.Mask());
    EXPECT_EQ(encoder.Mask(), std::max_element(scores.begin(), scores.end()) - scores.begin())
        << content;
  }
  const std::vector<Matrix> zint = ZintMatrices("--secure=1", contents);
  ASSERT_EQ(zint.size(), contents.size());
  for (std::size_t i = 0; i < contents.size(); ++i) {
    if (i % 4 != 3) {
      EXPECT_EQ(ours[i], zint[i]) << contents[i];
      continue;
    }
    EXPECT_LE(ours[i].size(), zint[i].size()) << contents[i];
    options.kind = SymbolKind::kMicroQr;
    const Bytes bytes(contents[i].begin(), contents[i].end());
    const auto picture = encoder.Encode(bytes, static_cast<std::int32_t>(bytes.size()), options);
    const auto read = testing::DecodeWithZxing(*picture, 3);
    EXPECT_TRUE(read && read->bytes == bytes) << contents[i];
  }
}

TEST(MicroQr, EverySymbolDecodesInZxing) {
  QrEncoder encoder;
  for (const Capacity& c : kCapacities) {
    const std::string content = c.byte > 0 ? "Mq 12" : c.alphanumeric > 0 ? "MQ12" : "12345";
    EncodeOptions options;
    options.kind = SymbolKind::kMicroQr;
    options.version = c.version;
    options.level = c.level;
    options.chooseMask = true;
    options.left = options.top = options.right = options.bottom = 2;
    const Bytes bytes(content.begin(), content.end());
    const auto picture = encoder.Encode(bytes, static_cast<std::int32_t>(bytes.size()), options);
    ASSERT_NE(picture, nullptr);
    const auto read = testing::DecodeWithZxing(*picture, 4);
    ASSERT_TRUE(read.has_value()) << "M" << c.version << " level " << c.level;
    EXPECT_EQ(read->bytes, bytes);
  }
}

}  // namespace
}  // namespace qrsmith
