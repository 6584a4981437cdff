#pragma once
// Many files written and made durable together. Stage writes a file's bytes
// to a temporary file in its target's folder that no one sees yet (an
// unnamed file where the file system makes them, else a hidden
// ".<target>.qrsmith-XXXXXX", which an interrupt removes and which the next
// run into that folder removes should a killed run leave it) and starts the
// disk on them. Commit then makes every staged file durable (one syncfs per
// file system that honours it while little else waits to be written there,
// else a sync of each file on several threads, so a batch never writes or
// waits for other programs' data), puts each in place (linked under the
// target's name where there is none yet, else renamed over the old file) and
// syncs each folder once. So a crash at any moment leaves each target whole:
// the old file where there was one, the new one, or nothing where there was
// none.
//
// The target decides the write (file_target.h): a pipe, a device, an open
// descriptor, a file with other hard links or one the user may not replace
// is kept in memory at Stage and written in place at Commit, in slot order,
// so that of two slots naming one file the later one stays. Links are
// written through; a replaced file keeps its owner and mode. An unnamed file
// stays open until Commit, so a batch holds one descriptor per staged file
// (see SlotsAvailable).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qrsmith::platform {

class FileBatch {
 public:
  explicit FileBatch(std::size_t slots);
  ~FileBatch();  // drops whatever was staged and not committed
  FileBatch(const FileBatch&) = delete;
  FileBatch& operator=(const FileBatch&) = delete;

  // Writes `bytes` for `path` into the empty slot `slot`. False, errno set
  // (EISDIR, EACCES, ELOOP, ENOENT, ENOSPC, ...), when it cannot: nothing is
  // then left behind. Several threads may stage at once into distinct slots.
  bool Stage(std::size_t slot, const std::string& path, std::span<const std::uint8_t> bytes);

  // Puts every staged file in place and empties the slots. The result holds
  // for each slot 0 when its file is in place (or nothing was staged there),
  // else the errno of why not; its target is then as it was.
  std::vector<int> Commit();

  // How many files a batch may hold at once, at most `wanted`: the process's
  // limit of open files is raised as far as it may go, and some descriptors
  // are left for everything else.
  static std::size_t SlotsAvailable(std::size_t wanted);

 private:
  struct Staged;
  void SyncStaged(std::vector<int>& errors);
  std::vector<Staged> staged_;
};

}  // namespace qrsmith::platform
