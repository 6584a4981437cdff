#pragma once
// Runs the real qrsmith binary as a user's shell would: arguments, bytes on
// standard input, and what it prints and returns.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace qrsmith::testing {

struct ProcessResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

ProcessResult RunProcess(const std::string& binary, const std::vector<std::string>& args,
                         const std::string& input = {});

// The fixture of the tool's suites: the real binary and a scratch folder.
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
