// Writing and reading a large symbol picture: 2000 x 2000 pixels in two
// colours, modules of 20 pixels, as SaveImage makes for an enlarged symbol.
#include <benchmark/benchmark.h>

#include "platform/bitmap.h"
#include "platform/codecs/image.h"

namespace {

using qrsmith::platform::Bitmap;
using qrsmith::platform::codecs::ImageFormat;

const Bitmap& LargeSymbol() {
  static const Bitmap symbol = [] {
    Bitmap bitmap = *Bitmap::Create(2000, 2000, 0xFFFFFF);
    for (int row = 0; row < 100; ++row) {
      for (int column = 0; column < 100; ++column) {
        if ((row * 7 + column * 13 + row * column) % 5 < 2) {
          bitmap.FillRect(column * 20, row * 20, column * 20 + 20, row * 20 + 20, 0);
        }
      }
    }
    return bitmap;
  }();
  return symbol;
}

void Encode(benchmark::State& state, ImageFormat format) {
  std::size_t size = 0;
  for (auto _ : state) {
    const auto bytes = qrsmith::platform::codecs::EncodeImage(LargeSymbol(), format);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["bytes"] = static_cast<double>(size);
}

void Decode(benchmark::State& state, ImageFormat format) {
  const auto bytes = qrsmith::platform::codecs::EncodeImage(LargeSymbol(), format);
  for (auto _ : state) {
    auto bitmap = qrsmith::platform::codecs::DecodeImage(bytes);
    benchmark::DoNotOptimize(bitmap);
  }
}

BENCHMARK_CAPTURE(Encode, png, ImageFormat::kPng)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, gif, ImageFormat::kGif)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, tiff, ImageFormat::kTiff)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, bmp, ImageFormat::kBmp)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, jpeg, ImageFormat::kJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, png, ImageFormat::kPng)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
