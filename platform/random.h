#pragma once
// The process-wide pseudo-random generator. It is seeded once, from the tick
// count (milliseconds since boot), the first time anything asks for it; the
// noise of pictures and the random characters of export identifiers come from it.

#include <cstdint>
#include <span>

namespace qrsmith::platform {

// A uniform integer in [0, 255].
std::uint8_t RandomByte();
// Fills `out` with uniform bytes, in order.
void FillRandom(std::span<std::uint8_t> out);
// A uniform integer in [0, bound), bound >= 1.
std::uint32_t RandomBelow(std::uint32_t bound);
// Re-seeds the generator; for tests that need a repeatable sequence.
void SeedRandom(std::uint64_t seed);

}  // namespace qrsmith::platform
