// Exporting a version-40 symbol (179 x 179 positions with its one-module
// margin): every form of ExportVector writes one element or fill per
// position; the compact SVG one path of runs; the print forms (PDF in RGB and
// CMYK, a PNG declaring its resolution) report the process's peak resident
// size beside their times, as a PDF must be made within 32 MB.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "export/html.h"
#include "export/output_forms.h"
#include "export/vector_export.h"
#include "generator/qr_generator.h"

namespace {

const qrsmith::QrGenerator& Version40() {
  static const qrsmith::QrGenerator generator = [] {
    qrsmith::QrGenerator g;
    g.Generate(std::string(1000, 'A'), false, 40, 2, -1, qrsmith::kBlack);
    return g;
  }();
  return generator;
}

void BM_ExportVector(benchmark::State& state) {
  const auto kind = static_cast<qrsmith::VectorKind>(state.range(0));
  std::size_t bytes = 0;
  for (auto _ : state) {
    const qrsmith::Bytes out = qrsmith::ExportVector(Version40(), kind, 1000, 1000);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["output_bytes"] = static_cast<double>(bytes);
}
// 2 = SVG, 4 = EMF; the other forms for comparison.
BENCHMARK(BM_ExportVector)
    ->ArgName("kind")
    ->Arg(2)
    ->Arg(4)
    ->Arg(0)
    ->Arg(1)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);

// The compact SVG (--svg-path): one path of runs instead of a rectangle per position.
void BM_ExportCompactSvg(benchmark::State& state) {
  qrsmith::FormRequest request;
  request.layout = {.width = 1000, .height = 1000};
  std::size_t bytes = 0;
  for (auto _ : state) {
    const qrsmith::Bytes out =
        qrsmith::ExportForm(Version40(), qrsmith::FormOf(qrsmith::FormId::kSvgPath), request);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExportCompactSvg)->Unit(benchmark::kMillisecond);

void BM_ExportHtml(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(qrsmith::ExportHtml(Version40(), 915, 915));
}
BENCHMARK(BM_ExportHtml)->Unit(benchmark::kMillisecond);

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

void ExportOnce(benchmark::State& state, qrsmith::FormId id, const qrsmith::FormRequest& request) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const qrsmith::Bytes out = qrsmith::ExportForm(Version40(), qrsmith::FormOf(id), request);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["output_bytes"] = static_cast<double>(bytes);
  state.counters["peak_rss_mb"] = PeakMegabytes();
}

void BM_Pdf(benchmark::State& state) {
  qrsmith::FormRequest request;
  request.print.moduleMm = 0.4;
  request.print.cmyk = state.range(0) != 0;
  ExportOnce(state, qrsmith::FormId::kPdf, request);
}
BENCHMARK(BM_Pdf)->ArgName("cmyk")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 0.4 mm at 600 dpi: 9 pixels per module.
void BM_PngAt600Dpi(benchmark::State& state) {
  qrsmith::FormRequest request;
  request.layout.width = request.layout.height = Version40().SymbolWidth() * 9;
  request.print.dpi = 600;
  ExportOnce(state, qrsmith::FormId::kPng, request);
}
BENCHMARK(BM_PngAt600Dpi)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
