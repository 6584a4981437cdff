#pragma once
// Batch mode: many symbols from one file, written in parallel on all cores.
// A plain file gives one symbol per line, written to the -o name with "%n"
// replaced by the line number; a .csv file gives one symbol per row, with the
// columns output and text and any option columns named by their long option
// name (level, size, foreground, ...). A failed row is reported with its line
// number and does not stop the others.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"

namespace qrsmith::cli {

// Splits CSV text into rows of fields (commas, double-quoted fields with ""
// for a quote, LF or CR LF line ends). Each row keeps its first line number.
struct CsvRow {
  std::size_t line;
  std::vector<std::string> fields;
};
std::optional<std::vector<CsvRow>> ParseCsv(const std::string& text, std::string& error);

// Runs the batch; prints failures and a summary line on `err`. Returns the exit status.
int RunBatch(const CliOptions& options, std::FILE* err, unsigned threads = 0);

}  // namespace qrsmith::cli
