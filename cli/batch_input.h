#pragma once
// The rows of a batch file, read one at a time so that a file of any length
// is worked through in bounded memory. A plain file gives one row per
// non-blank line, written to the -o name with "%n" replaced by the line
// number; a .csv file gives one row per record after its header, with the
// columns output and text and any option columns named by their long option
// name (level, size, foreground, ...). CSV: commas, double-quoted fields with
// "" for a quote, LF or CR LF line ends.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"

namespace qrsmith::cli {

// One row of the batch: its options and content, or why it cannot be made.
struct BatchJob {
  std::size_t line = 0;               // where the row starts, from 1
  std::optional<CliOptions> options;  // nullopt: the row itself is malformed
  std::string content;
  std::string error;
};

class BatchInput {
 public:
  // Opens the options' batch file and reads a CSV file's header. Null, with
  // `failure` set, when the file cannot be read or the header is unfit.
  static std::unique_ptr<BatchInput> Open(const CliOptions& options, Failure& failure);
  ~BatchInput();
  BatchInput(const BatchInput&) = delete;
  BatchInput& operator=(const BatchInput&) = delete;

  // The next row; false at the end of the file or when reading fails.
  bool Next(BatchJob& job);
  // Set when reading the file failed part way: the message.
  std::optional<std::string> ReadError() const;

 private:
  struct Reader;
  BatchInput(const CliOptions& options, std::unique_ptr<Reader> reader, bool csv);
  bool NextLine(BatchJob& job);
  bool NextRecord(BatchJob& job);

  const CliOptions& options_;
  std::unique_ptr<Reader> reader_;
  bool csv_;
  std::vector<std::string> header_;
  std::size_t outputColumn_ = 0, textColumn_ = 0;
};

}  // namespace qrsmith::cli
