// Header segments (ECI, structured append, FNC1) and the level boost, checked
// module for module against Zint; GS1 verdicts against Zint's own checks; a
// planned sequence read back part by part by zxing-cpp.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "encoder/gs1.h"
#include "encoder/qr_encoder.h"
#include "encoder/structured_append.h"
#include "tests/support/file_contents.h"
#include "tests/support/qr_decode.h"
#include "tests/support/scratch_folder.h"

namespace qrsmith {
namespace {

using encoder::Fnc1;
using encoder::StreamHeader;
using encoder::StructuredAppendHeader;

// Zint's module matrix of `data` (given through a file, so any bytes pass),
// one string of '0' and '1' per row, and its complaints (warnings, errors);
// no rows when it refuses.
struct Zint {
  std::vector<std::string> rows;
  std::string complaints;
};
Zint RunZint(const std::string& args, const std::string& data) {
  testing::ScratchFolder folder("qrsmith-zint");
  const std::string input = (folder.Path() / "data").string();
  const std::string errors = (folder.Path() / "errors").string();
  std::ofstream(input, std::ios::binary) << data;
  const std::string command = "zint -b QRCODE --dump " + args + " -i " + input + " 2>" + errors;
  Zint zint;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {{}, "zint is missing"};
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string row;
    for (const char* p = line; *p != '\0' && *p != '\n'; ++p) {
      if (*p == ' ') continue;
      const int nibble = std::stoi(std::string(1, *p), nullptr, 16);
      for (int b = 3; b >= 0; --b) row += ((nibble >> b) & 1) ? '1' : '0';
    }
    zint.rows.push_back(row);
  }
  const int status = ::pclose(pipe);
  zint.complaints = testing::FileText(errors);
  if (status != 0) {
    zint.rows.clear();
    if (zint.complaints.empty()) zint.complaints = "zint failed";
  }
  for (std::string& row : zint.rows) row.resize(zint.rows.size());  // the dump pads rows to bytes
  return zint;
}

std::vector<std::string> ZintRows(const std::string& args, const std::string& data) {
  return RunZint(args, data).rows;
}

std::vector<std::string> OurRows(const QrEncoder& encoder) {
  std::vector<std::string> rows;
  for (std::int32_t r = 1; r <= encoder.Side(); ++r) {
    std::string row;
    for (std::int32_t c = 1; c <= encoder.Side(); ++c)
      row += encoder.ModuleAt(r, c, true) ? '1' : '0';
    rows.push_back(row);
  }
  return rows;
}

EncodeOptions Options(std::int16_t level, std::int16_t mask, StreamHeader header) {
  EncodeOptions options;
  options.level = level;
  options.mask = mask;
  options.header = header;
  options.allowKanji = false;
  return options;
}

struct ZintCase {
  std::string what, zintArgs, zintData;  // Zint's arguments and input
  std::string content;                   // our content bytes
  std::int16_t level, mask;
  StreamHeader header;
};

TEST(StreamHeader, MatchesZintModuleForModule) {
  const std::string latin1 =
      "Gr\xFC\xDF"
      "e";
  const std::vector<ZintCase> cases = {
      {"ECI 26, one-byte designator",
       "--eci=26 --secure=2 --mask=2",
       "Grüße, Straße",
       "Grüße, Straße",
       2,
       2,
       {std::nullopt, 26, std::nullopt}},
      {"ECI 3 on Latin-1 bytes",
       "--eci=3 --secure=1 --mask=5",
       "Grüße",
       latin1,
       1,
       5,
       {std::nullopt, 3, std::nullopt}},
      {"ECI 899, two-byte designator",
       "--eci=899 --binary --secure=3 --mask=0",
       "abc\x01\xFF",
       "abc\x01\xFF",
       3,
       0,
       {std::nullopt, 899, std::nullopt}},
      {"ECI 811799, three-byte designator",
       "--eci=811799 --secure=1 --mask=7",
       "hello world",
       "hello world",
       1,
       7,
       {std::nullopt, 811799, std::nullopt}},
      {"structured append 2 of 3",
       "--structapp=2,3,77 --secure=2 --mask=3",
       "HELLO WORLD",
       "HELLO WORLD",
       2,
       3,
       {StructuredAppendHeader{2, 3, 77}, std::nullopt, std::nullopt}},
      {"structured append 16 of 16 with ECI",
       "--structapp=16,16,200 --eci=26 --secure=4 --mask=1",
       "naïve",
       "naïve",
       4,
       1,
       {StructuredAppendHeader{16, 16, 200}, 26, std::nullopt}},
      {"GS1 all digits",
       "--gs1 --gs1parens --secure=2 --mask=4",
       "(01)09501101530003(17)260101",
       "0109501101530003"
       "17260101",
       2,
       4,
       {std::nullopt, std::nullopt, Fnc1{}}},
      {"GS1 digits then alphanumerics",
       "--gs1 --gs1parens --secure=3 --mask=1",
       "(01)09501101530003(17)260101(10)ABC",
       "0109501101530003"
       "17260101"
       "10ABC",
       3,
       1,
       {std::nullopt, std::nullopt, Fnc1{}}},
      {"GS1 in a sequence",
       "--gs1 --gs1parens --structapp=1,2,9 --secure=2 --mask=5",
       "(01)09501101530003",
       "0109501101530003",
       2,
       5,
       {StructuredAppendHeader{1, 2, 9}, std::nullopt, Fnc1{}}},
      {"GS1 with GS in alphanumeric mode",
       "--gs1 --gs1parens --secure=1 --mask=6",
       "(10)AB-CD(21)XY12",
       "10AB-CD\x1D"
       "21XY12",
       1,
       6,
       {std::nullopt, std::nullopt, Fnc1{}}},
  };
  for (const ZintCase& c : cases) {
    const std::vector<std::string> zint = ZintRows(c.zintArgs, c.zintData);
    ASSERT_FALSE(zint.empty()) << c.what << ": Zint refused";
    QrEncoder encoder;
    const Bytes content(c.content.begin(), c.content.end());
    ASSERT_TRUE(encoder.Encode(content, static_cast<std::int32_t>(content.size()),
                               Options(c.level, c.mask, c.header)))
        << c.what;
    EXPECT_EQ(OurRows(encoder), zint) << c.what;
  }
}

TEST(StreamHeader, BoostRaisesTheLevelWithinTheVersion) {
  QrEncoder encoder;
  const Bytes hello = {'H', 'E', 'L', 'L', 'O'};
  EncodeOptions options;
  options.version = 1;
  options.level = 1;
  options.boostLevel = true;
  options.mask = 0;
  ASSERT_TRUE(encoder.Encode(hello, 5, options));
  EXPECT_EQ(encoder.Level(), 4);
  EXPECT_EQ(OurRows(encoder), ZintRows("--vers=1 --secure=4 --mask=0", "HELLO"));
  // 17 bytes fill version 1 at L (19 data codewords) but not at M (16).
  const Bytes full(17, 'a');
  options.version = 0;
  ASSERT_TRUE(encoder.Encode(full, 17, options));
  EXPECT_EQ(encoder.Side(), 21);
  EXPECT_EQ(encoder.Level(), 1);
}

}  // namespace
}  // namespace qrsmith

namespace qrsmith {
namespace {

// Element strings and refusals; Zint's own GS1 checks must agree on every
// verdict, so the AI table and the check digit are not only our own reading.
TEST(Gs1, ElementStringsAndRefusalsAgreeWithZint) {
  struct Case {
    std::string human, elementString, error;  // error: empty when accepted
  };
  const std::vector<Case> cases = {
      {"(01)09501101530003(17)260101(10)ABC",
       "0109501101530003"
       "17260101"
       "10ABC",
       ""},
      {"(00)106141411234567897(21)A1(91)x-y",
       "00106141411234567897"
       "21A1\x1D"
       "91x-y",
       ""},
      {"(3103)000750(15)991231(8200)http://a.b/c",
       "3103000750"
       "15991231"
       "8200http://a.b/c",
       ""},
      {"(414)9501101020917(30)12(402)12345678901234560",
       "4149501101020917"
       "3012\x1D"
       "40212345678901234560",
       ""},
      {"(01)09501101530004", "", "AI (01): check digit is 4, should be 3"},
      {"(00)106141411234567890", "", "AI (00): check digit is 0, should be 7"},
      {"(01)0950110153000", "", "AI (01): takes 14 characters, not 13"},
      {"(17)261301", "", "AI (17): is not a date YYMMDD"},
      {"(10)AB CD", "", "AI (10): has a character outside the GS1 character set"},
      {"(30)12A", "", "AI (30): takes digits only"},
      {"(10)123456789012345678901", "", "AI (10): takes 1 to 20 characters, not 21"},
  };
  for (const Case& c : cases) {
    const encoder::Gs1Parse parsed = encoder::ParseGs1(c.human);
    EXPECT_EQ(parsed.elementString.value_or(""), c.elementString) << c.human;
    EXPECT_EQ(parsed.error, c.error) << c.human;
    const std::string complaints = RunZint("--gs1 --gs1parens", c.human).complaints;
    EXPECT_EQ(complaints.empty(), c.error.empty()) << c.human << ": " << complaints;
  }
  EXPECT_EQ(encoder::ParseGs1("(01)09501101530003(99)").error,
            "AI (99): takes 1 to 90 characters, not 0");
  EXPECT_EQ(encoder::ParseGs1("(19)1").error, "AI (19): unknown");
}

// A split never cuts a character, keeps to one version and joins back.
TEST(StructuredAppend, PlansEqualPartsOnCharacterStarts) {
  std::string text;
  while (text.size() < 10000)
    text += "Grüße aus Straße Nummer " + std::to_string(text.size()) + ". ";
  const Bytes data(text.begin(), text.end());
  std::vector<std::uint8_t> starts(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) starts[i] = (data[i] & 0xC0) != 0x80;
  encoder::SplitRequest request;
  request.level = 1;
  request.header.eci = 26;
  request.startsCharacter = starts;
  const encoder::StructuredAppendPlan plan = encoder::PlanStructuredAppend(data, request);
  ASSERT_EQ(plan.Parts(), 4u);  // 10 KB of bytes needs four version-40 symbols at L
  std::string joined;
  std::size_t start = 0;
  for (std::size_t k = 0; k < plan.Parts(); ++k) {
    EXPECT_TRUE(starts[start]) << "part " << k;
    QrEncoder encoder;
    EncodeOptions options = Options(1, 0, request.header);
    options.version = static_cast<std::int16_t>(plan.version);
    options.header->structuredAppend = encoder::PartHeader(plan, k);
    const Bytes part(data.begin() + static_cast<std::ptrdiff_t>(start),
                     data.begin() + static_cast<std::ptrdiff_t>(plan.ends[k]));
    const auto picture = encoder.Encode(part, static_cast<std::int32_t>(part.size()), options);
    ASSERT_TRUE(picture) << "part " << k;
    const auto decoded = testing::DecodeWithZxing(*picture, 2);
    ASSERT_TRUE(decoded) << "part " << k;
    EXPECT_EQ(decoded->sequenceIndex, static_cast<int>(k));
    EXPECT_EQ(decoded->sequenceSize, 4);
    joined += decoded->text;
    start = plan.ends[k];
  }
  EXPECT_EQ(joined, text);
  request.symbols = 2;  // two symbols cannot hold it
  EXPECT_EQ(encoder::PlanStructuredAppend(data, request).Parts(), 0u);
}

}  // namespace
}  // namespace qrsmith
