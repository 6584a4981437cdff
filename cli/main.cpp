// qrsmith: makes QR Code symbols from the command line.

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/run.h"
#include "platform/staged_names.h"

namespace {

// Says, as an interrupt ends the tool, how many files were finished: those
// are whole; every file in progress was removed.
void ReportInterrupt(int signal, std::size_t finished) {
  std::fprintf(stderr, "qrsmith: stopped by signal %d: %zu %s finished, nothing else left\n",
               signal, finished, finished == 1 ? "file" : "files");
}

}  // namespace

int main(int argc, char** argv) {
  // Beyond a file size limit (ulimit -f), a write must fail with EFBIG rather
  // than end the process: only then is the temporary file of an atomic write
  // removed and the failure reported.
  std::signal(SIGXFSZ, SIG_IGN);
  qrsmith::platform::RemoveStagedNamesOnInterrupt(ReportInterrupt);
  std::vector<std::string> args(argv + 1, argv + argc);
  return qrsmith::cli::RunQrsmith(args, stdin, stdout, stderr);
}
