#pragma once
// ReedSolomonEncoder: systematic Reed-Solomon encoding over a GaloisField.
// The generator polynomial is the product of (x - a^(e+i)) for i = 0 .. c-1;
// QR Code uses GF(256), a = 2 and e = 0 (ISO/IEC 18004 section 7.5.2, Annex A).
//
// Codeword polynomials are arrays of field elements, lowest degree first: a
// block of n = k + c symbols has its parity in entries 0 .. c-1 and its data
// in entries c .. n-1, the first data codeword at the highest index.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include <qrsmith/encoder/galois_field.h>

namespace qrsmith {

class ReedSolomonEncoder {
 public:
  // Longest block, data and parity together; also the generator array length.
  static constexpr std::int32_t kMaxBlockLength = 1024;

  ReedSolomonEncoder() = default;

  void SetField(const GaloisField& field);
  std::int32_t GeneratorElement() const { return generatorElement_; }
  std::int32_t DataLength() const { return dataLength_; }
  std::int32_t ParityLength() const { return parityLength_; }
  // Coefficient of x^index of the generator polynomial; 0 outside 0 .. 1023.
  std::int32_t GeneratorCoefficient(std::int32_t index) const;

  // Prepares blocks of k data and c parity symbols. With takeField the encoder
  // first takes a copy of `field`; otherwise it keeps its own. A generator
  // element a of 0 means the previous one, or else the field's generator.
  // Refused (false, nothing changed) when k < 1, c < 1, k + c > 1024, e < 0,
  // the field is not initialised or a is not a non-zero field element.
  bool Initialise(std::int32_t k, std::int32_t c, const GaloisField& field, bool takeField,
                  std::int32_t a, std::int32_t e);

  // Reads data entries c .. c+k-1 of `codeword` and writes the parity into
  // entries 0 .. c-1. False (nothing written) when the encoder is not
  // initialised or the array is shorter than k + c.
  bool Encode(std::span<std::int32_t> codeword) const;

  // The same division for byte fields (q = 256), on bytes in transmission
  // order: `data` holds length <= k data codewords, first codeword first, as
  // if preceded by k - length zero codewords; parity[j] receives codeword
  // entry c-1-j (parity in transmission order). False when the field is not
  // GF(256), the encoder is not initialised or length is outside 0 .. k.
  bool EncodeBytes(const std::uint8_t* data, std::int32_t length, std::uint8_t* parity);

  // EncodeBytes for `blocks` blocks laid end to end in `data`, block b with
  // lengths[b] codewords and its parity at parity + b x c. Several blocks are
  // divided side by side, which keeps the processor busier than one at a time.
  bool EncodeByteBlocks(const std::uint8_t* data, const std::int32_t* lengths, std::int32_t blocks,
                        std::uint8_t* parity);

 private:
  // What the current generator polynomial was computed from.
  struct GeneratorKey {
    std::int32_t size = 0, polynomial = 0, fieldGenerator = 0, a = 0, e = -1, c = 0;
    friend bool operator==(const GeneratorKey&, const GeneratorKey&) = default;
  };
  void BuildProductRows();
  bool CanEncodeBytes(std::int32_t length) const;
  template <int kWords, int kLanes>
  void DivideInWords(const std::uint8_t* const* data, const std::int32_t* lengths,
                     std::uint8_t* const* parity) const;
  template <int kLanes>
  bool DivideLanes(const std::uint8_t* const* data, const std::int32_t* lengths,
                   std::uint8_t* const* parity) const;
  void DivideInBytes(const std::uint8_t* data, std::int32_t length, std::uint8_t* parity) const;

  GaloisField field_;
  std::int32_t dataLength_ = 0;        // k, 1 .. 1023 once initialised
  std::int32_t parityLength_ = 0;      // c, 1 .. 1024 - k once initialised
  std::int32_t generatorElement_ = 0;  // a
  // Coefficients lowest degree first; entry c is 1 and entries above c are 0.
  std::array<std::int32_t, kMaxBlockLength> generator_{};
  GeneratorKey generatorKey_;
  // For GF(256): rows, 256 rows of c bytes, row f holding f * g[c-1-j] at
  // column j, so that one division step is a c-byte XOR. For c <= 32 the
  // rows are also packed into 64-bit words (words), column 0 in the top byte
  // of word 0, so that the remainder can live in a few registers; pairs row
  // f is the register after two division steps that start from a register
  // holding f in its top byte alone, so that two data codewords can be
  // divided in one step (same packing as words).
  struct ProductTables {
    std::vector<std::uint8_t> rows;
    std::vector<std::uint64_t> words, pairs;
  };
  static std::shared_ptr<const ProductTables> BuildTables(const GaloisField& field,
                                                          const std::int32_t* generator,
                                                          std::size_t c);
  // Built on first use after the generator polynomial changes, and shared
  // by every encoder of the same polynomial: the tables depend on nothing
  // else, and a batch makes a new encoder for each symbol.
  std::shared_ptr<const ProductTables> tables_;
};

}  // namespace qrsmith
