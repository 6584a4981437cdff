#include "encoder/qr_encoder.h"

#include <algorithm>
#include <utility>

#include "encoder/bit_stream.h"
#include "encoder/block_interleaver.h"
#include "encoder/function_patterns.h"
#include "encoder/galois_field.h"
#include "encoder/mask.h"
#include "encoder/mask_choice.h"
#include "encoder/micro_qr_encoder.h"
#include "encoder/qr_tables.h"
#include "encoder/reed_solomon_encoder.h"
#include "encoder/rmqr_encoder.h"
#include "encoder/rmqr_tables.h"
#include "encoder/symbol_matrix.h"

namespace qrsmith {
namespace {

using encoder::kMaxVersion;
using encoder::kMinVersion;

// QR Code arithmetic: GF(256) with x^8+x^4+x^3+x^2+1 and generator 2
// (ISO/IEC 18004 section 7.5.2).
constexpr std::int32_t kFieldSize = 256;
constexpr std::int32_t kFieldPolynomial = 0x11D;
constexpr std::int32_t kFieldGenerator = 2;
// Pad codewords 11101100 and 00010001, alternately (ISO/IEC 18004 section 7.4.10).
constexpr std::uint8_t kPadCodewords[2] = {0xEC, 0x11};

// Automatic version choice tries one version group after the other, each with
// its own character-count widths.
struct VersionRange {
  std::int32_t first, last;
};
constexpr VersionRange kVersionGroups[] = {{1, 9}, {10, 26}, {27, 40}};

std::int32_t ContentLength(const Bytes& data, std::int32_t n) {
  if (n < 1) return 0;
  return static_cast<std::int32_t>(std::min<std::size_t>(static_cast<std::size_t>(n), data.size()));
}

// The quiet zone as left, top, right, bottom in modules (none given: none);
// nothing when one is negative, which every kind of symbol refuses.
std::optional<std::array<std::int32_t, 4>> MarginsOf(const EncodeOptions& options) {
  const std::array<std::int32_t, 4> margins = {options.left.value_or(0), options.top.value_or(0),
                                               options.right.value_or(0),
                                               options.bottom.value_or(0)};
  if (std::any_of(margins.begin(), margins.end(), [](std::int32_t m) { return m < 0; })) {
    return std::nullopt;
  }
  return margins;
}

// The version to encode at, or 0 when the content fits no allowed version.
// The stream is measured with `segmenter`, which afterwards holds the
// segmentation for the returned version's group, ready to be written.
// A stream of `length` bits (terminator included, 0 for none) after
// `headerBits` of header segments fits when all but its terminator fits:
// ISO/IEC 18004 lets the terminator be cut short at the end of the capacity.
bool Fits(const encoder::QrTables& tables, std::int32_t length, std::int32_t headerBits,
          std::int32_t version, std::int32_t level) {
  return length > 0 && headerBits + length - 4 <= 8 * tables.DataCodewords(version, level);
}

std::int32_t SelectVersion(encoder::Segmenter& segmenter, const encoder::QrTables& tables,
                           const std::uint8_t* data, std::int32_t n, std::int32_t requested,
                           std::int32_t level, bool allowKanji,
                           const encoder::StreamHeader& header) {
  const std::int32_t headerBits = encoder::HeaderBits(header);
  const bool gs1 = header.fnc1 && header.fnc1->firstPosition;
  auto fits = [&](std::int32_t length, std::int32_t version) {
    return Fits(tables, length, headerBits, version, level);
  };
  if (requested >= kMinVersion && requested <= kMaxVersion) {
    const std::int32_t length =
        segmenter.Measure(data, n, encoder::VersionGroup(requested), allowKanji, gs1);
    return fits(length, requested) ? requested : 0;
  }
  // GS bytes of FNC1 data cost less than the bound assumes, so it is not used then.
  const std::int64_t atLeast = gs1 ? 0 : encoder::MinimumStreamBits(data, n) + headerBits;
  for (const VersionRange& range : kVersionGroups) {
    // A group whose largest version cannot hold even the cheapest conceivable
    // stream is skipped unmeasured; measuring would reach the same verdict.
    if (atLeast > 8 * std::int64_t{tables.DataCodewords(range.last, level)}) continue;
    const std::int32_t length =
        segmenter.Measure(data, n, encoder::VersionGroup(range.first), allowKanji, gs1);
    for (std::int32_t v = range.first; v <= range.last; ++v) {
      if (fits(length, v)) return v;
    }
  }
  return 0;
}

}  // namespace

struct QrEncoder::Machinery {
  Machinery() {
    field.Initialise(kFieldSize, kFieldPolynomial, kFieldGenerator);
    tables.Fill();
  }
  GaloisField field;      // GF(256), polynomial 0x11D, generator 2
  ReedSolomonEncoder rs;  // re-initialised by every Encode
  encoder::QrTables tables;
  // Work buffers of one Encode call, kept between calls only to spare the
  // allocations: every call overwrites what it reads.
  std::vector<std::uint8_t> codewords;    // padded data codewords
  std::vector<std::uint8_t> interleaved;  // data and parity in placement order
  std::vector<std::uint8_t> function;     // function matrix, becomes the module matrix
  encoder::Segmenter segmenter;           // Micro QR's; QR measures with its own
  // Where the codeword bits go for the version of the last symbol.
  encoder::PlacementPlan placement;
};

QrEncoder::QrEncoder() : machinery_(std::make_unique<Machinery>()) {}
QrEncoder::~QrEncoder() = default;
QrEncoder::QrEncoder(const QrEncoder& other)
    : machinery_(std::make_unique<Machinery>(*other.machinery_)),
      moduleMatrix_(other.moduleMatrix_),
      width_(other.width_),
      height_(other.height_),
      kind_(other.kind_),
      version_(other.version_),
      level_(other.level_),
      margins_(other.margins_),
      mask_(other.mask_) {}
QrEncoder& QrEncoder::operator=(const QrEncoder& other) {
  if (this != &other) {
    *machinery_ = *other.machinery_;
    moduleMatrix_ = other.moduleMatrix_;
    width_ = other.width_;
    height_ = other.height_;
    kind_ = other.kind_;
    version_ = other.version_;
    level_ = other.level_;
    margins_ = other.margins_;
    mask_ = other.mask_;
  }
  return *this;
}

std::int32_t QrEncoder::Side() const { return width_; }

std::int32_t QrEncoder::BuildBitStream(std::vector<std::uint8_t>& bits, const Bytes& data,
                                       std::int32_t n, std::int32_t version, bool measure,
                                       bool allowKanji) const {
  encoder::Segmenter segmenter;
  const std::int32_t length = segmenter.Measure(data.data(), ContentLength(data, n),
                                                encoder::VersionGroup(version), allowKanji);
  if (length == 0 || measure) return length;
  // Written as Encode writes it, eight bits to a byte, then one bit per byte.
  std::vector<std::uint8_t> packed(static_cast<std::size_t>(length + 7) / 8);
  encoder::PackedBitWriter writer(packed.data());
  if (segmenter.Write(data.data(), writer) == 0) return 0;
  if (bits.size() < static_cast<std::size_t>(length)) bits.resize(static_cast<std::size_t>(length));
  for (std::size_t i = 0; i < static_cast<std::size_t>(length); ++i) {
    bits[i] = (packed[i / 8] >> (7 - i % 8)) & 1;
  }
  return length;
}

std::uint8_t QrEncoder::ModuleAt(std::int32_t row, std::int32_t column, bool raw) const {
  // The matrix has height + 3 rows of width + 3 bytes, or is 1 x 1 before the first symbol.
  const std::int64_t columns = width_ > 0 ? encoder::MatrixStride(width_) : 1;
  const std::int64_t rows = height_ > 0 ? encoder::MatrixStride(height_) : 1;
  std::int64_t r = row, c = column;
  if (!raw) {
    r -= margins_[1];
    c -= margins_[0];
  }
  if (r < 1 || r > rows || c < 1 || c > columns) return 0;
  return moduleMatrix_[static_cast<std::size_t>((r - 1) * columns + (c - 1))];
}

std::shared_ptr<const platform::Bitmap> QrEncoder::Encode(const Bytes& data, std::int32_t n,
                                                          const EncodeOptions& options) {
  const std::int32_t requested = options.version.value_or(0);
  if (requested < 0) return nullptr;
  const SymbolKind kind = options.kind.value_or(SymbolKind::kQr);
  if (kind == SymbolKind::kMicroQr) return EncodeMicroQr(data, n, options);
  if (kind == SymbolKind::kRmqr) return EncodeRmqr(data, n, options);
  if (kind != SymbolKind::kQr) return nullptr;
  std::int32_t level = options.level.value_or(encoder::kDefaultLevel);
  if (level < 1 || level > encoder::kLevelCount) level = encoder::kDefaultLevel;
  const auto given = MarginsOf(options);
  if (!given) return nullptr;
  const std::array<std::int32_t, 4>& margins = *given;
  const std::int32_t count = ContentLength(data, n);
  Machinery& work = *machinery_;
  const encoder::StreamHeader header = options.header.value_or(encoder::StreamHeader{});
  if (!encoder::IsValid(header)) return nullptr;

  encoder::Segmenter segmenter;
  const std::int32_t version = SelectVersion(segmenter, work.tables, data.data(), count, requested,
                                             level, options.allowKanji.value_or(true), header);
  if (version == 0) return nullptr;
  if (options.boostLevel.value_or(false)) {
    // The segmentation depends on the version alone, so its length holds at every level.
    for (std::int32_t higher = encoder::kLevelCount; higher > level; --higher) {
      if (Fits(work.tables, segmenter.Length(), encoder::HeaderBits(header), version, higher)) {
        level = higher;
        break;
      }
    }
  }
  const std::int32_t s = encoder::SymbolSize(version);
  if (std::int64_t{s} + margins[0] + margins[2] > platform::kMaxBitmapSide ||
      std::int64_t{s} + margins[1] + margins[3] > platform::kMaxBitmapSide) {
    return nullptr;
  }

  // The bit stream as data codewords: the stream, zero bits to the byte
  // boundary, pad codewords.
  const auto v = static_cast<std::size_t>(version - 1), l = static_cast<std::size_t>(level - 1);
  const std::int32_t blocks = work.tables.blockCount[v][l], parity = work.tables.blockParity[v][l];
  const std::int32_t total = encoder::CodewordCount(version);
  const std::int32_t dataCodewords = total - blocks * parity;
  std::vector<std::uint8_t>& codewords = work.codewords;
  codewords.assign(static_cast<std::size_t>(dataCodewords) + 1, 0);  // + the cut terminator
  encoder::PackedBitWriter writer(codewords.data());
  encoder::WriteHeader(header, writer);
  if (segmenter.Write(data.data(), writer) == 0) return nullptr;
  const std::int32_t length = writer.Count();
  for (std::int32_t i = (length + 7) / 8, k = 0; i < dataCodewords; ++i, k ^= 1) {
    codewords[static_cast<std::size_t>(i)] = kPadCodewords[k];
  }

  // Reed-Solomon parity and interleaving.
  std::vector<std::uint8_t>& interleaved = work.interleaved;
  interleaved.resize(static_cast<std::size_t>(total));
  if (!encoder::InterleaveBlocks(codewords.data(), dataCodewords, blocks, parity, work.field,
                                 work.rs, interleaved.data())) {
    return nullptr;
  }

  // Function patterns, codeword placement, mask, merge, format and version
  // information. Data modules stay flagged until the merge, so the mask can
  // be XORed over the whole grid: the merge discards it on function modules.
  const auto stride = static_cast<std::size_t>(encoder::MatrixStride(s));
  std::vector<std::uint8_t>& function = work.function;
  function.assign(stride * stride, 0);
  encoder::DrawFunctionPatterns(function.data(), version, work.tables.alignmentStep[v]);
  if (work.placement.Side() != s) work.placement.Build(function.data(), s);
  work.placement.Place(function.data(), interleaved.data(), total);
  const std::int32_t mask = options.chooseMask.value_or(false)
                                ? encoder::ChooseMask(function.data(), version, level)
                                : encoder::NormaliseMask(options.mask.value_or(-1));
  encoder::ApplyMaskPattern(function.data(), s, static_cast<std::int32_t>(stride), mask);
  encoder::MergeModules(function.data(), s);
  if (version >= 7) encoder::WriteVersionInformation(function.data(), s, version);
  encoder::WriteFormatInformation(function.data(), s, level, mask);

  margins_ = margins;
  std::swap(moduleMatrix_, function);  // the old matrix's storage serves the next call
  width_ = height_ = s;
  kind_ = SymbolKind::kQr;
  version_ = version;
  level_ = level;
  mask_ = mask;
  return RenderSymbolBitmap(moduleMatrix_.data(), s, s, margins[0], margins[1], margins[2],
                            margins[3], options.foreground.value_or(kBlack), options.background);
}

}  // namespace qrsmith

namespace qrsmith {

std::shared_ptr<const platform::Bitmap> QrEncoder::EncodeMicroQr(const Bytes& data, std::int32_t n,
                                                                 const EncodeOptions& options) {
  const auto given = MarginsOf(options);
  if (!given) return nullptr;
  const std::array<std::int32_t, 4>& margins = *given;
  encoder::MicroQrRequest request;
  request.version = options.version.value_or(0);
  request.level = options.level.value_or(1);
  request.mask = options.mask.value_or(0);
  request.chooseMask = options.chooseMask.value_or(false);
  request.allowKanji = options.allowKanji.value_or(true);
  Machinery& work = *machinery_;
  std::vector<std::uint8_t>& matrix = work.function;  // becomes the module matrix
  const auto made = encoder::EncodeMicroQr(data.data(), ContentLength(data, n), request, work.field,
                                           work.rs, work.segmenter, matrix);
  if (!made) return nullptr;
  auto bitmap =
      RenderSymbolBitmap(matrix.data(), made->side, made->side, margins[0], margins[1], margins[2],
                         margins[3], options.foreground.value_or(kBlack), options.background);
  if (!bitmap) return nullptr;
  margins_ = margins;
  std::swap(moduleMatrix_, matrix);  // the old matrix's storage serves the next call
  width_ = height_ = made->side;
  kind_ = SymbolKind::kMicroQr;
  version_ = made->version;
  level_ = made->level;
  mask_ = made->mask;
  return bitmap;
}

}  // namespace qrsmith

namespace qrsmith {

std::shared_ptr<const platform::Bitmap> QrEncoder::EncodeRmqr(const Bytes& data, std::int32_t n,
                                                              const EncodeOptions& options) {
  const auto given = MarginsOf(options);
  if (!given) return nullptr;
  const std::array<std::int32_t, 4>& margins = *given;
  // rMQR carries an ECI designator; the other header segments are refused
  // rather than dropped.
  if (options.header && (options.header->fnc1 || options.header->structuredAppend)) {
    return nullptr;
  }
  encoder::RmqrRequest request;
  request.size = options.version.value_or(0);
  request.height = options.rmqrHeight.value_or(0);
  request.level = options.level.value_or(encoder::kRmqrLevelM);
  request.allowKanji = options.allowKanji.value_or(true);
  if (options.header) request.eci = options.header->eci;
  Machinery& work = *machinery_;
  std::vector<std::uint8_t>& matrix = work.function;  // becomes the module matrix
  auto made = encoder::EncodeRmqr(data.data(), ContentLength(data, n), request, work.field, work.rs,
                                  work.segmenter, matrix);
  if (!made) return nullptr;
  if (options.boostLevel.value_or(false) && made->level == encoder::kRmqrLevelM) {
    // H at the size M settled on, when the content still fits.
    request.size = made->size;
    request.level = encoder::kRmqrLevelH;
    if (const auto boosted = encoder::EncodeRmqr(data.data(), ContentLength(data, n), request,
                                                 work.field, work.rs, work.segmenter, matrix)) {
      made = boosted;
    }
  }
  auto bitmap = RenderSymbolBitmap(matrix.data(), made->width, made->height, margins[0], margins[1],
                                   margins[2], margins[3], options.foreground.value_or(kBlack),
                                   options.background);
  if (!bitmap) return nullptr;
  margins_ = margins;
  std::swap(moduleMatrix_, matrix);  // the old matrix's storage serves the next call
  width_ = made->width;
  height_ = made->height;
  kind_ = SymbolKind::kRmqr;
  version_ = made->size;
  level_ = made->level;
  mask_ = 0;
  return bitmap;
}

}  // namespace qrsmith
