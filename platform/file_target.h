#pragma once
// How a write reaches its target, decided once by what the target is.
//
// - Nothing there yet, or a regular file (or a link to one) that the user may
//   replace: written aside and renamed over it (kReplace, see file_batch.h),
//   so a failure or a crash leaves the old file whole.
// - A pipe, FIFO, character device or socket, or an open descriptor named as
//   /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N: written in place
//   (kStream). An open descriptor is written where it stands, so a standard
//   output that the shell opened for appending is appended to, and the text
//   a script wrote before and after stays.
// - A regular file with other hard links, or one the user may write but not
//   replace (its folder is not writable, or a sticky folder holds another
//   user's file): rewritten in place once the new bytes are complete in
//   memory (kRewrite). Its links, mode and owner stay; its space is reserved
//   first, so a full disk leaves it as it was.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qrsmith::platform {

enum class WriteRule { kReplace, kStream, kRewrite };

struct WriteTarget {
  WriteRule rule = WriteRule::kReplace;
  std::string path;     // the file written: the end of the chain of links
  int descriptor = -1;  // kStream to an open descriptor: its number
};

// The rule for a write to `path`; nullopt (errno set) for a target never
// written: a folder (EISDIR), a block device (EINVAL), a file the user may
// not write (EACCES), too long a chain of links (ELOOP).
std::optional<WriteTarget> DecideWrite(const std::string& path);

// Writes `bytes` to a kStream or kRewrite target; false with errno set.
bool WriteInPlace(const WriteTarget& target, std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform
