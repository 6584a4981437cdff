// rMQR symbols checked module for module against Zint's encoder (the `zint`
// program, one run per batch of contents) and read back by zxing-wasm, a
// zxing-cpp build that reads rMQR, run under Node.js.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "encoder/qr_encoder.h"
#include "platform/codecs/png.h"
#include "tests/support/module_rows.h"

namespace qrsmith {
namespace {

using Matrix = testing::ModuleRows;

// Output lines of a command.
std::vector<std::string> RunLines(const std::string& command) {
  std::vector<std::string> lines;
  FILE* pipe = popen(command.c_str(), "r");
  EXPECT_NE(pipe, nullptr) << command;
  if (pipe == nullptr) return lines;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    lines.emplace_back(line);
    while (!lines.back().empty() && lines.back().back() == '\n') lines.back().pop_back();
  }
  EXPECT_EQ(pclose(pipe), 0) << command;
  return lines;
}

// Zint's matrices of a batch of one-line contents (`zint --dump --batch`),
// rows of hexadecimal groups of eight modules. The top row ends in a dark
// module, which gives the width; the right column alternates down to the
// sub-finder, whose five dark modules end the symbol.
std::vector<Matrix> ZintMatrices(const std::string& arguments,
                                 const std::vector<std::string>& contents, bool rawBytes = true) {
  const std::string path = ::testing::TempDir() + "zint_rmqr_input.txt";
  std::ofstream(path, std::ios::binary) << [&] {
    std::string all;
    for (const std::string& content : contents) all += content + "\n";
    return all;
  }();
  std::vector<Matrix> matrices;
  std::size_t width = 0;
  int darkRun = 0;
  for (const std::string& line :
       RunLines("zint -b RMQR --dump --batch " + std::string(rawBytes ? "--binary " : "") +
                arguments + " -i " + path +
                // Zint warns, and exits with 4, when it converts UTF-8 to Shift-JIS.
                (rawBytes ? "" : " 2>/dev/null; test $? -le 4"))) {
    std::string row;
    for (const char c : line) {
      if (c == ' ') continue;
      const int nibble = std::stoi(std::string(1, c), nullptr, 16);
      for (int bit = 3; bit >= 0; --bit) row += ((nibble >> bit) & 1) != 0 ? '1' : '0';
    }
    if (width == 0) {
      matrices.emplace_back();
      width = row.find_last_of('1') + 1;
      darkRun = 0;
    }
    row.resize(width);
    darkRun = row.back() == '1' ? darkRun + 1 : 0;
    matrices.back().push_back(row);
    if (darkRun >= 5 && matrices.back().size() >= 7) width = 0;
  }
  return matrices;
}

Matrix OurMatrix(QrEncoder& encoder, const std::string& content, EncodeOptions options) {
  options.kind = SymbolKind::kRmqr;
  return testing::EncodedRows(encoder, content, options);
}

// The 32 sizes in the order of their numbers with their byte-mode capacities
// at levels M and H, ISO/IEC 23941 Table 6.
struct Capacity {
  int height, width, byteM, byteH;
};
constexpr Capacity kCapacities[] = {
    {7, 43, 5, 2},     {7, 59, 11, 6},     {7, 77, 19, 9},   {7, 99, 27, 13},  {7, 139, 42, 22},
    {9, 43, 11, 6},    {9, 59, 20, 10},    {9, 77, 30, 16},  {9, 99, 40, 20},  {9, 139, 61, 31},
    {11, 27, 6, 4},    {11, 43, 18, 10},   {11, 59, 30, 14}, {11, 77, 41, 21}, {11, 99, 55, 27},
    {11, 139, 82, 40}, {13, 27, 11, 6},    {13, 43, 26, 12}, {13, 59, 36, 18}, {13, 77, 51, 27},
    {13, 99, 71, 33},  {13, 139, 104, 52}, {15, 43, 31, 13}, {15, 59, 46, 24}, {15, 77, 65, 29},
    {15, 99, 86, 46},  {15, 139, 125, 67}, {17, 43, 37, 19}, {17, 59, 54, 26}, {17, 77, 76, 36},
    {17, 99, 98, 54},  {17, 139, 150, 74},
};

std::string Repeated(const std::string& unit, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += unit;
  return s;
}

TEST(Rmqr, CapacitiesAreTheStandardsTable) {
  QrEncoder encoder;
  for (int number = 1; number <= 32; ++number) {
    const Capacity& c = kCapacities[number - 1];
    for (const auto& [level, capacity] : {std::pair{2, c.byteM}, std::pair{4, c.byteH}}) {
      EncodeOptions options;
      options.version = static_cast<std::int16_t>(number);
      options.level = static_cast<std::int16_t>(level);
      SCOPED_TRACE("R" + std::to_string(c.height) + "x" + std::to_string(c.width) + " level " +
                   std::to_string(level));
      const Matrix full = OurMatrix(encoder, Repeated("z", capacity), options);
      ASSERT_EQ(full.size(), static_cast<std::size_t>(c.height));
      EXPECT_EQ(full[0].size(), static_cast<std::size_t>(c.width));
      EXPECT_TRUE(OurMatrix(encoder, Repeated("z", capacity + 1), options).empty());
    }
  }
  // R17x139 at level M in every mode: 361 digits, 219 alphanumeric characters,
  // 150 bytes, 92 Kanji characters.
  EncodeOptions options;
  options.version = 32;
  for (const auto& [unit, capacity] :
       {std::pair<std::string, int>{"7", 361}, {"Z", 219}, {"z", 150}, {"\x93\x5f", 92}}) {
    EXPECT_FALSE(OurMatrix(encoder, Repeated(unit, capacity), options).empty()) << unit;
    EXPECT_TRUE(OurMatrix(encoder, Repeated(unit, capacity + 1), options).empty()) << unit;
  }
  // Levels L and Q do not exist in rMQR.
  for (const std::int16_t level : {1, 3}) {
    options.level = level;
    EXPECT_TRUE(OurMatrix(encoder, "1", options).empty()) << level;
  }
}

// Every size at both levels, in each mode and filled to capacity; then the
// automatic size for a corpus of mixed contents, and for fixed heights.
TEST(Rmqr, EverySizeLevelAndModeMatchesZint) {
  QrEncoder encoder;
  for (int number = 1; number <= 32; ++number) {
    const Capacity& c = kCapacities[number - 1];
    for (const auto& [level, capacity] : {std::pair{2, c.byteM}, std::pair{4, c.byteH}}) {
      // Short contents cut to what the level holds in byte mode.
      std::vector<std::string> contents = {"1", "0123456", "AB-1", "Mix ab"};
      for (std::string& content : contents)
        content.resize(std::min<std::size_t>(content.size(), static_cast<std::size_t>(capacity)));
      contents.push_back(Repeated("z", capacity));
      const std::string arguments =
          "--vers=" + std::to_string(number) + " --secure=" + std::to_string(level);
      const std::vector<Matrix> zint = ZintMatrices(arguments, contents);
      ASSERT_EQ(zint.size(), contents.size()) << arguments;
      for (std::size_t i = 0; i < contents.size(); ++i) {
        EncodeOptions options;
        options.version = static_cast<std::int16_t>(number);
        options.level = static_cast<std::int16_t>(level);
        EXPECT_EQ(OurMatrix(encoder, contents[i], options), zint[i])
            << arguments << " " << contents[i];
      }
    }
  }
  const std::vector<std::string> mixed = {"HELLO",
                                          "https://example.com/a?b=1",
                                          "LOT 4711-0815/A",
                                          "12345678901234567890",
                                          "a1b2c3",
                                          "WIRE 17 AWG BLACK 0123456789",
                                          "SN:000123456789XYZ",
                                          Repeated("9", 200),
                                          "x",
                                          "Ab 1234567890123 Cd",
                                          "01234567ABCDEFGH12345678abcd"};
  const std::vector<Matrix> zint = ZintMatrices("--secure=2", mixed);
  ASSERT_EQ(zint.size(), mixed.size());
  for (std::size_t i = 0; i < mixed.size(); ++i) {
    EXPECT_EQ(OurMatrix(encoder, mixed[i], {}), zint[i]) << mixed[i];
  }
  // Kanji mode: Shift-JIS bytes against Zint given the same characters in UTF-8.
  const std::vector<Matrix> kanji =
      ZintMatrices("--vers=13 --secure=2", {"\xe7\x82\xb9\xe6\x9c\xac"}, false);
  ASSERT_EQ(kanji.size(), 1u);
  EncodeOptions options;
  options.version = 13;
  EXPECT_EQ(OurMatrix(encoder, "\x93\x5f\x96\x7b", options), kanji[0]);
  // ECI designators of one and two bytes ahead of the data, at the automatic size.
  for (const int eci : {26, 899}) {
    const std::vector<std::string> contents = {
        "Gr\xc3\xbc\xc3\x9f"
        "e",
        std::string(40, 'x')};
    const std::vector<Matrix> zint =
        ZintMatrices("--secure=2 --eci=" + std::to_string(eci), contents);
    ASSERT_EQ(zint.size(), contents.size());
    EncodeOptions withEci;
    withEci.header = encoder::StreamHeader{};
    withEci.header->eci = eci;
    for (std::size_t i = 0; i < contents.size(); ++i) {
      EXPECT_EQ(OurMatrix(encoder, contents[i], withEci), zint[i]) << eci << " " << contents[i];
    }
  }
}

// Every size and level, with a 2-module quiet zone, read back by zxing-wasm
// in one Node.js run.
TEST(Rmqr, EverySizeAndLevelDecodesInZxingWasm) {
  QrEncoder encoder;
  std::vector<std::string> files, expected;
  std::string command =
      "node " QRSMITH_SOURCE_DIR "/tests/support/zxing_wasm_read.mjs " QRSMITH_SOURCE_DIR "/tests";
  for (int number = 1; number <= 32; ++number) {
    for (const int level : {2, 4}) {
      const Capacity& c = kCapacities[number - 1];
      const std::string content =
          Repeated("Rq-7", 3).substr(0, static_cast<std::size_t>(level == 2 ? c.byteM : c.byteH));
      EncodeOptions options;
      options.kind = SymbolKind::kRmqr;
      options.version = static_cast<std::int16_t>(number);
      options.level = static_cast<std::int16_t>(level);
      options.left = options.top = options.right = options.bottom = 2;
      const Bytes bytes(content.begin(), content.end());
      const auto picture = encoder.Encode(bytes, static_cast<std::int32_t>(bytes.size()), options);
      ASSERT_NE(picture, nullptr) << number << " " << level;
      const Bytes png = platform::codecs::EncodePngEnlarged(*picture, picture->Width() * 4,
                                                            picture->Height() * 4);
      const std::string path = ::testing::TempDir() + "rmqr_" + std::to_string(number) + "_" +
                               std::to_string(level) + ".png";
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(png.data()),
                 static_cast<std::streamsize>(png.size()));
      command += " " + path;
      std::string hex;
      for (const std::uint8_t b : bytes) {
        static const char kDigits[] = "0123456789abcdef";
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
      }
      files.push_back(path);
      expected.push_back("RMQRCode " + hex);
    }
  }
  const std::vector<std::string> read = RunLines(command + " 2>&1");
  ASSERT_EQ(read.size(), expected.size());
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(read[i], expected[i]) << files[i];
}

}  // namespace
}  // namespace qrsmith
