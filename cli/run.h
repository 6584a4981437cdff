#pragma once
// The qrsmith command: parse, make, write and check.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "cli/output_writer.h"

namespace qrsmith::cli {

// Makes the symbol of `content`, writes it as the options say and, with
// --verify, grades it (the grade's report in `gradeReport`). `out` receives
// output for "-" and the terminal; null in batch mode, where every row names
// its file and `staging` holds it until the batch commits.
Outcome ProduceSymbol(const CliOptions& options, const std::string& content, std::FILE* out,
                      const BatchSlot* staging = nullptr, std::string* gradeReport = nullptr);

// The whole command; returns the exit status. Messages go to `err`.
int RunQrsmith(const std::vector<std::string>& args, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace qrsmith::cli
