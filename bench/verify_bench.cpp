// Grading a version-40 PNG at 10 pixels a module: the file decoded, both
// readers run on it as written, and every parameter measured. The measuring
// alone is timed too, since the icon's level choice runs it without readers.

#include <benchmark/benchmark.h>

#include "export/output_forms.h"
#include "generator/qr_generator.h"
#include "generator/raster_files.h"
#include "platform/codecs/image.h"
#include "verify/qr_reader.h"
#include "verify/scan_check.h"

namespace {

using qrsmith::QrGenerator;

struct Version40Png {
  QrGenerator generator;
  qrsmith::Bytes png;
  Version40Png() {
    generator.Generate(std::string(1500, 'q'), false, 40, 1, -1, qrsmith::kBlack, qrsmith::kWhite,
                       std::nullopt, 4, 4, 4, 4);
    qrsmith::RasterLayout layout;
    layout.width = generator.SymbolWidth() * 10;
    layout.height = generator.SymbolHeight() * 10;
    png = qrsmith::EncodeRasterFile(generator, qrsmith::kRasterPng, layout);
  }
};

void BM_GradeVersion40Png(benchmark::State& state) {
  qrsmith::verify::UseReaders(qrsmith_read_qr_code, qrsmith_read_qr_code_zbar);
  const Version40Png symbol;
  const qrsmith::Bytes carried = qrsmith::verify::CarriedBytes(symbol.generator);
  for (auto _ : state) {
    const auto graded = qrsmith::verify::GradeWrittenFile(
        symbol.generator, carried, qrsmith::FormOf(qrsmith::FormId::kPng), symbol.png);
    if (graded.grade.Overall() != qrsmith::verify::Letter::kA) state.SkipWithError("not A");
  }
}
// Wall time is what a user waits for: zbar reads on a thread of its own
// meanwhile. The first run gives the CPU time of the calling thread (on two
// idle cores the wall time is the longer of that and zbar's own time, below),
// the second the CPU time of every thread.
BENCHMARK(BM_GradeVersion40Png)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradeVersion40Png)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_MeasureVersion40Picture(benchmark::State& state) {
  const Version40Png symbol;
  const auto picture = qrsmith::platform::codecs::DecodeImage(symbol.png);
  for (auto _ : state) {
    benchmark::DoNotOptimize(qrsmith::verify::MeasurePicture(symbol.generator, *picture, "icon"));
  }
}
BENCHMARK(BM_MeasureVersion40Picture)->Unit(benchmark::kMillisecond);

// Each reader alone on the decoded picture.
void BM_ReadVersion40Picture(benchmark::State& state) {
  qrsmith::verify::UseReaders(qrsmith_read_qr_code, qrsmith_read_qr_code_zbar);
  const Version40Png symbol;
  const auto picture = qrsmith::platform::codecs::DecodeImage(symbol.png);
  const auto reader = static_cast<qrsmith::verify::Reader>(state.range(0));
  for (auto _ : state) {
    if (!qrsmith::verify::ReadQrCode(*picture, qrsmith::verify::QuietZone::kAsDrawn, reader)) {
      state.SkipWithError("not read");
    }
  }
}
BENCHMARK(BM_ReadVersion40Picture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DecodeVersion40Png(benchmark::State& state) {
  const Version40Png symbol;
  for (auto _ : state) benchmark::DoNotOptimize(qrsmith::platform::codecs::DecodeImage(symbol.png));
}
BENCHMARK(BM_DecodeVersion40Png)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
