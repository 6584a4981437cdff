#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qrsmith::platform {

namespace {

// Bytes handed to one write call: a large picture goes out in steps, so that
// a signal or a full disk stops it part way rather than in one long call.
constexpr std::size_t kWriteChunk = std::size_t{1} << 20;
// Attempts at a temporary name before giving up (each clash is a 1 in 36^6 chance).
constexpr int kNameAttempts = 100;
// The part of the target's name a temporary name repeats: the rest of a
// 255-byte file name holds the dot, the marker and the random part.
constexpr std::size_t kMaxNamePrefix = 200;

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<std::string> ReadLink(const std::string& path) {
  std::string target(256, '\0');
  while (true) {
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return std::nullopt;
    if (static_cast<std::size_t>(n) < target.size()) {
      target.resize(static_cast<std::size_t>(n));
      return target;
    }
    if (target.size() > PATH_MAX) {
      errno = ENAMETOOLONG;
      return std::nullopt;
    }
    target.resize(target.size() * 2);
  }
}

// ".<name>.qrsmith-" and six random letters and digits: hidden, and plainly
// the write of <name> should one ever be left behind.
std::string TemporaryName(const std::string& name) {
  static constexpr std::string_view kDigits = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::atomic<std::uint64_t> counter{0};
  const auto ticks =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::uint64_t v = (static_cast<std::uint64_t>(::getpid()) << 40) ^ ticks ^
                    (counter.fetch_add(1) * 0x9E3779B97F4A7C15u);
  std::string out(1, '.');
  out.append(name, 0, kMaxNamePrefix).append(".qrsmith-");
  for (int i = 0; i < 6; ++i, v /= kDigits.size()) out += kDigits[v % kDigits.size()];
  return out;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  const std::uint8_t* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    const ssize_t n = ::write(fd, data, std::min(size, kWriteChunk));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The replaced file's owner and group where the process may give them (both,
// else the group alone), then its permission bits: a change of owner clears
// the set-user-ID and set-group-ID bits, so the mode comes last.
bool KeepOwnerAndMode(int fd, const struct stat& existing) {
  if (::fchown(fd, existing.st_uid, existing.st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
    // Neither may be given: the new file belongs to the writer, as any file it makes.
  }
  return ::fchmod(fd, existing.st_mode & 07777) == 0;
}

// An unnamed file in `folder`, which disappears by itself if the process dies
// before naming it. EOPNOTSUPP when the kernel or the file system has none.
int OpenUnnamed(int folder) {
  const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0 && (errno == EISDIR || errno == EINVAL)) errno = EOPNOTSUPP;
  return fd;
}

// Gives the unnamed file `fd` a temporary name in `folder`, through /proc, or
// by its descriptor where the process has the privilege. EOPNOTSUPP when
// neither works, so that the caller writes a named file instead.
bool NameUnnamed(int fd, int folder, const std::string& target, std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = TemporaryName(target);
    if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
        ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0) {
      return true;
    }
    if (errno != EEXIST) break;
  }
  name.clear();
  if (errno != EEXIST && errno != ENOSPC && errno != EDQUOT) errno = EOPNOTSUPP;
  return false;
}

int CreateNamed(int folder, const std::string& target, std::string& name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = TemporaryName(target);
    const int fd = ::openat(folder, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  name.clear();
  return -1;
}

// Writes and flushes `bytes` into a new file of `folder`, named `name` on
// success, that can be renamed over `target`; a replaced file's owner and
// mode are kept. On failure nothing is left and errno says why.
bool WriteTemporary(int folder, const std::string& target, std::span<const std::uint8_t> bytes,
                    const struct stat* existing, bool unnamed, std::string& name) {
  name.clear();
  const int fd = unnamed ? OpenUnnamed(folder) : CreateNamed(folder, target, name);
  if (fd < 0) return false;
  bool ok = (existing == nullptr || KeepOwnerAndMode(fd, *existing)) && WriteAll(fd, bytes) &&
            ::fsync(fd) == 0;
  if (ok && unnamed) ok = NameUnnamed(fd, folder, target, name);
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) ok = false, error = errno;
  if (!ok) {
    if (!name.empty()) ::unlinkat(folder, name.c_str(), 0);
    name.clear();
    errno = error;
  }
  return ok;
}

}  // namespace

std::string WriteTargetOf(const std::string& path) {
  std::string current = path;
  for (int hops = 0;; ++hops) {
    struct stat st {};
    // A missing file, or one that cannot be looked at, is written where it is
    // named; the write itself then reports what is wrong.
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    if (hops == kMaxLinkHops) {
      errno = ELOOP;
      return {};
    }
    const auto link = ReadLink(current);
    if (!link) return {};
    const std::string folder = FolderOf(current);
    if (link->empty() || link->front() == '/' || folder == ".") {
      current = *link;
    } else {
      current = (folder == "/" ? "" : folder) + "/" + *link;
    }
    if (current.empty()) {
      errno = ENOENT;
      return {};
    }
  }
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) {
    errno = ENOENT;
    return false;
  }
  const std::string target = WriteTargetOf(path);
  if (target.empty()) return false;
  if (target.back() == '/') {
    errno = EISDIR;
    return false;
  }
  // The target must be a regular file or not exist: never replace a folder or a device.
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    errno = S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;  // for the caller's message
    return false;
  }
  // A file the user may not write is not replaced either (EACCES).
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;

  const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return false;
  const std::string name = NameOf(target);
  const struct stat* keep = exists ? &existing : nullptr;
  std::string temporary;
  bool ok = WriteTemporary(folder, name, bytes, keep, true, temporary);
  if (!ok && errno == EOPNOTSUPP) ok = WriteTemporary(folder, name, bytes, keep, false, temporary);
  ok = ok && ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0;
  if (!ok) {
    const int error = errno;
    if (!temporary.empty()) ::unlinkat(folder, temporary.c_str(), 0);
    ::close(folder);
    errno = error;
    return false;
  }
  // Make the rename itself durable.
  ::fsync(folder);
  ::close(folder);
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view text) {
  return WriteFileAtomically(
      path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                          text.size()));
}

}  // namespace qrsmith::platform
