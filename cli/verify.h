#pragma once
// --verify: reads the written symbol back and decodes it with zxing-cpp, as a
// phone would, and compares what it carries with the content bytes.

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "cli/symbol_job.h"

namespace qrsmith::cli {

// The largest raster picture --verify decodes: 2^26 pixels, so that the
// decoded picture and its grey copy stay well within memory beside the file.
inline constexpr std::int64_t kMaxVerifyPixels = std::int64_t{1} << 26;

// Decodes the symbol in `bytes` (the output written as `form`) and compares it
// with `symbol.carried`, and checks that the modules are drawn square (a
// raster picture `onPicture` holds the symbol somewhere inside it, so only its
// reading counts). Raster forms are decoded from the file itself; the
// vector, metafile, mark-up and text-art forms from the module grid read
// back out of the file; the terminal renderings from the symbol's own grid.
Outcome VerifyOutput(const Symbol& symbol, const OutputForm& form, const Bytes& bytes,
                     bool onPicture);

// Whether the reader module (zxing-cpp) could be loaded.
bool ReaderAvailable();

// The bytes zxing-cpp reads from `picture`, or nullopt when it finds no QR Code.
std::optional<Bytes> ReadQrCode(const platform::Bitmap& picture);

}  // namespace qrsmith::cli
