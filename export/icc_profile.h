#pragma once
// The ICC profiles a PDF/X file names as its output condition: the printing
// condition its colours are meant for, embedded in the file so that a print
// shop's workflow need not look it up.

#include <cstdint>
#include <span>
#include <string>

#include <qrsmith/platform/types.h>

namespace qrsmith {

// sRGB (IEC 61966-2-1) as a small ICC version 2 display profile: the
// primaries adapted to D50 and the sRGB tone curve as a 256-entry table.
// Made here, byte for byte the same on every call.
Bytes SrgbProfile();

// Offset printing on coated paper after ISO 12647-2 (the FOGRA39
// characterization), an ICC version 2 output profile for CMYK made at build
// time from the FOGRA39 measurements (see export/CMakeLists.txt).
std::span<const std::uint8_t> Fogra39Profile();

}  // namespace qrsmith
