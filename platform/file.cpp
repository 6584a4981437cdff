#include "platform/file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <optional>

#include "platform/file_batch.h"

namespace qrsmith::platform {

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

namespace {

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
  FileBatch one(1);
  if (!one.Stage(0, path, bytes)) return false;
  const int error = one.Commit().front();
  errno = error;
  return error == 0;
}

bool WriteFileAtomically(const std::string& path, std::string_view text) {
  return WriteFileAtomically(
      path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                          text.size()));
}

}  // namespace qrsmith::platform
