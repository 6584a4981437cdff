// qrsmith: makes QR Code symbols from the command line.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return qrsmith::cli::RunQrsmith(args, stdin, stdout, stderr);
}
