#pragma once
// A fresh folder of its own under the temporary folder (mkdtemp, so suites
// run in parallel never share one), removed with everything in it afterwards
// (made writable first, in case the test made it read-only).

#include <stdlib.h>

#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>

namespace qrsmith::testing {

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix = "qrsmith-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot make a scratch folder " + pattern);
    }
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // How many entries the folder holds (a write must leave no temporary).
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }

 private:
  std::filesystem::path path_;
};

}  // namespace qrsmith::testing
