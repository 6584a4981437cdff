// A program of a library user, built by scripts/check-package against the
// installed packages, beside a platform/types.h of its own, which the
// library's headers must never take for theirs.
#include <cstdio>

#include <qrsmith/generator/qr_generator.h>
#include <qrsmith/qrsmith.h>

#include "platform/types.h"

extern "C" int EncodeTo(const char* text, const char* path) {
  const mine::Bytes none = 0;
  const qrsmith::EncodeResult encoded = qrsmith::Encode(text);
  if (!encoded || encoded.symbol->Version() < 1) return 1;
  if (encoded.symbol->Generator().SymbolWidth() != encoded.symbol->Width() + 8) return 1;
  const qrsmith::WriteResult written = qrsmith::Write(*encoded.symbol, path);
  if (!written) std::fprintf(stderr, "%s\n", written.failure.c_str());
  return written ? none : 1;
}

#ifndef PLUGIN
int main(int argc, char** argv) { return argc == 3 ? EncodeTo(argv[1], argv[2]) : 2; }
#endif
