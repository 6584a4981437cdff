// Micro QR symbols checked module for module against Zint's encoder (the
// `zint` program, run once per batch of contents) and read back by zxing-cpp.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "encoder/qr_encoder.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

using Matrix = std::vector<std::string>;  // rows of '0' and '1'

// Zint's matrices of a batch of one-line contents (`zint --dump --batch`):
// each row is hexadecimal groups of eight modules, the last group shorter.
std::vector<Matrix> ZintMatrices(const std::string& arguments,
                                 const std::vector<std::string>& contents) {
  const std::string path = ::testing::TempDir() + "zint_input.txt";
  FILE* file = std::fopen(path.c_str(), "wb");
  for (const std::string& content : contents) std::fprintf(file, "%s\n", content.c_str());
  std::fclose(file);
  const std::string command =
      "zint -b MICROQR --dump --binary --batch " + arguments + " -i " + path;
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
  const Bytes bytes(content.begin(), content.end());
  if (!encoder.Encode(bytes, static_cast<std::int32_t>(bytes.size()), options)) return {};
  Matrix m(static_cast<std::size_t>(encoder.Height()));
  for (std::int32_t r = 0; r < encoder.Height(); ++r) {
    for (std::int32_t c = 0; c < encoder.Width(); ++c) {
      m[static_cast<std::size_t>(r)] += encoder.ModuleAt(r + 1, c + 1, true) != 0 ? '1' : '0';
    }
  }
  return m;
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
      SCOPED_TRACE("M" + std::to_string(c.version) + " level " + std::to_string(c.level) + " " +
                   unit + " x " + std::to_string(capacity));
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

// Random contents at the automatic version and mask: the smallest version
// and the mask with the highest evaluation, as Zint chooses them. Each content
// keeps to one character class, since where two segmentations are equally
// short Zint and this encoder may take different ones.
TEST(MicroQr, AutomaticChoicesMatchZintOverAThousandContents) {
  std::mt19937 random(29);
  const std::string alphabets[] = {
      "0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", "abcdefghijklmnopqrstuvwxyz!#&()"};
  std::vector<std::string> contents;
  for (int i = 0; i < 1000; ++i) {
    const std::string& alphabet = alphabets[i % 3];
    std::string content;
    const int length = 1 + static_cast<int>(random() % (i % 3 == 0 ? 35 : i % 3 == 1 ? 21 : 15));
    for (int k = 0; k < length; ++k) content += alphabet[random() % alphabet.size()];
    contents.push_back(content);
  }
  QrEncoder encoder;
  EncodeOptions options;
  options.chooseMask = true;
  std::vector<Matrix> ours;
  for (const std::string& content : contents) {
    ours.push_back(OurMatrix(encoder, content, options));
    ASSERT_FALSE(ours.back().empty()) << content;  // all within M4-L's capacities
  }
  const std::vector<Matrix> zint = ZintMatrices("--secure=1", contents);
  ASSERT_EQ(zint.size(), contents.size());
  for (std::size_t i = 0; i < contents.size(); ++i) EXPECT_EQ(ours[i], zint[i]) << contents[i];
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
