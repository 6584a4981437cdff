#pragma once
// The fixture of the tool's suites: the real qrsmith binary and a scratch folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/process.h"
#include "tests/support/scratch_folder.h"

namespace qrsmith::testing {

class ToolTest : public ::testing::Test {
 protected:
  explicit ToolTest(const std::string& folderPrefix) : scratch_(folderPrefix) {}
  static ProcessResult Run(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProcess(QRSMITH_BINARY, args, input);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  ScratchFolder scratch_;
  const std::filesystem::path& dir_ = scratch_.Path();
};

}  // namespace qrsmith::testing
