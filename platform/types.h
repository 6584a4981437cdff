#pragma once
// Value types shared by every folder of qrsmith.

#include <cstdint>
#include <vector>

namespace qrsmith {

// A counted byte sequence that owns its storage. Empty stands for "no data":
// a failed conversion, no symbol.
using Bytes = std::vector<std::uint8_t>;

// A colour as the generator's callers give it: 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBlack = 0x000000;

}  // namespace qrsmith
