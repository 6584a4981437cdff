#pragma once
// Writing export files without ever leaving a half-written one. A regular
// file is replaced as below; pipes, devices, open descriptors, hard-linked
// files and files in folders the user may not change are written in place
// (file_target.h says which rule applies when). For a replace, the bytes go
// to a temporary file in the target's folder, are flushed to the disk, and the
// file is then named as the target (renamed over it when there is one) and
// the folder synced. WriteFileAtomically is a FileBatch (file_batch.h) of one. On any
// failure the target is untouched (an existing file stays byte for byte as it
// was) and the temporary file is removed.
//
// A symbolic link is written through: the file it leads to (through a chain
// of at most kMaxLinkHops links) gets the new bytes and the link stays a link.
// A replaced file keeps its permission bits, and its owner and group as far as
// the process may set them. The temporary file has no name while it is
// written, so even a process killed part way leaves nothing behind; only
// where the file system cannot make unnamed files does it get a hidden name,
// ".<target>.qrsmith-XXXXXX", which a killed process may leave.
//
// Failures set errno for the caller's message: EISDIR for a folder (or a link
// to one), EACCES for a read-only file or folder, ELOOP for too long a chain
// of links, ENOENT for a missing folder.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qrsmith::platform {

// Links followed from the named path to the file written, as the kernel
// follows them when it opens a file.
inline constexpr int kMaxLinkHops = 40;

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
bool WriteFileAtomically(const std::string& path, std::string_view text);

// The file a write to `path` goes to: the end of its chain of symbolic links,
// or `path` itself when it is no link. A relative link is taken from the
// folder of the link. Empty (errno set) when the chain is too long or cannot
// be read.
std::string WriteTargetOf(const std::string& path);

// The folder part of a path ("." when it has none) and the name after it.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

}  // namespace qrsmith::platform
