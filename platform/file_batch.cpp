#include "platform/file_batch.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>
#include <thread>
#include <utility>

#include "platform/file.h"
#include "platform/file_target.h"
#include "platform/staged_names.h"

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
// From this many files on one file system, one syncfs is cheaper than a
// sync of each (every sync waits for a journal commit of its own)...
constexpr std::size_t kSyncfsFrom = 4;
// ...unless more than this much unwritten data of other files waits in the
// page cache: syncfs would write all of it too, and wait for it.
constexpr std::uint64_t kMaxOtherDirtyBytes = std::uint64_t{64} << 20;
// Threads syncing files one by one, and the files that make another one worth it.
constexpr std::size_t kSyncThreads = 8;
constexpr std::size_t kFilesPerSyncThread = 16;
// Folders held open at once while files are put in place; each is synced
// when it is closed.
constexpr std::size_t kMaxOpenFolders = 32;
// Descriptors left for everything but staged files: standard streams, the
// batch file, folders, pictures read by the workers.
constexpr std::size_t kSpareDescriptors = kMaxOpenFolders + 64;

// File systems whose syncfs writes every dirty file, unnamed ones included,
// and reports a failure; elsewhere each file is synced by itself.
bool SyncfsCoversFiles(int fd) {
  struct statfs fs {};
  if (::fstatfs(fd, &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC:  // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
      return true;
    default:
      return false;
  }
}

// Whether the page cache holds little unwritten data beyond `own` bytes
// (Dirty and Writeback of /proc/meminfo); false when that cannot be read.
bool LittleOtherDirtyData(std::uint64_t own) {
  std::FILE* meminfo = std::fopen("/proc/meminfo", "re");
  if (meminfo == nullptr) return false;
  std::uint64_t dirty = 0;
  int found = 0;
  char line[128];
  while (found < 2 && std::fgets(line, sizeof line, meminfo) != nullptr) {
    unsigned long long kb = 0;
    if (std::sscanf(line, "Dirty: %llu kB", &kb) == 1 ||
        std::sscanf(line, "Writeback: %llu kB", &kb) == 1) {
      dirty += kb * 1024;
      ++found;
    }
  }
  std::fclose(meminfo);
  return found == 2 && dirty < own + kMaxOtherDirtyBytes;
}

// Unnamed files can be named only through /proc (or with a privilege this
// tool does not ask for); without it every file gets a hidden name at once.
bool CanNameUnnamedFiles() {
  static const bool can = ::access("/proc/self/fd", X_OK) == 0;
  return can;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
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
int OpenUnnamed(const std::string& folder) {
  if (!CanNameUnnamedFiles()) {
    errno = EOPNOTSUPP;
    return -1;
  }
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0 && (errno == EISDIR || errno == EINVAL)) errno = EOPNOTSUPP;
  return fd;
}

// A hidden name in `folder`, registered so that an interrupt removes it, and
// locked so that another run sees it is in use.
int CreateNamed(const std::string& folder, const std::string& target, std::string& name) {
  RemoveStaleStagedNames(folder);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name = TemporaryName(target);
    const std::string path = Join(folder, name);
    const auto lock = StagedNamesLock();
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::flock(fd, LOCK_EX | LOCK_NB);
      AddStagedName(path);
      return fd;
    }
    if (errno != EEXIST) break;
  }
  name.clear();
  return -1;
}

bool LinkUnnamed(int fd, int folder, const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Only a regular file is renamed over (or nothing): a link, a folder or a
// device that took the name since the file was staged stays.
bool NameHoldsNoOtherKind(int folder, const std::string& name) {
  struct stat st {};
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  if (S_ISREG(st.st_mode)) return true;
  errno = EEXIST;
  return false;
}

// Open folders by path; each is synced as it is closed, which makes the
// names put into it durable.
class Folders {
 public:
  ~Folders() { CloseAll(); }
  int Open(const std::string& path) {
    for (const auto& [p, fd] : open_) {
      if (p == path) return fd;
    }
    if (open_.size() == kMaxOpenFolders) CloseAll();
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) open_.emplace_back(path, fd);
    return fd;
  }
  void CloseAll() {
    for (const auto& [path, fd] : open_) {
      ::fsync(fd);
      ::close(fd);
    }
    open_.clear();
  }

 private:
  std::vector<std::pair<std::string, int>> open_;
};

}  // namespace

struct FileBatch::Staged {
  int fd = -1;            // the written file, open until put in place; -1: empty slot
  std::string folder;     // of the target
  std::string name;       // the target's name in its folder
  std::string temporary;  // the file's hidden name in the folder, when it has one
  bool replaces = false;  // whether a file of that name was there when staged
  std::size_t bytes = 0;  // written to the file
  // A target written in place, and its bytes: written at Commit, in slot
  // order, so that of two rows naming one file the later one stays.
  std::optional<WriteTarget> inPlace;
  std::vector<std::uint8_t> pending;

  // Closes the file; a named one not put in place is removed.
  void Drop() {
    if (fd < 0) {
      *this = Staged{};
      return;
    }
    ::close(fd);
    if (!temporary.empty()) {
      const std::string path = Join(folder, temporary);
      const auto lock = StagedNamesLock();
      ::unlink(path.c_str());
      DropStagedName(path);
    }
    *this = Staged{};
  }

  // Names the synced file as the target in `folderFd`; 0 or the errno.
  int PutInPlace(int folderFd) {
    const auto lock = StagedNamesLock();
    if (temporary.empty()) {
      // Linking the name to the whole file is one atomic step; only a file
      // that replaces another needs a temporary name and a rename.
      if (!replaces) {
        if (LinkUnnamed(fd, folderFd, name)) return Finished();
        if (errno != EEXIST) return errno;
      }
      for (int attempt = 0; temporary.empty() && attempt < kNameAttempts; ++attempt) {
        const std::string candidate = TemporaryName(name);
        if (LinkUnnamed(fd, folderFd, candidate)) {
          temporary = candidate;
          AddStagedName(Join(folder, temporary));
        }
        if (temporary.empty() && errno != EEXIST) return errno;
      }
      if (temporary.empty()) return EEXIST;
    }
    if (!NameHoldsNoOtherKind(folderFd, name) ||
        ::renameat(folderFd, temporary.c_str(), folderFd, name.c_str()) != 0) {
      return errno;
    }
    DropStagedName(Join(folder, temporary));
    temporary.clear();
    return Finished();
  }

  static int Finished() {
    CountFinishedFile();
    return 0;
  }
};

FileBatch::FileBatch(std::size_t slots) : staged_(slots) {}

FileBatch::~FileBatch() {
  for (Staged& s : staged_) s.Drop();
}

bool FileBatch::Stage(std::size_t slot, const std::string& path,
                      std::span<const std::uint8_t> bytes) {
  if (slot >= staged_.size() || staged_[slot].fd >= 0 || staged_[slot].inPlace) {
    errno = EINVAL;
    return false;
  }
  if (path.empty()) {
    errno = ENOENT;
    return false;
  }
  const auto decided = DecideWrite(path);
  if (!decided) return false;
  if (decided->rule != WriteRule::kReplace) {
    Staged s;
    s.inPlace = *decided;
    s.pending.assign(bytes.begin(), bytes.end());
    staged_[slot] = std::move(s);
    return true;
  }
  const std::string& target = decided->path;
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;

  Staged s;
  s.folder = FolderOf(target);
  s.name = NameOf(target);
  s.replaces = exists;
  s.fd = OpenUnnamed(s.folder);
  if (s.fd < 0 && errno == EOPNOTSUPP) s.fd = CreateNamed(s.folder, s.name, s.temporary);
  if (s.fd < 0) return false;
  if ((exists && !KeepOwnerAndMode(s.fd, existing)) || !WriteAll(s.fd, bytes)) {
    const int error = errno;
    s.Drop();
    errno = error;
    return false;
  }
  // The disk starts on the bytes now, so the sync at Commit has little left to wait for.
  ::sync_file_range(s.fd, 0, 0, SYNC_FILE_RANGE_WRITE);
  s.bytes = bytes.size();
  staged_[slot] = std::move(s);
  return true;
}

void FileBatch::SyncStaged(std::vector<int>& errors) {
  std::map<dev_t, std::vector<std::size_t>> byDevice;
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    if (staged_[i].fd < 0) continue;
    struct stat st {};
    if (::fstat(staged_[i].fd, &st) != 0) {
      errors[i] = errno;
      continue;
    }
    byDevice[st.st_dev].push_back(i);
  }
  std::vector<std::size_t> each;
  for (const auto& [device, files] : byDevice) {
    std::uint64_t own = 0;
    for (const std::size_t i : files) own += staged_[i].bytes;
    const int any = staged_[files.front()].fd;
    if (files.size() < kSyncfsFrom || !SyncfsCoversFiles(any) || !LittleOtherDirtyData(own)) {
      each.insert(each.end(), files.begin(), files.end());
    } else if (::syncfs(any) != 0) {
      const int error = errno;
      for (const std::size_t i : files) errors[i] = error;
    }
  }
  // Each file by itself, on several threads: the journal commits the waits
  // of many at once.
  std::atomic<std::size_t> next{0};
  auto syncEach = [&] {
    for (std::size_t k = next++; k < each.size(); k = next++) {
      if (::fdatasync(staged_[each[k]].fd) != 0) errors[each[k]] = errno;
    }
  };
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < kSyncThreads && t * kFilesPerSyncThread < each.size(); ++t) {
    pool.emplace_back(syncEach);
  }
  syncEach();
  for (std::thread& t : pool) t.join();
}

std::vector<int> FileBatch::Commit() {
  std::vector<int> errors(staged_.size(), 0);
  SyncStaged(errors);
  Folders folders;
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    Staged& s = staged_[i];
    if (s.inPlace) {
      if (WriteInPlace(*s.inPlace, s.pending)) {
        CountFinishedFile();
      } else {
        errors[i] = errno;
      }
      s = Staged{};
      continue;
    }
    if (s.fd < 0) continue;
    if (errors[i] == 0) {
      const int folder = folders.Open(s.folder);
      errors[i] = folder < 0 ? errno : s.PutInPlace(folder);
    }
    s.Drop();
  }
  return errors;
}

std::size_t FileBatch::SlotsAvailable(std::size_t wanted) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1;
  const rlim_t needed = static_cast<rlim_t>(wanted + kSpareDescriptors);
  if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? needed : std::min(limit.rlim_max, needed);
    ::setrlimit(RLIMIT_NOFILE, &limit);
    ::getrlimit(RLIMIT_NOFILE, &limit);
  }
  if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed) return wanted;
  const auto usable = static_cast<std::size_t>(limit.rlim_cur);
  return usable > kSpareDescriptors ? usable - kSpareDescriptors : 1;
}

}  // namespace qrsmith::platform
