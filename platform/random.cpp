#include "platform/random.h"

#include <ctime>
#include <mutex>
#include <random>

namespace qrsmith::platform {

namespace {

std::uint64_t TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
         static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

struct Generator {
  std::mutex lock;  // the command-line tool's batch mode draws from several threads
  std::mt19937_64 engine{TickCount()};
};

Generator& Shared() {
  static Generator generator;
  return generator;
}

}  // namespace

void FillRandom(std::span<std::uint8_t> out) {
  Generator& g = Shared();
  std::lock_guard<std::mutex> guard(g.lock);
  // Each 64-bit draw gives eight uniform bytes.
  std::size_t i = 0;
  while (i < out.size()) {
    std::uint64_t bits = g.engine();
    for (int k = 0; k < 8 && i < out.size(); ++k, bits >>= 8) {
      out[i++] = static_cast<std::uint8_t>(bits);
    }
  }
}

std::uint32_t RandomBelow(std::uint32_t bound) {
  Generator& g = Shared();
  std::lock_guard<std::mutex> guard(g.lock);
  return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(g.engine);
}

}  // namespace qrsmith::platform
