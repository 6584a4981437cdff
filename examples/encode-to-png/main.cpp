// encode-to-png TEXT FILE: writes TEXT as a QR Code symbol to the PNG file
// FILE, eight pixels a module, with the four-module quiet zone readers expect.
#include <qrsmith/generator/qr_generator.h>

#include <cstdio>

int main(int argc, char** argv) {
  using qrsmith::kBlack, qrsmith::kWhite;
  if (argc != 3) return std::fputs("usage: encode-to-png TEXT FILE.png\n", stderr), 2;
  qrsmith::QrGenerator generator;  // automatic version, level M, margins 4 modules
  if (!generator.Generate(argv[1], false, 0, 2, -1, kBlack, kWhite, {}, 4, 4, 4, 4))
    return std::fputs("encode-to-png: the text does not fit a QR Code symbol\n", stderr), 1;
  if (generator.SaveImage(argv[2], generator.SymbolWidth() * 8, 4)) return 0;  // 4: PNG
  return std::fprintf(stderr, "encode-to-png: cannot write %s\n", argv[2]), 1;
}
