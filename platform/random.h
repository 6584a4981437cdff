#pragma once
// The process-wide pseudo-random generator. It is seeded once, from the tick
// count (milliseconds since boot), the first time anything asks for it; the
// noise of pictures and the random characters of export identifiers come from it.

#include <cstdint>
#include <span>

namespace qrsmith::platform {

// Fills `out` with uniform bytes, in order.
void FillRandom(std::span<std::uint8_t> out);
// A uniform integer in [0, bound), bound >= 1.
std::uint32_t RandomBelow(std::uint32_t bound);

}  // namespace qrsmith::platform
