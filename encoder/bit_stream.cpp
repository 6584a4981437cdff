#include "encoder/bit_stream.h"

#include <algorithm>
#include <cstring>

namespace qrsmith::encoder {
namespace {

// Cost of a record whose mode cannot end at that byte; loses every comparison.
constexpr std::int32_t kUnreachable = 0x70000000;
constexpr std::int8_t kNoMode = -1;
constexpr std::int32_t kModeIndicatorBits = 4;
// Mode indicators (ISO/IEC 18004 Table 2) by mode number.
constexpr std::array<std::uint32_t, kModeCount> kModeIndicator = {0b0100, 0b0001, 0b0010, 0b1000};
// Alphanumeric pairs are 45 x first + second (ISO/IEC 18004 section 7.4.5).
constexpr std::int32_t kAlphanumericBase = 45;
// Content longer than this costs more than kBitArrayLength bits in any mode,
// since no byte costs less than 10/3 bits.
constexpr std::int32_t kMaxMeasurableBytes = kBitArrayLength * 3 / 10;

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (int c = '0'; c <= '9'; ++c) classes[static_cast<std::size_t>(c)] = 1;
  for (int c = 'A'; c <= 'Z'; ++c) classes[static_cast<std::size_t>(c)] = 2;
  for (const char c : {' ', '$', '%', '*', '+', '-', '.', '/', ':'}) {
    classes[static_cast<std::size_t>(c)] = 2;
  }
  return classes;
}
constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

// Bytes that can lead a Kanji character (see IsKanjiPair).
constexpr std::array<bool, 256> kKanjiLeads = [] {
  std::array<bool, 256> leads{};
  for (int b = 0x81; b <= 0x9F; ++b) leads[static_cast<std::size_t>(b)] = true;
  for (int b = 0xE0; b <= 0xEB; ++b) leads[static_cast<std::size_t>(b)] = true;
  return leads;
}();

constexpr std::array<std::uint8_t, 256> MakeAlphanumericValues() {
  std::array<std::uint8_t, 256> values{};
  constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
  for (std::size_t v = 0; v + 1 < sizeof kAlphabet; ++v) {
    values[static_cast<unsigned char>(kAlphabet[v])] = static_cast<std::uint8_t>(v);
  }
  return values;
}
constexpr std::array<std::uint8_t, 256> kAlphanumericValues = MakeAlphanumericValues();

// FNC1 data: GS (0x1D) stands for FNC1, which alphanumeric mode writes as '%'.
// A literal '%' would be "%%" there; it goes into byte mode instead, since
// readers in use (zxing-cpp 1.4) lose the rest of the segment after "%%".
constexpr std::uint8_t kGroupSeparator = 0x1D;
constexpr std::array<std::uint8_t, 256> kGs1Classes = [] {
  std::array<std::uint8_t, 256> classes = MakeClasses();
  classes[kGroupSeparator] = 2;
  classes['%'] = 0;
  return classes;
}();
constexpr std::array<std::uint8_t, 256> kGs1AlphanumericValues = [] {
  std::array<std::uint8_t, 256> values = MakeAlphanumericValues();
  values[kGroupSeparator] = values['%'];
  return values;
}();

struct Record {
  std::int32_t cost = kUnreachable;
  std::int32_t run = 0;  // characters of this mode so far in the current segment
};
using Row = std::array<Record, kModeCount>;

// Whether one byte segment is strictly cheaper than every other stream of
// the content, so that the search can be skipped: the content holds a byte
// that only byte mode takes, no byte that could start a Kanji character, and
// only short runs of digits and alphanumeric characters. Moving a run of
// K such characters out of the byte segment saves at most 8K - 10K/3 bits
// of data but costs a header of at least 4 + min(numeric, alphanumeric
// count width) bits, and, for a run with bytes on both sides, the header of
// the byte segment that resumes after it.
bool OneByteSegmentIsCheapest(const std::uint8_t* data, std::int32_t n, const StreamFormat& format,
                              bool allowKanji) {
  const std::array<std::int32_t, kModeCount>& widths = format.countWidths;
  if (widths[kNumericMode] == 0 || widths[kAlphanumericMode] == 0 || widths[kByteMode] == 0 ||
      n > (std::int32_t{1} << widths[kByteMode]) - 1) {
    return false;
  }
  const std::int32_t indicator = format.indicatorBits;
  const std::int32_t fewest = indicator + std::min(widths[kNumericMode], widths[kAlphanumericMode]);
  // Longest runs at an end and inside whose saving 14K/3 stays below the cost.
  const std::int32_t atEnd = (3 * fewest - 1) / 14;
  const std::int32_t inside = (3 * (fewest + indicator + widths[kByteMode]) - 1) / 14;
  std::int32_t first = 0;
  while (first < n && kClasses[data[first]] != 0) ++first;
  if (first == n || first > atEnd) return false;
  std::int32_t run = 0, longest = 0;
  bool kanjiLead = false;
  for (std::int32_t p = first; p < n; ++p) {
    const std::uint32_t b = data[p];
    run = kClasses[b] != 0 ? run + 1 : 0;
    longest = std::max(longest, run);
    kanjiLead |= kKanjiLeads[b];
  }
  return run <= atEnd && longest <= inside && !(allowKanji && kanjiLead);
}

// How many of the first `most` modes (at least one) equal the first, eight
// compared at a time.
std::int32_t SameModeRun(const std::int8_t* modes, std::int32_t most) {
  const std::uint64_t eight = 0x0101010101010101u * static_cast<std::uint8_t>(modes[0]);
  std::int32_t run = 1;
  for (; run + 8 <= most; run += 8) {
    std::uint64_t word;
    std::memcpy(&word, modes + run, 8);
    if (word != eight) break;
  }
  while (run < most && modes[run] == modes[0]) ++run;
  return run;
}

}  // namespace

std::int32_t CharacterClass(std::int32_t byte) {
  return byte >= 0 && byte < 256 ? kClasses[static_cast<std::size_t>(byte)] : 0;
}

std::int32_t AlphanumericValue(std::int32_t byte) {
  return byte >= 0 && byte < 256 ? kAlphanumericValues[static_cast<std::size_t>(byte)] : 0;
}

std::int32_t IsKanjiPair(std::int32_t lead, std::int32_t trail) {
  lead &= 0xFF;
  trail &= 0xFF;
  if (trail < 0x40) return 0;
  if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA)) return 1;
  return lead == 0xEB && trail < 0xC0 ? 1 : 0;
}

std::int64_t MinimumStreamBits(const std::uint8_t* data, std::int32_t n) {
  // In sixths of a bit: 20 per digit, 33 per other alphanumeric character, 39 else.
  constexpr std::array<std::int64_t, 3> kSixths = {39, 20, 33};
  std::int64_t sixths = 0;
  for (std::int32_t p = 0; p < n; ++p) sixths += kSixths[kClasses[data[p]]];
  return sixths / 6;
}

StreamFormat QrStreamFormat(std::int32_t group) {
  return StreamFormat{CountFieldWidths(group), kModeIndicator, kModeIndicatorBits, 4};
}

std::int32_t Segmenter::Measure(const std::uint8_t* data, std::int32_t n, std::int32_t group,
                                bool allowKanji, bool gs1) {
  return Measure(data, n, QrStreamFormat(group), allowKanji, gs1);
}

std::int32_t Segmenter::Measure(const std::uint8_t* data, std::int32_t n,
                                const StreamFormat& format, bool allowKanji, bool gs1) {
  n_ = std::max<std::int32_t>(n, 0);
  format_ = format;
  length_ = 0;
  gs1_ = gs1;
  const std::uint8_t* classes = gs1 ? kGs1Classes.data() : kClasses.data();
  const std::int32_t terminatorBits = format.terminatorBits;
  if (n_ == 0) return length_ = terminatorBits;
  if (n_ > kMaxMeasurableBytes) return 0;

  const std::array<std::int32_t, kModeCount>& widths = format.countWidths;
  std::array<std::int32_t, kModeCount> limits{};
  std::array<std::int32_t, kModeCount> header{};  // indicator + count field of a new segment
  for (std::size_t m = 0; m < header.size(); ++m) {
    header[m] = format.indicatorBits + widths[m];
    limits[m] = (std::int32_t{1} << widths[m]) - 1;
  }
  // Modes a symbol lacks (Micro QR M1 and M2) take no segment; content with
  // a character that only such a mode holds has no stream at all.
  const bool byteMode = widths[kByteMode] > 0, alphanumericMode = widths[kAlphanumericMode] > 0;
  allowKanji = allowKanji && widths[kKanjiMode] > 0;
  for (std::int32_t p = 0; !(byteMode && alphanumericMode) && p < n_; ++p) {
    const std::int32_t cls = classes[data[p]];
    if ((cls == 0 && !byteMode) || (cls == 2 && !alphanumericMode)) return 0;
  }
  oneByteSegment_ = !gs1 && OneByteSegmentIsCheapest(data, n_, format, allowKanji);
  if (oneByteSegment_) {
    const std::int32_t length = header[kByteMode] + 8 * n_ + terminatorBits;
    if (length > kBitArrayLength) return 0;
    return length_ = length;
  }

  predecessors_.resize(4 * static_cast<std::size_t>(n_));
  runs_.resize(4 * static_cast<std::size_t>(n_));
  Row before{}, previous{}, current{};  // records at p - 2, p - 1 and p

  auto kanjiAt = [&](std::int32_t p) {
    return allowKanji && IsKanjiPair(data[p - 1], data[p]) != 0;
  };
  auto onlyBytes = [](const Row& row) {
    return row[kNumericMode].cost == kUnreachable && row[kAlphanumericMode].cost == kUnreachable &&
           row[kKanjiMode].cost == kUnreachable;
  };
  for (std::int32_t p = 0; p < n_; ++p) {
    const std::int32_t cls = classes[data[p]];
    if (p > 0 && cls == 0 && onlyBytes(previous) && !kanjiAt(p)) {
      // A stretch of bytes that only byte mode holds, after a record only
      // byte mode reaches: each record continues the byte segment (or starts
      // a new one at the segment limit), as the general step below would
      // find, with the costs kept in registers.
      Record last = previous[kByteMode], beforeLast{};
      for (; p < n_ && classes[data[p]] == 0 && !kanjiAt(p); ++p) {
        const bool continues = last.run < limits[kByteMode];
        beforeLast = last;
        last = Record{last.cost + 8 + (continues ? 0 : header[kByteMode]),
                      continues ? last.run + 1 : 1};
        std::uint16_t* runs = &runs_[4 * static_cast<std::size_t>(p)];
        std::int8_t* predecessors = &predecessors_[4 * static_cast<std::size_t>(p)];
        runs[kByteMode] = static_cast<std::uint16_t>(last.run);
        runs[kNumericMode] = runs[kAlphanumericMode] = runs[kKanjiMode] = 0;
        predecessors[kByteMode] = kByteMode;
        predecessors[kNumericMode] = predecessors[kAlphanumericMode] = predecessors[kKanjiMode] =
            kNoMode;
      }
      --p;  // the loop's own step moves on to the byte that ended the stretch
      // Both records before the stretch's end hold byte mode alone: the
      // stretch started after such a record.
      before = previous = Row{};
      before[kByteMode] = beforeLast;
      previous[kByteMode] = last;
      continue;
    }
    // Kept in locals and stored once per byte: byte stores may alias anything
    // and would otherwise push the records through memory.
    std::array<std::int8_t, kModeCount> pred = {kNoMode, kNoMode, kNoMode, kNoMode};
    current = Row{};
    // For each mode the candidates come from predecessors 0..3 in order; a
    // later one wins only when strictly cheaper, so ties keep the lower mode.
    auto offer = [&](std::int32_t mode, std::int32_t from, std::int32_t cost, std::int32_t run) {
      Record& r = current[static_cast<std::size_t>(mode)];
      if (cost < r.cost) {
        r = Record{cost, run};
        pred[static_cast<std::size_t>(mode)] = static_cast<std::int8_t>(from);
      }
    };
    if (p == 0) {
      if (byteMode) current[kByteMode] = Record{header[kByteMode] + 8, 1};
      if (cls == 1) current[kNumericMode] = Record{header[kNumericMode] + 4, 1};
      if (cls >= 1 && alphanumericMode) {
        current[kAlphanumericMode] = Record{header[kAlphanumericMode] + 6, 1};
      }
    } else {
      for (std::int32_t u = 0; byteMode && u < kModeCount; ++u) {
        const Record& r = previous[static_cast<std::size_t>(u)];
        const bool continues = u == kByteMode && r.run < limits[kByteMode];
        offer(kByteMode, u, r.cost + 8 + (continues ? 0 : header[kByteMode]),
              continues ? r.run + 1 : 1);
      }
      if (cls == 1) {
        for (std::int32_t u = 0; u < kModeCount; ++u) {
          const Record& r = previous[static_cast<std::size_t>(u)];
          if (u == kNumericMode && r.run < limits[kNumericMode]) {
            // A new group of three digits costs 4 bits, the next two 3 each.
            offer(kNumericMode, u, r.cost + 3 + (r.run % 3 == 0 ? 1 : 0), r.run + 1);
          } else {
            offer(kNumericMode, u, r.cost + header[kNumericMode] + 4, 1);
          }
        }
      }
      if (cls >= 1 && alphanumericMode) {
        for (std::int32_t u = 0; u < kModeCount; ++u) {
          const Record& r = previous[static_cast<std::size_t>(u)];
          if (u == kAlphanumericMode && r.run < limits[kAlphanumericMode]) {
            // A new pair costs 6 bits, its second character 5.
            offer(kAlphanumericMode, u, r.cost + 5 + (r.run % 2 == 0 ? 1 : 0), r.run + 1);
          } else {
            offer(kAlphanumericMode, u, r.cost + header[kAlphanumericMode] + 6, 1);
          }
        }
      }
      if (allowKanji && IsKanjiPair(data[p - 1], data[p]) != 0) {
        if (p == 1) {
          current[kKanjiMode] = Record{header[kKanjiMode] + 13, 1};
        } else {
          for (std::int32_t u = 0; u < kModeCount; ++u) {
            const Record& r = before[static_cast<std::size_t>(u)];
            const bool continues = u == kKanjiMode && r.run < limits[kKanjiMode];
            offer(kKanjiMode, u, r.cost + 13 + (continues ? 0 : header[kKanjiMode]),
                  continues ? r.run + 1 : 1);
          }
        }
      }
    }
    std::uint16_t* runs = &runs_[4 * static_cast<std::size_t>(p)];
    std::int8_t* predecessors = &predecessors_[4 * static_cast<std::size_t>(p)];
    for (std::size_t m = 0; m < kModeCount; ++m) {
      runs[m] = static_cast<std::uint16_t>(current[m].run);
      predecessors[m] = pred[m];
    }
    before = previous;
    previous = current;
  }

  finalMode_ = kByteMode;
  for (std::int32_t m = 1; m < kModeCount; ++m) {
    if (previous[static_cast<std::size_t>(m)].cost <
        previous[static_cast<std::size_t>(finalMode_)].cost) {
      finalMode_ = m;
    }
  }
  const std::int32_t length = previous[static_cast<std::size_t>(finalMode_)].cost + terminatorBits;
  if (length > kBitArrayLength) return 0;
  return length_ = length;
}

bool Segmenter::AssignModes() {
  if (oneByteSegment_) {
    modes_.assign(static_cast<std::size_t>(n_), kByteMode);
    return true;
  }
  modes_.assign(static_cast<std::size_t>(n_), kNoMode);
  std::int8_t* modes = modes_.data();
  const std::int8_t* predecessors = predecessors_.data();
  const std::uint16_t* runs = runs_.data();
  // Within a segment every record's predecessor is the segment's own mode
  // with a run one shorter, so the walk can take a whole segment at a time:
  // its first byte holds the mode before it.
  std::int32_t mode = finalMode_;
  for (std::int32_t p = n_ - 1; p >= 0;) {
    if (mode < 0) return false;  // the walk reached a stream start too early
    const std::int32_t bytes = runs[4 * p + mode] * (mode == kKanjiMode ? 2 : 1);
    const std::int32_t first = p - bytes + 1;
    if (bytes < 1 || first < 0) return false;
    std::fill(modes + first, modes + p + 1, static_cast<std::int8_t>(mode));
    // A Kanji record at byte q stands for bytes q-1 and q.
    mode = predecessors[4 * (mode == kKanjiMode ? first + 1 : first) + mode];
    p = first - 1;
  }
  return true;
}

std::int32_t Segmenter::Write(const std::uint8_t* data, PackedBitWriter& output) {
  if (length_ == 0) return 0;
  if (n_ > 0 && !AssignModes()) return 0;
  // A local copy stays in registers; the writer's byte stores could otherwise
  // alias its own fields.
  PackedBitWriter writer = output;
  const std::array<std::int32_t, kModeCount>& widths = format_.countWidths;
  std::array<std::int32_t, kModeCount> limits{};
  for (std::size_t m = 0; m < limits.size(); ++m) limits[m] = (std::int32_t{1} << widths[m]) - 1;
  limits[kKanjiMode] *= 2;  // from here on every limit counts bytes

  for (std::int32_t p = 0; p < n_;) {
    const std::int32_t mode = modes_[static_cast<std::size_t>(p)];
    const std::int32_t run =
        SameModeRun(modes_.data() + p, std::min(n_ - p, limits[static_cast<std::size_t>(mode)]));
    const std::uint8_t* bytes = data + p;
    writer.Put(format_.indicators[static_cast<std::size_t>(mode)], format_.indicatorBits);
    writer.Put(static_cast<std::uint32_t>(mode == kKanjiMode ? run / 2 : run),
               widths[static_cast<std::size_t>(mode)]);
    std::int32_t i = 0;
    switch (mode) {
      case kByteMode:
        writer.PutBytes(bytes, run);
        break;
      case kNumericMode:
        for (; i + 3 <= run; i += 3) {
          writer.Put(static_cast<std::uint32_t>((bytes[i] & 15) * 100 + (bytes[i + 1] & 15) * 10 +
                                                (bytes[i + 2] & 15)),
                     10);
        }
        if (run - i == 2)
          writer.Put(static_cast<std::uint32_t>((bytes[i] & 15) * 10 + (bytes[i + 1] & 15)), 7);
        if (run - i == 1) writer.Put(bytes[i] & 15u, 4);
        break;
      case kAlphanumericMode: {
        const std::uint8_t* values =
            gs1_ ? kGs1AlphanumericValues.data() : kAlphanumericValues.data();
        for (; i + 2 <= run; i += 2) {
          writer.Put(static_cast<std::uint32_t>(kAlphanumericBase * values[bytes[i]] +
                                                values[bytes[i + 1]]),
                     11);
        }
        if (i < run) writer.Put(values[bytes[i]], 6);
        break;
      }
      default:
        for (; i + 2 <= run; i += 2) {
          // Shift-JIS 0x8140-0x9FFC and 0xE040-0xEBBF to 13 bits: the lead byte
          // less 0x81 or 0xC1, times 0xC0, plus the trail byte less 0x40.
          const std::int32_t lead = bytes[i], trail = bytes[i + 1];
          std::int32_t high;
          if (lead >= 0x81 && lead <= 0x9F) {
            high = lead - 0x81;
          } else if (lead >= 0xE0 && lead <= 0xEB) {
            high = lead - 0xC1;
          } else {
            output = writer;
            return 0;
          }
          writer.Put(static_cast<std::uint32_t>(high * 0xC0 + (trail - 0x40)), 13);
        }
        break;
    }
    p += run;
  }
  writer.Put(0, format_.terminatorBits);
  writer.Finish();
  output = writer;
  return writer.Count();
}

}  // namespace qrsmith::encoder
