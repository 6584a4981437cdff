#include "encoder/structured_append.h"

#include <algorithm>

#include "encoder/bit_stream.h"
#include "encoder/qr_tables.h"

namespace qrsmith::encoder {
namespace {

// The smallest version from `first` to 40 (or exactly `requested`) whose data
// capacity holds the part's stream after the header; 0 when none does.
std::int32_t SmallestVersion(const QrTables& tables, std::span<const std::uint8_t> part,
                             const SplitRequest& request, std::int32_t headerBits) {
  Segmenter segmenter;
  const bool gs1 = request.header.fnc1 && request.header.fnc1->firstPosition;
  const auto n = static_cast<std::int32_t>(part.size());
  const std::int32_t first = request.version > 0 ? request.version : kMinVersion;
  const std::int32_t last = request.version > 0 ? request.version : kMaxVersion;
  std::int32_t measuredGroup = 0, length = 0;
  for (std::int32_t v = first; v <= last; ++v) {
    if (VersionGroup(v) != measuredGroup) {
      measuredGroup = VersionGroup(v);
      length = segmenter.Measure(part.data(), n, measuredGroup, request.allowKanji, gs1);
    }
    if (length > 0 && headerBits + length - 4 <= 8 * tables.DataCodewords(v, request.level)) {
      return v;
    }
  }
  return 0;
}

// Cuts for `count` parts of about equal length, each moved back to the start
// of the character it would split; empty when some part would be empty.
std::vector<std::size_t> EqualCuts(std::size_t n, std::int32_t count,
                                   std::span<const std::uint8_t> startsCharacter) {
  std::vector<std::size_t> ends;
  std::size_t previous = 0;
  for (std::int32_t k = 1; k < count; ++k) {
    std::size_t cut = n * static_cast<std::size_t>(k) / static_cast<std::size_t>(count);
    while (cut > previous && !startsCharacter.empty() && startsCharacter[cut] == 0) --cut;
    if (cut <= previous) return {};
    ends.push_back(previous = cut);
  }
  if (n <= previous) return {};
  ends.push_back(n);
  return ends;
}

// Whether the request is within its ranges for this data. Content beyond 16
// symbols of the largest capacity (7089 digits) is refused unmeasured.
bool IsSplittable(std::span<const std::uint8_t> data, const SplitRequest& request) {
  constexpr std::size_t kMostBytes = 16 * 7089;
  return !data.empty() && data.size() <= kMostBytes &&
         (request.startsCharacter.empty() || request.startsCharacter.size() == data.size()) &&
         (request.symbols == 0 ||
          (request.symbols >= 2 && request.symbols <= kMaxStructuredAppendSymbols)) &&
         request.version >= 0 && request.version <= kMaxVersion && request.level >= 1 &&
         request.level <= kLevelCount && IsValid(request.header) &&
         !request.header.structuredAppend;
}

}  // namespace

StructuredAppendPlan PlanStructuredAppend(std::span<const std::uint8_t> data,
                                          const SplitRequest& request) {
  if (!IsSplittable(data, request)) return {};
  QrTables tables;
  tables.Fill();
  StructuredAppendPlan plan;
  plan.parity = StructuredAppendParity(data.data(), data.size());
  if (request.symbols == 0) {
    // One symbol that holds it all needs no sequence.
    if (const std::int32_t v = SmallestVersion(tables, data, request, HeaderBits(request.header))) {
      plan.version = v;
      plan.ends = {data.size()};
      return plan;
    }
  }
  StreamHeader withSequence = request.header;
  withSequence.structuredAppend = StructuredAppendHeader{};
  const std::int32_t headerBits = HeaderBits(withSequence);
  const std::int32_t fewest = request.symbols == 0 ? 2 : request.symbols;
  const std::int32_t most = request.symbols == 0 ? kMaxStructuredAppendSymbols : request.symbols;
  for (std::int32_t count = fewest; count <= most; ++count) {
    std::vector<std::size_t> ends = EqualCuts(data.size(), count, request.startsCharacter);
    if (ends.empty()) return {};  // more parts than characters
    std::int32_t version = 0;
    std::size_t start = 0;
    for (const std::size_t end : ends) {
      const std::int32_t v =
          SmallestVersion(tables, data.subspan(start, end - start), request, headerBits);
      if (v == 0) {
        version = 0;
        break;
      }
      version = std::max(version, v);
      start = end;
    }
    if (version != 0) {
      plan.version = version;
      plan.ends = std::move(ends);
      return plan;
    }
  }
  return {};
}

StructuredAppendHeader PartHeader(const StructuredAppendPlan& plan, std::size_t index) {
  return {static_cast<std::int32_t>(index) + 1, static_cast<std::int32_t>(plan.Parts()),
          plan.parity};
}

}  // namespace qrsmith::encoder
