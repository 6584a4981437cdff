#pragma once
// The fixture of the tool's suites: the real qrsmith binary and a scratch folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/process.h"
#include "tests/support/scratch_folder.h"

namespace qrsmith::testing {

class ToolTest : public ::testing::Test {
 protected:
  ToolTest() : scratch_("qrsmith-tool") {}
  static ProcessResult Run(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProcess(QRSMITH_BINARY, args, input);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Every path below the scratch folder, sorted: what a run left behind.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_)) {
      names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  ScratchFolder scratch_;
  const std::filesystem::path& dir_ = scratch_.Path();
};

}  // namespace qrsmith::testing
