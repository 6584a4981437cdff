#pragma once
// --verify: reads the written symbol back and decodes it with zxing-cpp, as a
// phone would, and compares what it carries with the content bytes.

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "cli/symbol_job.h"

namespace qrsmith::cli {

// Decodes the symbol in `bytes` (the output written as `type`) and compares it
// with `symbol.carried`. Raster forms are decoded from the file itself; the
// vector, metafile, mark-up and text-art forms from the module grid read
// back out of the file; the terminal renderings from the symbol's own grid.
Outcome VerifyOutput(const Symbol& symbol, OutputType type, const Bytes& bytes);

// Whether the reader module (zxing-cpp) could be loaded.
bool ReaderAvailable();

// The bytes zxing-cpp reads from `picture`, or nullopt when it finds no QR Code.
std::optional<Bytes> ReadQrCode(const platform::Bitmap& picture);

}  // namespace qrsmith::cli
