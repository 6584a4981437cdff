// encode-to-png TEXT FILE: writes TEXT as a QR Code symbol to FILE, in the
// form its extension names (.png, .svg, .pdf, ...), eight pixels a module,
// with the four-module quiet zone readers expect.
#include <cstdio>

#include <qrsmith/qrsmith.h>

int main(int argc, char** argv) {
  if (argc != 3) return std::fputs("usage: encode-to-png TEXT FILE.png\n", stderr), 2;
  const qrsmith::EncodeResult encoded = qrsmith::Encode(argv[1]);
  if (!encoded) return std::fprintf(stderr, "encode-to-png: %s\n", encoded.failure.c_str()), 1;
  const qrsmith::Symbol& symbol = *encoded.symbol;
  std::printf("version %d, %d x %d modules, mask %d\n", symbol.Version(), symbol.Width(),
              symbol.Height(), symbol.Mask());
  const qrsmith::WriteResult written = qrsmith::Write(symbol, argv[2]);
  if (!written) return std::fprintf(stderr, "encode-to-png: %s\n", written.failure.c_str()), 1;
  return 0;
}
