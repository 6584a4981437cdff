#pragma once
// Batch mode: many symbols from one file (batch_input.h says which), made in
// parallel on all cores, a chunk of rows at a time: the chunk's files are
// written, made durable with one sync, and put in place together. A failed
// row is reported with its line number and does not stop the others.

#include <cstdio>

namespace qrsmith::cli {

struct CliOptions;

// Runs the batch; prints failures and a summary line on `err`. Returns the exit status.
// Whether a batch has started in this process (an interrupt then reports its files).
bool BatchStarted();

int RunBatch(const CliOptions& options, std::FILE* err, unsigned threads = 0);

}  // namespace qrsmith::cli
