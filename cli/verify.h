#pragma once
// --verify: grades the written symbol as two independent readers and the
// parameters of verify/grade.h see it, before anything is written.

#include <string>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "cli/output_writer.h"
#include "cli/symbol_job.h"
#include "verify/scan_check.h"

namespace qrsmith::cli {

using verify::kMaxVerifyPixels;

// The grade of the output `bytes` written as `form`: `report` receives the
// grade line (or its JSON object with --verify=json), and the size warning
// on a line of its own when there is one. A grade below --min-grade exits
// with kExitVerify, a grade that cannot be made with kExitInputOutput.
Outcome VerifyOutput(const CliOptions& options, const Symbol& symbol, const OutputForm& form,
                     const Bytes& bytes, std::string& report);

// With --icon on a raster form: makes the symbol and its output `bytes` at
// the lowest level (then version) whose unused error correction, with the
// icon in place, grades B or better; with -l, at that level. Refuses (exit
// 3) an icon that leaves less, naming the grade and the largest icon side
// that keeps B.
Outcome MakeSymbolKeepingIconReadable(const CliOptions& options, const std::string& content,
                                      const OutputForm& form, Symbol& symbol, Bytes& bytes);

}  // namespace qrsmith::cli
