#include "platform/file_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <mutex>
#include <string_view>

#include "platform/file.h"

namespace qrsmith::platform {

namespace {

// Bytes handed to one write call, so that a signal or a full disk stops a
// large picture part way rather than in one long call.
constexpr std::size_t kWriteStep = std::size_t{1} << 20;

// The descriptor a path names, when it names one of this process's: -1 otherwise.
int DescriptorNamed(std::string_view path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    if (!path.starts_with(prefix)) continue;
    const std::string_view digits = path.substr(prefix.size());
    int fd = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), fd);
    if (error == std::errc{} && end == digits.data() + digits.size() && !digits.empty()) return fd;
  }
  return -1;
}

// Whether the user may put a new file in place of `existing` in `folder`:
// the folder must be writable, and in a sticky folder the file or the
// folder must be the user's own.
bool MayReplace(const std::string& folder, const struct stat& existing) {
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return false;
  struct stat dir {};
  if (::stat(folder.c_str(), &dir) != 0) return false;
  const uid_t me = ::geteuid();
  return !(dir.st_mode & S_ISVTX) || me == 0 || existing.st_uid == me || dir.st_uid == me;
}

bool WriteFrom(int fd, std::span<const std::uint8_t> bytes, bool positioned) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t step = std::min(bytes.size() - done, kWriteStep);
    const ssize_t n = positioned ? ::pwrite(fd, bytes.data() + done, step, static_cast<off_t>(done))
                                 : ::write(fd, bytes.data() + done, step);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool Rewrite(const std::string& path, std::span<const std::uint8_t> bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0;
  if (ok && !S_ISREG(st.st_mode)) {
    errno = EINVAL;
    ok = false;
  }
  // Reserve the space first: a full disk then fails before any old byte is overwritten.
  const auto size = static_cast<off_t>(bytes.size());
  if (ok && size > st.st_size && ::fallocate(fd, 0, 0, size) != 0 && errno != EOPNOTSUPP) {
    ok = false;
  }
  ok = ok && WriteFrom(fd, bytes, true) && ::ftruncate(fd, size) == 0 && ::fdatasync(fd) == 0;
  const int error = errno;
  ::close(fd);
  errno = error;
  return ok;
}

}  // namespace

std::optional<WriteTarget> DecideWrite(const std::string& path) {
  WriteTarget t;
  t.rule = WriteRule::kStream;
  t.descriptor = DescriptorNamed(path);
  if (t.descriptor >= 0) {
    const int flags = ::fcntl(t.descriptor, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
      errno = EBADF;
      return std::nullopt;
    }
    t.path = path;
    return t;
  }
  t.path = WriteTargetOf(path);
  if (t.path.empty()) return std::nullopt;
  if (t.path.back() == '/') {
    errno = EISDIR;
    return std::nullopt;
  }
  struct stat st {};
  if (::stat(t.path.c_str(), &st) != 0) {
    t.rule = WriteRule::kReplace;  // nothing there yet (or the write reports why not)
    return t;
  }
  if (S_ISDIR(st.st_mode) || S_ISBLK(st.st_mode)) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) return t;
  if (::faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) return std::nullopt;
  t.rule = st.st_nlink > 1 || !MayReplace(FolderOf(t.path), st) ? WriteRule::kRewrite
                                                                : WriteRule::kReplace;
  return t;
}

bool WriteInPlace(const WriteTarget& target, std::span<const std::uint8_t> bytes) {
  // One write in place at a time: the rows of a batch sent to one pipe never
  // interleave, and two rows naming one hard-linked file leave one of them whole.
  static std::mutex inPlaceWrites;
  const std::lock_guard lock(inPlaceWrites);
  if (target.rule == WriteRule::kRewrite) return Rewrite(target.path, bytes);
  if (target.descriptor >= 0) return WriteFrom(target.descriptor, bytes, false);
  const int fd = ::open(target.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = WriteFrom(fd, bytes, false);
  const int error = errno;
  ::close(fd);
  errno = error;
  return ok;
}

}  // namespace qrsmith::platform
