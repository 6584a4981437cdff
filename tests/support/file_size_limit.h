#pragma once
// The stand-in for a full disk: while a FileSizeLimit lives, no file this
// process writes grows beyond `bytes`, and a write past the limit fails
// (EFBIG) instead of ending the process (SIGXFSZ is ignored meanwhile).

#include <sys/resource.h>

#include <csignal>

namespace qrsmith::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous_;
    small.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool Active() const { return active_; }

 private:
  rlimit previous_{};
  void (*oldHandler_)(int) = nullptr;
  bool active_ = false;
};

}  // namespace qrsmith::testing
