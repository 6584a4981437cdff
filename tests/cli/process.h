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
// Starts the binary without waiting, its standard streams on /dev/null, for a
// test that stops it part way; the caller waits for it. -1 when fork fails.
int StartProcess(const std::string& binary, const std::vector<std::string>& args);

// The bytes a running process has passed to write calls so far (the wchar of
// /proc/PID/io); -1 when that cannot be read.
long long BytesWritten(int pid);

}  // namespace qrsmith::testing
