// One Encode call (module matrix and symbol bitmap) for typical contents, with
// libqrencode and qrcodegen encoding the same contents at mask 0 as peers; and
// Encode choosing the mask against libqrencode's own automatic mask.
#include <benchmark/benchmark.h>
#include <qrencode.h>

#include <qrcodegen.hpp>
#include <string>

#include "encoder/qr_encoder.h"

// Exported by libqrencode but not declared in its header: encoding with a
// fixed mask, and the splitter that QRcode_encodeString uses.
extern "C" QRcode* QRcode_encodeMask(QRinput* input, int mask);
extern "C" int Split_splitStringToQRinput(const char* string, QRinput* input, QRencodeMode hint,
                                          int casesensitive);

namespace {

struct Input {
  std::string text;
  std::int16_t level;  // 1 L, 2 M, 3 Q, 4 H
};

std::string Repeat(const std::string& unit, std::size_t length) {
  std::string text;
  while (text.size() < length) text += unit;
  text.resize(length);
  return text;
}

const Input& InputNumber(int index) {
  static const Input kInputs[] = {
      {"HELLO WORLD", 2},
      {Repeat("https://www.example.com/path/to/some/page?query=value&other=thing#anchor", 100), 2},
      {Repeat("31415926535897932384626433832795028841971693993751", 1000), 2},
      {Repeat("the quick brown fox jumps over the lazy dog ", 2953), 1},  // version 40-L
      {Repeat("pack my box with five dozen liquor jugs ", 1273), 4},      // version 40-H
  };
  return kInputs[index];
}

void Label(benchmark::State& state, const Input& input) {
  state.SetLabel(std::to_string(input.text.size()) + " bytes, level " + "LMQH"[input.level - 1]);
}

void Qrsmith(benchmark::State& state, bool chooseMask) {
  const Input& input = InputNumber(static_cast<int>(state.range(0)));
  const qrsmith::Bytes content(input.text.begin(), input.text.end());
  qrsmith::QrEncoder encoder;
  qrsmith::EncodeOptions options;
  options.level = input.level;
  options.chooseMask = chooseMask;
  for (auto _ : state) {
    auto picture = encoder.Encode(content, static_cast<std::int32_t>(content.size()), options);
    if (picture == nullptr) state.SkipWithError("not encoded");
    benchmark::DoNotOptimize(picture);
  }
  Label(state, input);
}

void BM_QrsmithEncode(benchmark::State& state) { Qrsmith(state, false); }
void BM_QrsmithEncodeChoosingTheMask(benchmark::State& state) { Qrsmith(state, true); }

// Version 40-H content with mixed modes, without a header (0), with an ECI
// designator and FNC1 in the first position, whose GS bytes alphanumeric mode
// takes (1), and with the ECI alone (2): the cost of the header segments and
// of segmenting FNC1 data.
void BM_QrsmithEncodeWithHeader(benchmark::State& state) {
  static const std::string text = Repeat(
      "0109501101530003"
      "10LOT-42\x1D"
      "21abc ",
      1200);
  const qrsmith::Bytes content(text.begin(), text.end());
  qrsmith::QrEncoder encoder;
  qrsmith::EncodeOptions options;
  options.version = 40;
  options.level = 4;
  if (state.range(0) == 2)
    options.header = qrsmith::encoder::StreamHeader{std::nullopt, 26, std::nullopt};
  if (state.range(0) == 1)
    options.header = qrsmith::encoder::StreamHeader{std::nullopt, 26, qrsmith::encoder::Fnc1{}};
  for (auto _ : state) {
    auto picture = encoder.Encode(content, static_cast<std::int32_t>(content.size()), options);
    if (picture == nullptr) state.SkipWithError("not encoded");
    benchmark::DoNotOptimize(picture);
  }
  static constexpr const char* kLabels[] = {"no header", "ECI 26 and FNC1", "ECI 26"};
  state.SetLabel(kLabels[state.range(0)]);
}

// mask -1 asks libqrencode for its automatic choice.
void Libqrencode(benchmark::State& state, int mask) {
  const Input& input = InputNumber(static_cast<int>(state.range(0)));
  constexpr QRecLevel kLevels[] = {QR_ECLEVEL_L, QR_ECLEVEL_M, QR_ECLEVEL_Q, QR_ECLEVEL_H};
  for (auto _ : state) {
    QRinput* qrInput = QRinput_new2(0, kLevels[input.level - 1]);
    Split_splitStringToQRinput(input.text.c_str(), qrInput, QR_MODE_8, 1);
    QRcode* code = QRcode_encodeMask(qrInput, mask);
    if (code == nullptr) state.SkipWithError("not encoded");
    benchmark::DoNotOptimize(code);
    QRcode_free(code);
    QRinput_free(qrInput);
  }
  Label(state, input);
}

void BM_LibqrencodeMask0(benchmark::State& state) { Libqrencode(state, 0); }
void BM_LibqrencodeAutomaticMask(benchmark::State& state) { Libqrencode(state, -1); }

void BM_QrcodegenMask0(benchmark::State& state) {
  const Input& input = InputNumber(static_cast<int>(state.range(0)));
  using qrcodegen::QrCode;
  constexpr QrCode::Ecc kLevels[] = {QrCode::Ecc::LOW, QrCode::Ecc::MEDIUM, QrCode::Ecc::QUARTILE,
                                     QrCode::Ecc::HIGH};
  for (auto _ : state) {
    const auto segments = qrcodegen::QrSegment::makeSegments(input.text.c_str());
    QrCode code = QrCode::encodeSegments(segments, kLevels[input.level - 1], 1, 40, 0, false);
    benchmark::DoNotOptimize(code);
  }
  Label(state, input);
}

}  // namespace

BENCHMARK(BM_QrsmithEncode)->DenseRange(0, 4);
BENCHMARK(BM_QrsmithEncodeWithHeader)->DenseRange(0, 2);
BENCHMARK(BM_LibqrencodeMask0)->DenseRange(0, 4);
BENCHMARK(BM_QrcodegenMask0)->DenseRange(0, 4);
BENCHMARK(BM_QrsmithEncodeChoosingTheMask)->DenseRange(0, 4);
BENCHMARK(BM_LibqrencodeAutomaticMask)->DenseRange(0, 4);
