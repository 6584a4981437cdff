// qrsmith: makes a QR Code symbol from the text on the command line and shows
// it on the terminal.

#include <cstdio>
#include <string>

#include "cli/terminal_art.h"
#include "generator/qr_generator.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qrsmith TEXT\n");
    return 1;
  }
  qrsmith::QrGenerator generator;
  // Two modules of quiet zone around the symbol, as terminal renderings use.
  if (!generator.Generate(argv[1], false, 0, 2, -1, qrsmith::kBlack, std::nullopt, std::nullopt, 2,
                          2, 2, 2)) {
    std::fprintf(stderr, "qrsmith: cannot encode the text\n");
    return 2;
  }
  std::fputs(qrsmith::cli::RenderHalfBlocks(generator).c_str(), stdout);
  return 0;
}
