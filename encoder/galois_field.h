#pragma once
// GaloisField: arithmetic in a finite field of q elements, 2 <= q <= 16384.
// A q that is a power of two gives the binary extension field GF(2^m) defined
// by a field polynomial (QR Code uses GF(256) with x^8+x^4+x^3+x^2+1 = 0x11D,
// ISO/IEC 18004 section 7.5.2); any other q gives the prime field of integers
// modulo q. Elements are the integers 0 .. q-1.

#include <cstdint>
#include <vector>

namespace qrsmith {

class GaloisField {
 public:
  // Largest field size: the log and exp tables hold 16-bit entries.
  static constexpr std::int32_t kMaxSize = 16384;

  GaloisField() = default;  // uninitialised: Size() is 0 and every operation gives 0

  std::int32_t Size() const { return size_; }
  std::int32_t Polynomial() const { return polynomial_; }
  std::int32_t Generator() const { return generator_; }

  // Smallest element g >= 2 whose powers run through every non-zero element:
  // g^((q-1)/p) != 1 for every prime factor p of q - 1. 0 when there is none
  // (or the field has no size yet). Uses no tables.
  std::int32_t FindPrimitiveElement() const;

  // Sets up the field of q elements. A power of two needs its field polynomial
  // (degree m, so q <= polynomial < 2q); for other q the polynomial is ignored
  // and stored as 0. A generator of 0 is replaced by FindPrimitiveElement().
  // Returns false, keeping the previous state, when q is outside 2..16384, a
  // binary field has no usable polynomial, or no generator element in 1..q-1
  // results.
  bool Initialise(std::int32_t q, std::int32_t polynomial, std::int32_t generator);

  // Field operations. Operands outside 0 .. q-1 are not field elements: every
  // operation then gives 0, as does every operation of an uninitialised field.
  std::int32_t Add(std::int32_t x, std::int32_t y) const;
  std::int32_t Negate(std::int32_t x) const;
  std::int32_t Subtract(std::int32_t x, std::int32_t y) const;
  std::int32_t Multiply(std::int32_t x, std::int32_t y) const;
  std::int32_t MultiplyWithoutTables(std::int32_t x, std::int32_t y) const;
  std::int32_t Inverse(std::int32_t x) const;
  // Prime field: extended Euclid over the integers modulo q (0 when x has no
  // inverse, as in a composite q). Binary field: extended Euclid over binary
  // polynomials modulo the field polynomial.
  std::int32_t InverseWithoutTables(std::int32_t x) const;
  std::int32_t Divide(std::int32_t x, std::int32_t y) const;
  std::int32_t DivideWithoutTables(std::int32_t x, std::int32_t y) const;
  std::int32_t Log(std::int32_t x) const;  // log table entry x (log of 0 and 1 read 0)
  std::int32_t Exp(std::int32_t i) const;  // generator^i for any integer i

  bool IsBinary() const { return size_ >= 2 && (size_ & (size_ - 1)) == 0; }

 private:
  bool Contains(std::int32_t x) const { return x >= 0 && x < size_; }
  std::int32_t PowerWithoutTables(std::int32_t x, std::int32_t exponent) const;

  std::int32_t size_ = 0;
  std::int32_t polynomial_ = 0;  // 0 for a prime field
  std::int32_t generator_ = 0;
  // log_[generator^i] = i; exp_[i] = generator^i for i = 0 .. q-2 and exp_[q-1] = 1.
  // Both have q entries once initialised.
  std::vector<std::int16_t> log_;
  std::vector<std::int16_t> exp_;
};

}  // namespace qrsmith
