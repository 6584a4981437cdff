#include <gtest/gtest.h>

#include "api/qrsmith.h"
#include "platform/codecs/image.h"
#include "tests/support/file_contents.h"
#include "tests/support/qr_decode.h"
#include "tests/support/scratch_folder.h"

namespace qrsmith {
namespace {

const std::string kLongText(120, 'q');

// Options with some members set (GCC 12 warns about designated initialisers
// that leave members out).
template <class Options, class Setter>
Options With(Setter set) {
  Options options;
  set(options);
  return options;
}
const auto SymbolWith = With<SymbolOptions, void (*)(SymbolOptions&)>;
const auto WriteWith = With<WriteOptions, void (*)(WriteOptions&)>;

// Both readers must read exactly `text` from the picture.
void ExpectBothRead(const platform::Bitmap& picture, const std::string& text, int scale) {
  const auto zxing = testing::DecodeWithZxing(picture, scale);
  const auto zbar = testing::DecodeWithZbar(picture, scale);
  ASSERT_TRUE(zxing && zbar);
  EXPECT_EQ(zxing->text, text);
  EXPECT_EQ(zbar->text, text);
}

struct MatrixCase {
  const char* name;
  std::string text;
  SymbolOptions options;
  int version;  // expected; 0: larger than 1, chosen
  std::optional<int> mask;
  const char* level;
};

class EncodedMatrix : public ::testing::TestWithParam<MatrixCase> {};

// The matrix read through IsDark, with the quiet zone read through it too
// (positions outside the matrix), is what the readers decode.
TEST_P(EncodedMatrix, ReadsBackThroughIsDark) {
  const MatrixCase& c = GetParam();
  const EncodeResult encoded = Encode(c.text, c.options);
  ASSERT_TRUE(encoded) << encoded.failure;
  const Symbol& symbol = *encoded.symbol;
  EXPECT_EQ(symbol.Width(), 17 + 4 * symbol.Version());
  EXPECT_EQ(symbol.Height(), symbol.Width());
  EXPECT_EQ(symbol.Version() == c.version, c.version > 0) << symbol.Version();
  EXPECT_GE(symbol.Version(), 1);
  EXPECT_EQ(symbol.Mask(), c.mask.value_or(symbol.Mask()));
  EXPECT_LE(symbol.Mask(), 7);
  EXPECT_EQ(symbol.QuietZone(), c.options.quietZone);
  auto picture = platform::Bitmap::Create(symbol.Width() + 8, symbol.Height() + 8);
  for (int y = -4; y < symbol.Height() + 4; ++y) {
    for (int x = -4; x < symbol.Width() + 4; ++x) {
      picture->SetPixel(x + 4, y + 4, symbol.IsDark(x, y) ? 0x000000 : 0xFFFFFF);
    }
  }
  ExpectBothRead(*picture, c.text, 4);
  EXPECT_EQ(testing::DecodeWithZxing(*picture, 4)->ecLevel, c.level);
}

INSTANTIATE_TEST_SUITE_P(
    Api, EncodedMatrix,
    ::testing::Values(MatrixCase{"Defaults", "hello", {}, 1, std::nullopt, "M"},
                      MatrixCase{"AutomaticVersion", kLongText, {}, 0, std::nullopt, "M"},
                      MatrixCase{"FixedVersionMaskLevel", "fixed", SymbolWith([](SymbolOptions& o) {
                                   o.level = ErrorCorrection::kH, o.version = 5, o.mask = 3;
                                 }),
                                 5, 3, "H"},
                      MatrixCase{"NoQuietZone", "edge",
                                 SymbolWith([](SymbolOptions& o) { o.quietZone = 0; }), 1,
                                 std::nullopt, "M"}),
    [](const auto& info) { return info.param.name; });

// Each raster form, chosen by the extension in any case, holds the symbol at
// eight pixels a module with its four-module quiet zone.
class WrittenPicture : public ::testing::TestWithParam<const char*> {};

TEST_P(WrittenPicture, ReadsBackWithQuietZone) {
  const std::string text = "https://example.org/?form=" + std::string(GetParam());
  const EncodeResult encoded = Encode(text);
  ASSERT_TRUE(encoded);
  testing::ScratchFolder folder;
  const std::string path = folder / (std::string("symbol.") + GetParam());
  const WriteResult written = Write(*encoded.symbol, path);
  ASSERT_TRUE(written) << written.failure;
  const auto picture = platform::codecs::DecodeImage(testing::FileBytes(path));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Width(), (encoded.symbol->Width() + 8) * 8);
  EXPECT_EQ(picture->Pixel(31, 31) & 0xFFFFFF, 0xFFFFFFu);  // quiet zone
  EXPECT_EQ(picture->Pixel(32, 32) & 0xFFFFFF, 0u);         // finder corner
  ExpectBothRead(*picture, text, 1);
}

INSTANTIATE_TEST_SUITE_P(Api, WrittenPicture, ::testing::Values("png", "JPG", "gif", "tiff", "bmp"),
                         [](const auto& info) { return std::string(info.param); });

// Every refusal is one line naming what is wrong, and writes nothing.
TEST(ApiFailures, GiveOneLineReasons) {
  testing::ScratchFolder folder;
  const Symbol symbol = *Encode("x").symbol;
  const std::pair<std::string, std::string> cases[] = {
      {Encode(kLongText, SymbolWith([](SymbolOptions& o) { o.version = 1; })).failure,
       "does not fit a version 1 symbol at level M"},
      {Encode(std::string(8000, 'x')).failure, "does not fit any QR Code symbol"},
      {Encode("x", SymbolWith([](SymbolOptions& o) { o.mask = 8; })).failure, "out of range"},
      {Encode("x", SymbolWith([](SymbolOptions& o) { o.mask = -1; })).failure, "out of range"},
      {Encode("x", SymbolWith([](SymbolOptions& o) { o.version = 65537; })).failure,
       "out of range"},
      {Encode("x", SymbolWith([](SymbolOptions& o) { o.quietZone = -1; })).failure, "out of range"},
      {Write(symbol, folder / "symbol.xyz").failure, "cannot tell the form of"},
      {Write(symbol, folder / "symbol", WriteWith([](WriteOptions& o) { o.form = "nope"; }))
           .failure,
       "no form is called 'nope'"},
      {Write(symbol, folder / "s.gif", WriteWith([](WriteOptions& o) { o.moduleMm = 1.0; }))
           .failure,
       "gif form has no printed size"},
      {Write(symbol, folder / "s.png", WriteWith([](WriteOptions& o) { o.modulePixels = 0; }))
           .failure,
       "at least one pixel"},
      {Write(symbol, folder / "s.png", WriteWith([](WriteOptions& o) { o.modulePixels = 2000; }))
           .failure,
       "cannot make the png"},
      {Write(symbol, folder / "no/s.png").failure, "No such file or directory"},
  };
  for (const auto& [failure, expected] : cases) {
    EXPECT_NE(failure.find(expected), std::string::npos) << failure;
    EXPECT_EQ(failure.find('\n'), std::string::npos) << failure;
  }
  EXPECT_EQ(folder.Entries(), 0u);
}

}  // namespace
}  // namespace qrsmith
