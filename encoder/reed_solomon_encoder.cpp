#include "encoder/reed_solomon_encoder.h"

#include <algorithm>
#include <cstring>

namespace qrsmith {
namespace {

// The byte-oriented path serves GF(256), the QR Code field.
constexpr std::int32_t kByteFieldSize = 256;

}  // namespace

void ReedSolomonEncoder::SetField(const GaloisField& field) {
  field_ = field;
  productRowsReady_ = false;
}

std::int32_t ReedSolomonEncoder::GeneratorCoefficient(std::int32_t index) const {
  if (index < 0 || index >= kMaxBlockLength) return 0;
  return generator_[static_cast<std::size_t>(index)];
}

bool ReedSolomonEncoder::Initialise(std::int32_t k, std::int32_t c, const GaloisField& field,
                                    bool takeField, std::int32_t a, std::int32_t e) {
  if (k < 1 || c < 1 || k > kMaxBlockLength - c || e < 0) return false;
  const GaloisField& useField = takeField ? field : field_;
  if (a == 0) a = generatorElement_;
  if (a == 0) a = useField.Generator();
  if (useField.Size() < 2 || a <= 0 || a >= useField.Size()) return false;

  if (takeField) SetField(field);
  dataLength_ = k;
  parityLength_ = c;
  generatorElement_ = a;
  firstRoot_ = e;
  const GeneratorKey key{field_.Size(), field_.Polynomial(), field_.Generator(), a, e, c};
  if (key == generatorKey_) return true;  // the polynomial would come out the same

  // r = -(a^e) by square and multiply over the bits of e.
  std::int32_t r = 1;
  for (std::int32_t square = a, bits = e; bits != 0; bits >>= 1) {
    if ((bits & 1) != 0) r = field_.Multiply(r, square);
    square = field_.Multiply(square, square);
  }
  r = field_.Negate(r);
  generator_.fill(0);
  generator_[0] = r;
  generator_[1] = 1;
  // Multiply in one factor (x + r) at a time, r = -(a^(e+i-1)).
  for (std::int32_t i = 2; i <= c; ++i) {
    r = field_.Multiply(r, a);
    generator_[static_cast<std::size_t>(i)] = 1;
    for (std::int32_t n = i - 1; n >= 1; --n) {
      const auto at = static_cast<std::size_t>(n);
      generator_[at] = field_.Add(generator_[at - 1], field_.Multiply(generator_[at], r));
    }
    generator_[0] = field_.Multiply(generator_[0], r);
  }
  generatorKey_ = key;
  productRowsReady_ = false;
  return true;
}

bool ReedSolomonEncoder::Encode(std::span<std::int32_t> codeword) const {
  const std::int32_t k = dataLength_, c = parityLength_;
  if (k < 1 || codeword.size() < static_cast<std::size_t>(k + c)) return false;
  // Long division by the monic generator; the remainder is left in work[0 .. c-1].
  std::array<std::int32_t, kMaxBlockLength> work{};
  std::copy_n(codeword.begin() + c, k, work.begin() + c);
  for (std::int32_t n = k - 1; n >= 0; --n) {
    const std::int32_t f = work[static_cast<std::size_t>(n + c)];
    for (std::int32_t i = 0; i < c; ++i) {
      auto& entry = work[static_cast<std::size_t>(n + i)];
      entry = field_.Subtract(entry, field_.Multiply(f, generator_[static_cast<std::size_t>(i)]));
    }
  }
  for (std::int32_t i = 0; i < c; ++i) {
    codeword[static_cast<std::size_t>(i)] = field_.Negate(work[static_cast<std::size_t>(i)]);
  }
  return true;
}

void ReedSolomonEncoder::BuildProductRows() {
  const auto c = static_cast<std::size_t>(parityLength_);
  productRows_.assign(kByteFieldSize * c, 0);
  // Multiplication by a fixed polynomial is linear over GF(2), so row f is the
  // XOR of the rows of f's single bits; only those eight need multiplying.
  for (std::size_t bit = 1; bit < kByteFieldSize; bit <<= 1) {
    std::uint8_t* row = &productRows_[bit * c];
    for (std::size_t j = 0; j < c; ++j) {
      row[j] = static_cast<std::uint8_t>(
          field_.Multiply(static_cast<std::int32_t>(bit), generator_[c - 1 - j]));
    }
  }
  for (std::size_t f = 3; f < kByteFieldSize; ++f) {
    const std::size_t low = f & (~f + 1);
    if (low == f) continue;
    const std::uint8_t* a = &productRows_[low * c];
    const std::uint8_t* b = &productRows_[(f ^ low) * c];
    std::uint8_t* row = &productRows_[f * c];
    for (std::size_t j = 0; j < c; ++j) row[j] = a[j] ^ b[j];
  }
  productRowsReady_ = true;
}

bool ReedSolomonEncoder::EncodeBytes(const std::uint8_t* data, std::int32_t length,
                                     std::uint8_t* parity) {
  if (field_.Size() != kByteFieldSize || !field_.IsBinary() || dataLength_ < 1 || length < 0 ||
      length > dataLength_ || (length > 0 && data == nullptr) || parity == nullptr) {
    return false;
  }
  if (!productRowsReady_) BuildProductRows();
  const auto c = static_cast<std::size_t>(parityLength_);
  const auto n = static_cast<std::size_t>(length);
  // message[0] is the highest-degree coefficient; each step cancels it with
  // the matching multiple of the generator, leaving the remainder at the end.
  std::array<std::uint8_t, 2 * kMaxBlockLength> message;
  if (n > 0) std::memcpy(message.data(), data, n);
  std::memset(message.data() + n, 0, c);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t f = message[i];
    if (f == 0) continue;
    const std::uint8_t* row = &productRows_[f * c];
    std::uint8_t* rest = &message[i + 1];
    for (std::size_t j = 0; j < c; ++j) rest[j] ^= row[j];
  }
  std::memcpy(parity, message.data() + n, c);
  return true;
}

}  // namespace qrsmith
