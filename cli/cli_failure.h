#pragma once
// A failed qrsmith command: the exit status and the one line that names the
// problem and the value (printed after "qrsmith: ").

#include <optional>
#include <string>

namespace qrsmith::cli {

struct Failure {
  int exitCode;
  std::string message;
};

// nullopt: the step succeeded.
using Outcome = std::optional<Failure>;

}  // namespace qrsmith::cli
