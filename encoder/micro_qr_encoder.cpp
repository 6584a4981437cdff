#include "encoder/micro_qr_encoder.h"

#include <algorithm>
#include <array>

#include "encoder/bit_stream.h"
#include "encoder/block_interleaver.h"
#include "encoder/function_patterns.h"
#include "encoder/micro_qr_matrix.h"
#include "encoder/micro_qr_tables.h"
#include "encoder/qr_tables.h"
#include "encoder/symbol_matrix.h"

namespace qrsmith::encoder {
namespace {

constexpr std::uint8_t kPadCodewords[2] = {0xEC, 0x11};
// Codewords of the largest symbol, M4.
constexpr std::size_t kMaxMicroCodewords = 24;

// The data codewords of a symbol from a written stream of `length` bits:
// the terminator cut at the capacity, zero bits to the codeword boundary,
// then pad codewords. A final 4-bit codeword (M1, M3) left empty by the
// stream is 0000 and holds the high half of its byte.
void PadDataCodewords(std::uint8_t* codewords, std::int32_t length, std::int32_t dataBits) {
  const std::int32_t used = std::min(length, dataBits);
  const std::int32_t fullCodewords = dataBits / 8;
  // Whatever the writer put past the capacity was terminator, so zero.
  if (dataBits % 8 != 0) codewords[fullCodewords] &= 0xF0;
  for (std::int32_t i = (used + 7) / 8, k = 0; i < fullCodewords; ++i, k ^= 1) {
    codewords[i] = kPadCodewords[k];
  }
}

}  // namespace

std::int32_t MicroQrStreamBits(const std::uint8_t* data, std::int32_t n, std::int32_t version,
                               bool allowKanji) {
  Segmenter segmenter;
  const StreamFormat format = MicroQrStreamFormat(version);
  const std::int32_t length = segmenter.Measure(data, n, format, allowKanji);
  return length == 0 ? 0 : length - format.terminatorBits;
}

std::optional<MicroQrSymbolMade> EncodeMicroQr(const std::uint8_t* data, std::int32_t n,
                                               const MicroQrRequest& request,
                                               const GaloisField& field, ReedSolomonEncoder& rs,
                                               Segmenter& segmenter,
                                               std::vector<std::uint8_t>& matrix) {
  if (request.version < 0 || request.version > kMicroVersionCount) return std::nullopt;
  const std::int32_t first = request.version == 0 ? 1 : request.version;
  const std::int32_t last = request.version == 0 ? kMicroVersionCount : request.version;
  std::optional<MicroQrSymbol> symbol;
  std::int32_t length = 0;
  // A version that cannot hold even the cheapest conceivable stream is
  // skipped unmeasured; measuring would reach the same verdict.
  const std::int64_t atLeast = MinimumStreamBits(data, n);
  for (std::int32_t v = first; v <= last && !symbol; ++v) {
    symbol = FindMicroQrSymbol(v, request.level);
    if (!symbol) continue;
    if (atLeast > symbol->dataBits) {
      symbol.reset();
      continue;
    }
    // A stream fits when all but its terminator does: the terminator may be cut.
    const StreamFormat format = MicroQrStreamFormat(v);
    length = segmenter.Measure(data, n, format, request.allowKanji);
    if (length == 0 || length - format.terminatorBits > symbol->dataBits) symbol.reset();
  }
  if (!symbol) return std::nullopt;
  const std::int32_t version = symbol->version;

  // Data codewords: the stream (written with room for a terminator past the
  // capacity) and its padding.
  // The stream is at most the capacity and a terminator of 9 bits.
  std::array<std::uint8_t, kMaxMicroCodewords + 2> codewords{};
  PackedBitWriter writer(codewords.data());
  if (segmenter.Write(data, writer) == 0) return std::nullopt;
  PadDataCodewords(codewords.data(), length, symbol->dataBits);
  const std::int32_t dataCodewords = (symbol->dataBits + 7) / 8;

  // One Reed-Solomon block over the data codewords, a 4-bit one as the high
  // half of its byte. The bits placed drop that byte's empty low half.
  std::array<std::uint8_t, kMaxMicroCodewords> sequence{};
  if (!InterleaveBlocks(codewords.data(), dataCodewords, 1, symbol->ecCodewords, field, rs,
                        sequence.data())) {
    return std::nullopt;
  }
  std::array<std::uint8_t, kMaxMicroCodewords> bits{};
  PackedBitWriter bitWriter(bits.data());
  for (std::int32_t i = 0; i < dataCodewords; ++i) {
    const std::uint8_t codeword = sequence[static_cast<std::size_t>(i)];
    if (i == dataCodewords - 1 && symbol->dataBits % 8 != 0) {
      bitWriter.Put(codeword >> 4u, 4);
    } else {
      bitWriter.Put(codeword, 8);
    }
  }
  bitWriter.PutBytes(sequence.data() + dataCodewords, symbol->ecCodewords);
  bitWriter.Finish();

  const std::int32_t s = MicroQrSide(version);
  const MicroQrLayout& layout = MicroQrLayoutOf(version);
  matrix.assign(layout.function.begin(), layout.function.end());
  std::uint8_t* work = matrix.data();
  // The bits of every symbol fill its data modules exactly.
  const auto count =
      std::min<std::size_t>(static_cast<std::size_t>(bitWriter.Count()), layout.order.size());
  for (std::size_t i = 0; i < count; ++i) {
    work[layout.order[i]] =
        static_cast<std::uint8_t>(kDataFlag | ((bits[i / 8] >> (7 - i % 8)) & 1));
  }
  std::int32_t mask = request.mask >= 0 && request.mask < kMicroMaskCount ? request.mask : 0;
  if (request.chooseMask) {
    const std::array<std::int32_t, kMicroMaskCount> scores = EvaluateMicroQrMasks(work, version);
    mask =
        static_cast<std::int32_t>(std::max_element(scores.begin(), scores.end()) - scores.begin());
  }
  FinishMicroQrMatrix(work, version, symbol->number, mask);
  return MicroQrSymbolMade{version, symbol->level, mask, s};
}

}  // namespace qrsmith::encoder
