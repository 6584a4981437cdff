#pragma once
// Splitting content too long for one symbol into a structured-append
// sequence (ISO/IEC 18004 section 7.4.3): up to 16 symbols of one version and
// level, each carrying a consecutive part of the bytes, its position, the
// total and the parity of the whole data, so that a reader joins them back.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <qrsmith/encoder/stream_header.h>

namespace qrsmith::encoder {

struct StructuredAppendPlan {
  std::int32_t version = 0;       // the one version of every symbol
  std::vector<std::size_t> ends;  // part k is bytes [ends[k-1], ends[k]), ends[-1] = 0
  std::uint8_t parity = 0;        // XOR of all the bytes
  std::size_t Parts() const { return ends.size(); }
};

struct SplitRequest {
  // 2..16 symbols; 0: the fewest that hold the content (1 when one symbol
  // without a structured-append header holds it).
  std::int32_t symbols = 0;
  std::int32_t version = 0;  // 1..40, or 0 for the smallest that holds every part
  std::int32_t level = 2;    // 1..4
  bool allowKanji = false;
  // The header segments every symbol carries besides structured append (ECI, FNC1).
  StreamHeader header;
  // startsCharacter[i] != 0 where a character starts, so that a part may
  // begin there; empty: at every byte.
  std::span<const std::uint8_t> startsCharacter;
};

// Splits data into parts of about equal length, never inside a character,
// and settles the version. An empty plan (no parts) when no split of at most
// 16 symbols (or of the number asked for) fits the version asked for, or any.
StructuredAppendPlan PlanStructuredAppend(std::span<const std::uint8_t> data,
                                          const SplitRequest& request);

// The header of part `index` (0-based) of the plan.
StructuredAppendHeader PartHeader(const StructuredAppendPlan& plan, std::size_t index);

}  // namespace qrsmith::encoder
