// qrsmith: makes QR Code symbols from the command line.

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/run.h"

int main(int argc, char** argv) {
  // Beyond a file size limit (ulimit -f), a write must fail with EFBIG rather
  // than end the process: only then is the temporary file of an atomic write
  // removed and the failure reported.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  return qrsmith::cli::RunQrsmith(args, stdin, stdout, stderr);
}
