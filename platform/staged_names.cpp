#include "platform/staged_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <ctime>
#include <set>
#include <thread>

namespace qrsmith::platform {

namespace {

// The marker between the target's name and the six random letters and digits.
constexpr std::string_view kMarker = ".qrsmith-";
constexpr std::size_t kRandomPart = 6;

std::mutex& NamesMutex() {
  static std::mutex m;
  return m;
}
std::set<std::string>& Names() {
  static std::set<std::string> names;
  return names;
}
std::set<std::string>& CleanedFolders() {
  static std::set<std::string> folders;
  return folders;
}
std::atomic<std::size_t> finishedFiles{0};

// When this process started, as the clock of file times counts it.
const timespec kStart = [] {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}();

bool Before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

std::unique_lock<std::mutex> StagedNamesLock() { return std::unique_lock(NamesMutex()); }

void AddStagedName(const std::string& path) { Names().insert(path); }

void DropStagedName(const std::string& path) { Names().erase(path); }

void CountFinishedFile() { ++finishedFiles; }

bool IsStagedName(const std::string& name) {
  if (name.size() < 2 + kMarker.size() + kRandomPart || name.front() != '.') return false;
  const std::size_t marker = name.size() - kRandomPart - kMarker.size();
  if (name.compare(marker, kMarker.size(), kMarker) != 0) return false;
  for (std::size_t i = name.size() - kRandomPart; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

void RemoveStaleStagedNames(const std::string& folder) {
  {
    const auto lock = StagedNamesLock();
    if (!CleanedFolders().insert(folder).second) return;
  }
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return;
  DIR* dir = ::fdopendir(dirFd);
  if (dir == nullptr) {
    ::close(dirFd);
    return;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsStagedName(name)) continue;
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // A running process holds a lock on each file it stages; where the file
    // system has no locks, the file's age alone tells.
    const bool stale = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && Before(st.st_mtim, kStart) &&
                       (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK);
    if (stale) ::unlinkat(dirFd, name.c_str(), 0);
    ::close(fd);
  }
  ::closedir(dir);
}

void RemoveStagedNamesOnInterrupt(void (*report)(int signal, std::size_t finished)) {
  sigset_t set;
  sigemptyset(&set);
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    // A signal the caller ignores (nohup) stays ignored.
    if (::sigaction(sig, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
      sigaddset(&set, sig);
    }
  }
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set, report] {
    int sig = 0;
    while (::sigwait(&set, &sig) != 0) {
    }
    // The lock stays held: no staged name appears or moves from here on.
    const auto lock = StagedNamesLock();
    for (const std::string& path : Names()) ::unlink(path.c_str());
    if (report != nullptr) report(sig, finishedFiles.load());
    std::signal(sig, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, sig);
    ::pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(sig);
    ::_exit(128 + sig);
  }).detach();
}

}  // namespace qrsmith::platform
