// Encode of rMQR symbols at the automatic size (R17x139 at level M, the
// largest), beside Zint's encoder (libzint) making the same symbols in the
// same run. Zint computes the module matrix only; Encode also draws the
// symbol bitmap.
#include <benchmark/benchmark.h>
#include <zint.h>

#include <string>

#include "encoder/qr_encoder.h"

namespace {

// Contents that only R17x139 holds at level M: 150 bytes, and 361 digits.
const std::string kContents[] = {[] {
                                   std::string text;
                                   while (text.size() < 150)
                                     text += "Cable WX-17 AWG black, 3 m, lot 2026-12-09, line 4; ";
                                   return text.substr(0, 150);
                                 }(),
                                 [] {
                                   std::string digits;
                                   for (int i = 0; i < 361; ++i)
                                     digits += static_cast<char>('0' + (i * 7) % 10);
                                   return digits;
                                 }()};

void BM_QrsmithRmqrR17x139M(benchmark::State& state) {
  const std::string& text = kContents[static_cast<std::size_t>(state.range(0))];
  const qrsmith::Bytes content(text.begin(), text.end());
  qrsmith::QrEncoder encoder;
  qrsmith::EncodeOptions options;
  options.kind = qrsmith::SymbolKind::kRmqr;
  options.level = 2;
  for (auto _ : state) {
    auto picture = encoder.Encode(content, static_cast<std::int32_t>(content.size()), options);
    if (picture == nullptr || encoder.Version() != 32) state.SkipWithError("not R17x139");
    benchmark::DoNotOptimize(picture);
  }
}

void BM_ZintRmqrR17x139M(benchmark::State& state) {
  const std::string& text = kContents[static_cast<std::size_t>(state.range(0))];
  zint_symbol* symbol = ZBarcode_Create();
  for (auto _ : state) {
    ZBarcode_Clear(symbol);
    symbol->symbology = BARCODE_RMQR;
    symbol->option_1 = 2;  // level M; size automatic
    const int status = ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(text.data()),
                                       static_cast<int>(text.size()));
    if (status != 0 || symbol->width != 139 || symbol->rows != 17) {
      state.SkipWithError("not R17x139");
    }
    benchmark::DoNotOptimize(symbol->encoded_data);
  }
  ZBarcode_Delete(symbol);
}

}  // namespace

BENCHMARK(BM_QrsmithRmqrR17x139M)->DenseRange(0, 1);
BENCHMARK(BM_ZintRmqrR17x139M)->DenseRange(0, 1);
BENCHMARK_MAIN();
