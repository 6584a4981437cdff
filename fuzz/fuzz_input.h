#pragma once
// Helpers shared by the fuzz targets: reading typed fields off the front of a
// fuzzer's input, and stopping with a message when an expectation fails (the
// fuzzer and the replay program both count an abort as a finding).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

namespace qrsmith::fuzz {

// Consumes fixed-size fields from the start of the input; once the input runs
// out every field reads as zero, so any input is a complete case.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t U8() { return size_ > 0 ? (--size_, *data_++) : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | (U8() << 8)); }
  std::uint32_t U32() { return U16() | (std::uint32_t{U16()} << 16); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  bool Bit() { return (U8() & 1) != 0; }

  // Whatever is left, taken whole.
  std::span<const std::uint8_t> Rest() {
    std::span<const std::uint8_t> rest(data_, size_);
    data_ += size_;
    size_ = 0;
    return rest;
  }
  std::string RestAsText() {
    const auto rest = Rest();
    return std::string(rest.begin(), rest.end());
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Reports a broken expectation and aborts, so that the input is kept as a crash.
[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "fuzz expectation broken: %s\n", what);
  std::abort();
}

inline void Expect(bool holds, const char* what) {
  if (!holds) Broken(what);
}

}  // namespace qrsmith::fuzz
