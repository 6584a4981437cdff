#pragma once
// Runs the real qrsmith binary as a user's shell would: arguments, bytes on
// standard input, and what it prints and returns.

#include <string>
#include <vector>

namespace qrsmith::testing {

struct ProcessResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

ProcessResult RunProcess(const std::string& binary, const std::vector<std::string>& args,
                         const std::string& input = {});

// Starts the binary without waiting, its standard streams on /dev/null, for a
// test that stops it part way; the caller waits for it. -1 when fork fails.
int StartProcess(const std::string& binary, const std::vector<std::string>& args);

// The bytes a running process has passed to write calls so far (the wchar of
// /proc/PID/io); -1 when that cannot be read.
long long BytesWritten(int pid);

}  // namespace qrsmith::testing
