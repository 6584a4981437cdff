#pragma once
// Writes the symbol in the form the command line asks for: a raster file,
// a vector, metafile or mark-up form, text art, or a terminal rendering; to a
// file (atomically), to standard output, or to the terminal.

#include <cstdio>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "cli/symbol_job.h"

namespace qrsmith::cli {

// The output type: -t, else the output file's extension, else the terminal.
std::optional<OutputType> ResolveOutputType(const CliOptions& options, std::string& error);

bool IsRasterType(OutputType type);

// Renders `symbol` as `type` into `bytes`.
Outcome RenderOutput(const CliOptions& options, const Symbol& symbol, OutputType type,
                     Bytes& bytes);

// Writes `bytes` where the options say: the -o file, or `out` for "-" or no -o.
Outcome Deliver(const CliOptions& options, const Bytes& bytes, std::FILE* out);

}  // namespace qrsmith::cli
