// Text -> QrGenerator::Generate -> zxing-cpp: whatever the content and the
// options, Generate either refuses for a reason that fits the input or makes
// a symbol of a legal size that an independent reader reads back as exactly
// the bytes the content stands for.
//
// Input: flags (bit 0 ANSI, bits 1..3 level), a mask byte, a version byte, a
// margin byte, then the content.

#include "fuzz/fuzz_input.h"
#include "generator/qr_generator.h"
#include "platform/codepage.h"
#include "tests/support/qr_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using qrsmith::GenerateFailure;
  using qrsmith::fuzz::Expect;
  qrsmith::fuzz::FuzzInput in(data, size);
  const std::uint8_t flags = in.U8();
  const bool ansi = (flags & 1) != 0;
  const auto level = static_cast<std::int16_t>(((flags >> 1) & 7) % 5);  // 0..4, 0 is M
  const auto mask = static_cast<std::int16_t>(in.U8() % 9 - 1);          // -1..7
  const auto version = static_cast<std::int16_t>(in.U8() % 41);          // 0 automatic
  const std::uint8_t margins = in.U8();
  const std::int32_t left = margins & 3, top = (margins >> 2) & 3, right = (margins >> 4) & 3,
                     bottom = (margins >> 6) & 3;
  const std::string content = in.RestAsText();

  qrsmith::QrGenerator generator;
  const bool made = generator.Generate(content, ansi, version, level, mask, qrsmith::kBlack,
                                       qrsmith::kWhite, std::nullopt, left, bottom, top, right);
  if (!made) {
    const GenerateFailure why = generator.LastFailure();
    Expect(!generator.HasSymbol(), "a refused Generate left a symbol");
    Expect(why == GenerateFailure::kContentTooLong ||
               (ansi && why == GenerateFailure::kContentNotRepresentable),
           "Generate refused legal options for a reason that does not fit");
    return 0;
  }
  Expect(generator.LastFailure() == GenerateFailure::kNone, "success with a failure recorded");

  // The symbol picture: 17 + 4v modules for some version v (the one asked
  // for, when one was), plus the margins.
  const std::int32_t modules = generator.SymbolWidth() - left - right;
  Expect(generator.SymbolHeight() - top - bottom == modules, "symbol picture is not square");
  Expect(modules >= 21 && modules <= 177 && (modules - 17) % 4 == 0, "no QR symbol side");
  Expect(version == 0 || modules == 17 + 4 * version, "symbol of another version than asked");

  qrsmith::Bytes expected(content.begin(), content.end());
  if (ansi) {
    const auto converted = qrsmith::platform::Utf8ToCodePage(content);
    Expect(converted.has_value(), "ANSI content encoded that the code page cannot hold");
    expected = *converted;
  }
  if (expected.empty()) return 0;  // readers report no content for an empty symbol
  const auto decoded = qrsmith::testing::DecodeWithZxing(*generator.SymbolBitmap(), 3);
  Expect(decoded.has_value(), "zxing-cpp cannot read the symbol");
  Expect(decoded->bytes == expected, "zxing-cpp reads other bytes than the content's");
  return 0;
}
