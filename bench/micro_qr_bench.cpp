// Encode of Micro QR symbols at the automatic version and mask, beside Zint's
// encoder (libzint) making the same symbols in the same run. Zint computes the
// module matrix only; Encode also draws the symbol bitmap.
#include <benchmark/benchmark.h>
#include <zint.h>

#include <string>

#include "encoder/qr_encoder.h"

namespace {

// Contents that fill an M4-L symbol: 15 bytes, and 35 digits.
const std::string kContents[] = {"Shelf A3 box 17", "31415926535897932384626433832795028"};

void BM_QrsmithMicroQrM4L(benchmark::State& state) {
  const std::string& text = kContents[static_cast<std::size_t>(state.range(0))];
  const qrsmith::Bytes content(text.begin(), text.end());
  qrsmith::QrEncoder encoder;
  qrsmith::EncodeOptions options;
  options.kind = qrsmith::SymbolKind::kMicroQr;
  options.level = 1;
  options.chooseMask = true;
  for (auto _ : state) {
    auto picture = encoder.Encode(content, static_cast<std::int32_t>(content.size()), options);
    if (picture == nullptr || encoder.Version() != 4) state.SkipWithError("not M4");
    benchmark::DoNotOptimize(picture);
  }
}

void BM_ZintMicroQrM4L(benchmark::State& state) {
  const std::string& text = kContents[static_cast<std::size_t>(state.range(0))];
  zint_symbol* symbol = ZBarcode_Create();
  for (auto _ : state) {
    ZBarcode_Clear(symbol);
    symbol->symbology = BARCODE_MICROQR;
    symbol->option_1 = 1;  // level L; version and mask automatic
    const int status = ZBarcode_Encode(
        symbol, reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    if (status != 0 || symbol->width != 17) state.SkipWithError("not M4");
    benchmark::DoNotOptimize(symbol->encoded_data);
  }
  ZBarcode_Delete(symbol);
}

}  // namespace

BENCHMARK(BM_QrsmithMicroQrM4L)->DenseRange(0, 1);
BENCHMARK(BM_ZintMicroQrM4L)->DenseRange(0, 1);
BENCHMARK_MAIN();
