#pragma once
// A structured-append sequence on the command line (--structured-append N or
// --split auto): every symbol rendered and, with --verify, read back before
// any is written; the files named NAME-1.EXT ... NAME-N.EXT, or by "%n" in
// the -o name.

#include <cstdio>
#include <string>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"

namespace qrsmith::cli {

// The file name of symbol `position` (1-based) of a sequence written to `output`.
std::string SequencePartName(const std::string& output, std::size_t position);

// Makes, checks and writes the sequence of `content`; with --verify it tells
// `err` how many symbols were read back.
Outcome ProduceSequence(const CliOptions& options, const std::string& content, std::FILE* out,
                        std::FILE* err);

}  // namespace qrsmith::cli
