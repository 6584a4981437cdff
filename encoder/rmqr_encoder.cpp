#include "encoder/rmqr_encoder.h"

#include <algorithm>
#include <array>

#include "encoder/block_interleaver.h"
#include "encoder/rmqr_matrix.h"
#include "encoder/rmqr_tables.h"
#include "encoder/stream_header.h"
#include "encoder/symbol_matrix.h"

namespace qrsmith::encoder {
namespace {

constexpr std::uint8_t kPadCodewords[2] = {0xEC, 0x11};
// Codewords of the largest size, R17x139.
constexpr std::size_t kMaxRmqrCodewords = 232;
// The ECI mode indicator of rMQR, 111.
constexpr std::uint32_t kEciIndicator = 0b111;

bool ValidRequest(const RmqrRequest& request) {
  const bool heightKnown = request.height == 0 ||
                           (request.height >= 7 && request.height <= 17 && request.height % 2 == 1);
  const bool eciKnown = !request.eci || (*request.eci >= 0 && *request.eci <= kMaxEciAssignment);
  return request.size >= 0 && request.size <= kRmqrSizeCount && heightKnown && eciKnown &&
         (request.level == kRmqrLevelM || request.level == kRmqrLevelH);
}

}  // namespace

std::int32_t RmqrStreamBits(const std::uint8_t* data, std::int32_t n, std::int32_t size,
                            bool allowKanji) {
  Segmenter segmenter;
  const StreamFormat format = RmqrStreamFormat(size);
  const std::int32_t length = segmenter.Measure(data, n, format, allowKanji);
  return length == 0 ? 0 : length - format.terminatorBits;
}

std::optional<RmqrSymbolMade> EncodeRmqr(const std::uint8_t* data, std::int32_t n,
                                         const RmqrRequest& request, const GaloisField& field,
                                         ReedSolomonEncoder& rs, Segmenter& segmenter,
                                         std::vector<std::uint8_t>& matrix) {
  if (!ValidRequest(request)) return std::nullopt;
  // A size that cannot hold even the cheapest conceivable stream is skipped
  // unmeasured; measuring would reach the same verdict.
  const std::int32_t headerBits = request.eci ? 3 + EciDesignatorBits(*request.eci) : 0;
  const std::int64_t atLeast = MinimumStreamBits(data, n) + headerBits;
  std::optional<RmqrSize> chosen;
  auto fits = [&](const RmqrSize& size) {
    const std::int32_t capacity = 8 * RmqrCodewordsAt(size, request.level).data;
    if (atLeast > capacity) return false;
    // A stream fits when all but its terminator does: the terminator may be cut.
    const StreamFormat format = RmqrStreamFormat(size.number);
    const std::int32_t length = segmenter.Measure(data, n, format, request.allowKanji);
    return length != 0 && headerBits + length - format.terminatorBits <= capacity;
  };
  if (request.size != 0) {
    chosen = FindRmqrSize(request.size);
    if (!fits(*chosen)) return std::nullopt;
  } else {
    for (const std::int32_t number : RmqrSizesByArea()) {
      const RmqrSize size = *FindRmqrSize(number);
      if (request.height != 0 && size.height != request.height) continue;
      if (fits(size)) {
        chosen = size;
        break;
      }
    }
  }
  if (!chosen) return std::nullopt;
  const RmqrSize& size = *chosen;
  const RmqrCodewords& words = RmqrCodewordsAt(size, request.level);

  // Data codewords: the stream (with room for a terminator past the
  // capacity), zero bits to the codeword boundary, pad codewords.
  std::array<std::uint8_t, kMaxRmqrCodewords + 1> codewords{};
  PackedBitWriter writer(codewords.data());
  if (request.eci) {
    writer.Put(kEciIndicator, 3);
    WriteEciDesignator(*request.eci, writer);
  }
  if (segmenter.Write(data, writer) == 0) return std::nullopt;
  const std::int32_t length = writer.Count();
  writer.Finish();
  for (std::int32_t i = (std::min(length, 8 * words.data) + 7) / 8, k = 0; i < words.data;
       ++i, k ^= 1) {
    codewords[static_cast<std::size_t>(i)] = kPadCodewords[k];
  }

  std::array<std::uint8_t, kMaxRmqrCodewords> sequence{};
  if (!InterleaveBlocks(codewords.data(), words.data, words.blocks, words.parityPerBlock, field, rs,
                        sequence.data())) {
    return std::nullopt;
  }

  const RmqrLayout& layout = RmqrLayoutOf(size.number);
  matrix.assign(layout.function.begin(), layout.function.end());
  std::uint8_t* work = matrix.data();
  // Modules past the last codeword (the remainder bits) take 0.
  const std::size_t bits = 8 * static_cast<std::size_t>(size.total);
  for (std::size_t i = 0; i < layout.order.size(); ++i) {
    const std::uint8_t bit = i < bits ? (sequence[i / 8] >> (7 - i % 8)) & 1 : 0;
    work[layout.order[i]] = static_cast<std::uint8_t>(kDataFlag | bit);
  }
  FinishRmqrMatrix(work, size, request.level);
  return RmqrSymbolMade{size.number, request.level, size.width, size.height};
}

}  // namespace qrsmith::encoder
