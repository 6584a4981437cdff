// The generator's main job and its large raster export, with Debian's
// qrencode writing a PNG of about the same size as the peer in the same run.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "generator/qr_generator.h"
#include "generator/raster_files.h"
#include "platform/codecs/png.h"

extern char** environ;

namespace {

using qrsmith::QrGenerator;

const std::string kVersion40Content(2953, 'a');  // fills version 40 at level L

void BM_GenerateVersion1(benchmark::State& state) {
  QrGenerator g;
  for (auto _ : state) benchmark::DoNotOptimize(g.Generate("HELLO WORLD", false, 0, 2, -1, 0));
}
BENCHMARK(BM_GenerateVersion1);

void BM_GenerateVersion40(benchmark::State& state) {
  QrGenerator g;
  for (auto _ : state) {
    benchmark::DoNotOptimize(g.Generate(kVersion40Content, false, 0, 1, -1, 0));
  }
}
BENCHMARK(BM_GenerateVersion40);

// Enlarging a symbol to 2000 x 2000 (Bitmap::Stretch) and PNG encoding, through the whole picture.
void BM_ScaleAndEncodePng2000(benchmark::State& state) {
  QrGenerator g;
  g.Generate(kVersion40Content, false, 0, 1, -1, 0);
  for (auto _ : state) {
    const auto scaled = g.SymbolBitmap()->Stretch(2000, 2000);
    benchmark::DoNotOptimize(qrsmith::platform::codecs::EncodePng(*scaled));
  }
}
BENCHMARK(BM_ScaleAndEncodePng2000)->Unit(benchmark::kMillisecond);

void BM_SaveImagePng8192(benchmark::State& state) {
  QrGenerator g;
  g.Generate(kVersion40Content, false, 0, 1, -1, 0, std::nullopt, std::nullopt, 4, 4, 4, 4);
  const std::string path = "/tmp/qrsmith-bench-" + std::to_string(::getpid()) + ".png";
  for (auto _ : state) benchmark::DoNotOptimize(g.SaveImage(path, 8192, qrsmith::kRasterPng));
  ::unlink(path.c_str());
}
BENCHMARK(BM_SaveImagePng8192)->Unit(benchmark::kMillisecond);

// The peer: `qrencode -s 46` writes an 8510-pixel PNG of the same content.
void BM_QrencodeProcessPng8510(benchmark::State& state) {
  const std::string path = "/tmp/qrsmith-bench-peer-" + std::to_string(::getpid()) + ".png";
  std::vector<std::string> args = {"qrencode", "-l", "L",  "-s",
                                   "46",       "-o", path, kVersion40Content};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawnp(&pid, "qrencode", nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("qrencode is not installed");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
  }
  ::unlink(path.c_str());
}
BENCHMARK(BM_QrencodeProcessPng8510)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
