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

}  // namespace qrsmith::testing
