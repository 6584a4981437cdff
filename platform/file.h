#pragma once
// Writing export files without ever leaving a half-written one: the bytes go
// to a temporary file in the target's folder, are flushed to the disk, and the
// temporary file is then renamed over the target. On any failure the target is
// untouched (an existing file stays byte for byte as it was) and the temporary
// file is removed.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qrsmith::platform {

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
bool WriteFileAtomically(const std::string& path, std::string_view text);

}  // namespace qrsmith::platform
