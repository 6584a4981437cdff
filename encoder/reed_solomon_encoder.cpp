#include "encoder/reed_solomon_encoder.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

namespace qrsmith {
namespace {

// The byte-oriented path serves GF(256), the QR Code field.
constexpr std::int32_t kByteFieldSize = 256;
// Parity lengths up to this many bytes (every QR Code block: at most 30) keep
// the remainder in 64-bit words rather than in memory.
constexpr std::size_t kMaxWordParity = 32;

std::size_t WordsFor(std::size_t parity) { return (parity + 7) / 8; }

}  // namespace

void ReedSolomonEncoder::SetField(const GaloisField& field) {
  // A field's tables follow from its size, polynomial and generator.
  const bool same = field.Size() == field_.Size() && field.Polynomial() == field_.Polynomial() &&
                    field.Generator() == field_.Generator();
  field_ = field;
  if (!same) tables_.reset();
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
  tables_.reset();
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

std::shared_ptr<const ReedSolomonEncoder::ProductTables> ReedSolomonEncoder::BuildTables(
    const GaloisField& field, const std::int32_t* generator, std::size_t c) {
  auto tables = std::make_shared<ProductTables>();
  std::vector<std::uint8_t>& rows = tables->rows;
  std::vector<std::uint64_t>& words = tables->words;
  std::vector<std::uint64_t>& pairs = tables->pairs;
  rows.assign(kByteFieldSize * c, 0);
  // Multiplication by a fixed polynomial is linear over GF(2), so row f is the
  // XOR of the rows of f's single bits; only those eight need multiplying.
  for (std::size_t bit = 1; bit < kByteFieldSize; bit <<= 1) {
    std::uint8_t* row = &rows[bit * c];
    for (std::size_t j = 0; j < c; ++j) {
      row[j] = static_cast<std::uint8_t>(
          field.Multiply(static_cast<std::int32_t>(bit), generator[c - 1 - j]));
    }
  }
  for (std::size_t f = 3; f < kByteFieldSize; ++f) {
    const std::size_t low = f & (~f + 1);
    if (low == f) continue;
    const std::uint8_t* a = &rows[low * c];
    const std::uint8_t* b = &rows[(f ^ low) * c];
    std::uint8_t* row = &rows[f * c];
    for (std::size_t j = 0; j < c; ++j) row[j] = a[j] ^ b[j];
  }
  if (c <= kMaxWordParity) {
    const std::size_t perRow = WordsFor(c);
    words.assign(kByteFieldSize * perRow, 0);
    for (std::size_t f = 0; f < kByteFieldSize; ++f) {
      for (std::size_t j = 0; j < c; ++j) {
        words[f * perRow + j / 8] |= std::uint64_t{rows[f * c + j]} << (56 - 8 * (j % 8));
      }
    }
    // The second step shifts the first step's result one byte up and adds
    // the multiple for the byte that falls out.
    pairs.assign(kByteFieldSize * perRow, 0);
    for (std::size_t f = 0; f < kByteFieldSize; ++f) {
      const std::uint64_t* first = &words[f * perRow];
      const std::uint64_t* second = &words[(first[0] >> 56) * perRow];
      std::uint64_t* pair = &pairs[f * perRow];
      for (std::size_t w = 0; w < perRow; ++w) {
        const std::uint64_t next = w + 1 < perRow ? first[w + 1] >> 56 : 0;
        pair[w] = ((first[w] << 8) | next) ^ second[w];
      }
    }
  }
  return tables;
}

void ReedSolomonEncoder::BuildProductRows() {
  const auto c = static_cast<std::size_t>(parityLength_);
  // Only a polynomial computed over the current field names its tables.
  const bool keyed =
      generatorKey_.size == field_.Size() && generatorKey_.polynomial == field_.Polynomial() &&
      generatorKey_.fieldGenerator == field_.Generator() && generatorKey_.c == parityLength_;
  if (!keyed) {
    tables_ = BuildTables(field_, generator_.data(), c);
    return;
  }
  // A handful of polynomials serve every QR Code symbol (one per parity
  // length); the cache stops growing at kSharedTables for other callers.
  constexpr std::size_t kSharedTables = 64;
  static std::mutex lock;
  static std::vector<std::pair<GeneratorKey, std::shared_ptr<const ProductTables>>> shared;
  // Built under the lock (a few microseconds, once per polynomial), so two
  // threads never build or keep the same tables twice.
  const std::lock_guard<std::mutex> guard(lock);
  for (const auto& [key, tables] : shared) {
    if (key == generatorKey_) {
      tables_ = tables;
      return;
    }
  }
  tables_ = BuildTables(field_, generator_.data(), c);
  if (shared.size() < kSharedTables) shared.emplace_back(generatorKey_, tables_);
}

// The division as a shift register: the remainder's coefficients, highest
// degree first, fill the words from the top byte of word 0 down. Each data
// codeword shifts the register one byte up and adds the generator multiple
// for the coefficient that falls out. kLanes blocks go side by side, ending
// together; a shorter block reads leading zeros, which change nothing.
//
// Two codewords d0 d1 at a time: by linearity the two steps come to the
// register shifted two bytes up, plus the two-step row of d0 + r0 and the
// one-step row of d1 + r1 (r0 r1 the register's top bytes), since the first
// step's contribution to the second feedback byte is in the two-step row.
template <int kWords, int kLanes>
void ReedSolomonEncoder::DivideInWords(const std::uint8_t* const* data, const std::int32_t* lengths,
                                       std::uint8_t* const* parity) const {
  std::int32_t longest = 0, shortest = kMaxBlockLength;
  for (int l = 0; l < kLanes; ++l) {
    longest = std::max(longest, lengths[l]);
    shortest = std::min(shortest, lengths[l]);
  }
  std::uint64_t reg[kLanes][kWords] = {};
  const std::uint64_t* rows = tables_->words.data();
  const std::uint64_t* pairs = tables_->pairs.data();
  // Single steps while some lane still reads leading zeros, and one more if
  // an odd count would remain; then pairs.
  std::int32_t singles = longest - shortest;
  if ((longest - singles) % 2 != 0) ++singles;
  std::int32_t i = 0;
  for (; i < singles; ++i) {
    for (int l = 0; l < kLanes; ++l) {
      const std::int32_t at = i - (longest - lengths[l]);
      const std::uint8_t d = at >= 0 ? data[l][at] : 0;
      const std::uint64_t* row = rows + static_cast<std::size_t>(d ^ (reg[l][0] >> 56)) * kWords;
      for (int w = 0; w < kWords - 1; ++w) {
        reg[l][w] = ((reg[l][w] << 8) | (reg[l][w + 1] >> 56)) ^ row[w];
      }
      reg[l][kWords - 1] = (reg[l][kWords - 1] << 8) ^ row[kWords - 1];
    }
  }
  for (; i < longest; i += 2) {
    for (int l = 0; l < kLanes; ++l) {
      const std::uint8_t* d = data[l] + (i - (longest - lengths[l]));
      const std::uint64_t top = reg[l][0] >> 48;
      const std::uint64_t* two = pairs + static_cast<std::size_t>(d[0] ^ (top >> 8)) * kWords;
      const std::uint64_t* one = rows + static_cast<std::size_t>(d[1] ^ (top & 0xFF)) * kWords;
      for (int w = 0; w < kWords - 1; ++w) {
        reg[l][w] = ((reg[l][w] << 16) | (reg[l][w + 1] >> 48)) ^ two[w] ^ one[w];
      }
      reg[l][kWords - 1] = (reg[l][kWords - 1] << 16) ^ two[kWords - 1] ^ one[kWords - 1];
    }
  }
  for (int l = 0; l < kLanes; ++l) {
    for (std::int32_t j = 0; j < parityLength_; ++j) {
      parity[l][j] = static_cast<std::uint8_t>(reg[l][j / 8] >> (56 - 8 * (j % 8)));
    }
  }
}

template <int kLanes>
bool ReedSolomonEncoder::DivideLanes(const std::uint8_t* const* data, const std::int32_t* lengths,
                                     std::uint8_t* const* parity) const {
  switch (tables_->words.empty() ? 0 : WordsFor(static_cast<std::size_t>(parityLength_))) {
    case 1:
      DivideInWords<1, kLanes>(data, lengths, parity);
      return true;
    case 2:
      DivideInWords<2, kLanes>(data, lengths, parity);
      return true;
    case 3:
      DivideInWords<3, kLanes>(data, lengths, parity);
      return true;
    case 4:
      DivideInWords<4, kLanes>(data, lengths, parity);
      return true;
    default:
      return false;
  }
}

// The same division with the remainder in memory, for long parity.
void ReedSolomonEncoder::DivideInBytes(const std::uint8_t* data, std::int32_t length,
                                       std::uint8_t* parity) const {
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
    const std::uint8_t* row = &tables_->rows[f * c];
    std::uint8_t* rest = &message[i + 1];
    for (std::size_t j = 0; j < c; ++j) rest[j] ^= row[j];
  }
  std::memcpy(parity, message.data() + n, c);
}

bool ReedSolomonEncoder::CanEncodeBytes(std::int32_t length) const {
  return field_.Size() == kByteFieldSize && field_.IsBinary() && dataLength_ >= 1 && length >= 0 &&
         length <= dataLength_;
}

bool ReedSolomonEncoder::EncodeBytes(const std::uint8_t* data, std::int32_t length,
                                     std::uint8_t* parity) {
  if (!CanEncodeBytes(length) || (length > 0 && data == nullptr) || parity == nullptr) {
    return false;
  }
  if (!tables_) BuildProductRows();
  if (!DivideLanes<1>(&data, &length, &parity)) DivideInBytes(data, length, parity);
  return true;
}

bool ReedSolomonEncoder::EncodeByteBlocks(const std::uint8_t* data, const std::int32_t* lengths,
                                          std::int32_t blocks, std::uint8_t* parity) {
  if (blocks < 0 || (blocks > 0 && (data == nullptr || lengths == nullptr || parity == nullptr))) {
    return false;
  }
  for (std::int32_t b = 0; b < blocks; ++b) {
    if (!CanEncodeBytes(lengths[b])) return false;
  }
  if (!tables_) BuildProductRows();
  constexpr int kLanes = 2;
  const std::uint8_t* starts[kLanes];
  std::uint8_t* parities[kLanes];
  std::int32_t b = 0;
  for (; b + kLanes <= blocks && !tables_->words.empty(); b += kLanes) {
    for (int l = 0; l < kLanes; ++l) {
      starts[l] = data;
      parities[l] = parity + static_cast<std::ptrdiff_t>(b + l) * parityLength_;
      data += lengths[b + l];
    }
    DivideLanes<kLanes>(starts, lengths + b, parities);
  }
  for (; b < blocks; ++b) {
    std::uint8_t* out = parity + static_cast<std::ptrdiff_t>(b) * parityLength_;
    if (!DivideLanes<1>(&data, lengths + b, &out)) DivideInBytes(data, lengths[b], out);
    data += lengths[b];
  }
  return true;
}

}  // namespace qrsmith
