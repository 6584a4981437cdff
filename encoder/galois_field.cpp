#include "encoder/galois_field.h"

#include <utility>

namespace qrsmith {
namespace {

// Exponents of the field sizes fit in 14 bits (q - 1 <= 16383).
constexpr int kExponentBits = 14;

int Degree(std::int32_t polynomial) {
  int degree = -1;
  for (; polynomial != 0; polynomial >>= 1) ++degree;
  return degree;
}

}  // namespace

std::int32_t GaloisField::PowerWithoutTables(std::int32_t x, std::int32_t exponent) const {
  std::int32_t result = 1;
  std::int32_t square = x;
  for (int bit = 0; bit < kExponentBits; ++bit) {
    if ((exponent & (1 << bit)) != 0) result = MultiplyWithoutTables(result, square);
    square = MultiplyWithoutTables(square, square);
  }
  return result;
}

std::int32_t GaloisField::FindPrimitiveElement() const {
  if (size_ < 2) return 0;
  // Distinct prime factors of the multiplicative group's order q - 1.
  std::vector<std::int32_t> primes;
  std::int32_t rest = size_ - 1;
  for (std::int32_t p = 2; p * p <= rest; ++p) {
    if (rest % p != 0) continue;
    primes.push_back(p);
    while (rest % p == 0) rest /= p;
  }
  if (rest > 1) primes.push_back(rest);

  for (std::int32_t g = 2; g < size_; ++g) {
    bool primitive = true;
    for (const std::int32_t p : primes) {
      if (PowerWithoutTables(g, (size_ - 1) / p) == 1) {
        primitive = false;
        break;
      }
    }
    if (primitive) return g;
  }
  return 0;
}

bool GaloisField::Initialise(std::int32_t q, std::int32_t polynomial, std::int32_t generator) {
  if (q < 2 || q > kMaxSize) return false;
  GaloisField field;
  field.size_ = q;
  if (field.IsBinary()) {
    // The polynomial must have degree m for GF(2^m); otherwise reduction
    // could not bring products back below q.
    if (polynomial < q || polynomial >= 2 * q) return false;
    field.polynomial_ = polynomial;
  }
  if (q == 2) {
    field.generator_ = 1;
    field.exp_ = {1, 1};
    field.log_ = {0, 0};
    *this = std::move(field);
    return true;
  }
  if (generator == 0) generator = field.FindPrimitiveElement();
  if (generator < 1 || generator >= q) return false;
  field.generator_ = generator;
  field.exp_.assign(static_cast<std::size_t>(q), 0);
  field.log_.assign(static_cast<std::size_t>(q), 0);
  field.exp_[0] = 1;
  field.exp_[1] = static_cast<std::int16_t>(generator);
  field.exp_[static_cast<std::size_t>(q - 1)] = 1;
  field.log_[static_cast<std::size_t>(generator)] = 1;
  std::int32_t x = generator;
  for (std::int32_t i = 2; i <= q - 2; ++i) {
    x = field.MultiplyWithoutTables(x, generator);
    field.exp_[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(x);
    field.log_[static_cast<std::size_t>(x)] = static_cast<std::int16_t>(i);
  }
  *this = std::move(field);
  return true;
}

std::int32_t GaloisField::Add(std::int32_t x, std::int32_t y) const {
  if (!Contains(x) || !Contains(y)) return 0;
  return IsBinary() ? (x ^ y) : (x + y) % size_;
}

std::int32_t GaloisField::Negate(std::int32_t x) const {
  if (!Contains(x)) return 0;
  return (IsBinary() || x == 0) ? x : size_ - x;
}

std::int32_t GaloisField::Subtract(std::int32_t x, std::int32_t y) const {
  if (!Contains(x) || !Contains(y)) return 0;
  return IsBinary() ? (x ^ y) : (x - y + size_) % size_;
}

std::int32_t GaloisField::Multiply(std::int32_t x, std::int32_t y) const {
  if (!Contains(x) || !Contains(y) || x == 0 || y == 0) return 0;
  const std::int32_t sum = log_[static_cast<std::size_t>(x)] + log_[static_cast<std::size_t>(y)];
  return exp_[static_cast<std::size_t>(sum % (size_ - 1))];
}

std::int32_t GaloisField::MultiplyWithoutTables(std::int32_t x, std::int32_t y) const {
  if (!Contains(x) || !Contains(y) || x == 0 || y == 0) return 0;
  if (!IsBinary()) return static_cast<std::int32_t>(std::int64_t{x} * y % size_);
  if (size_ == 2) return 1;
  // Shift-and-add: the running multiple x * 2^k is reduced by the field
  // polynomial as soon as it reaches degree m.
  std::int32_t product = 0;
  for (std::int32_t multiple = x; y != 0; y >>= 1) {
    if ((y & 1) != 0) product ^= multiple;
    multiple <<= 1;
    if ((multiple & size_) != 0) multiple ^= polynomial_;
  }
  return product;
}

std::int32_t GaloisField::Inverse(std::int32_t x) const {
  if (!Contains(x) || x == 0) return 0;
  return exp_[static_cast<std::size_t>(size_ - 1 - log_[static_cast<std::size_t>(x)])];
}

std::int32_t GaloisField::InverseWithoutTables(std::int32_t x) const {
  if (!Contains(x) || x == 0) return 0;
  if (IsBinary()) {
    // Invariants: u = g1 * x and v = g2 * x modulo the field polynomial.
    std::int32_t u = x, v = polynomial_, g1 = 1, g2 = 0;
    while (u != 1) {
      if (u == 0) return 0;  // x shares a factor with a reducible polynomial
      int shift = Degree(u) - Degree(v);
      if (shift < 0) {
        std::swap(u, v);
        std::swap(g1, g2);
        shift = -shift;
      }
      u ^= v << shift;
      g1 ^= g2 << shift;
    }
    return Contains(g1) ? g1 : 0;
  }
  // Integers: old_r = old_s * x (mod q) throughout.
  std::int64_t oldR = x, r = size_, oldS = 1, s = 0;
  while (r != 0) {
    const std::int64_t quotient = oldR / r;
    oldR = std::exchange(r, oldR - quotient * r);
    oldS = std::exchange(s, oldS - quotient * s);
  }
  if (oldR != 1) return 0;
  return static_cast<std::int32_t>(((oldS % size_) + size_) % size_);
}

std::int32_t GaloisField::Divide(std::int32_t x, std::int32_t y) const {
  if (!Contains(x) || !Contains(y) || x == 0 || y == 0) return 0;
  const std::int32_t order = size_ - 1;
  const std::int32_t difference =
      log_[static_cast<std::size_t>(x)] - log_[static_cast<std::size_t>(y)];
  return exp_[static_cast<std::size_t>(((difference % order) + order) % order)];
}

std::int32_t GaloisField::DivideWithoutTables(std::int32_t x, std::int32_t y) const {
  return MultiplyWithoutTables(x, InverseWithoutTables(y));
}

std::int32_t GaloisField::Log(std::int32_t x) const {
  return Contains(x) ? log_[static_cast<std::size_t>(x)] : 0;
}

std::int32_t GaloisField::Exp(std::int32_t i) const {
  if (size_ < 2) return 0;
  const std::int32_t order = size_ - 1;
  return exp_[static_cast<std::size_t>(((i % order) + order) % order)];
}

}  // namespace qrsmith
