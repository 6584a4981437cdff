#pragma once
// The scan check: does a made symbol read back, as a phone would read it, as
// exactly the bytes it carries? One check for the command-line tool's
// --verify (a written file of any form) and for the window's scan label (the
// picture the window saves and copies).

#include <cstdint>
#include <span>
#include <string>

#include "export/output_forms.h"
#include "platform/opacity.h"
#include "platform/types.h"

namespace qrsmith {
class QrGenerator;
}

namespace qrsmith::verify {

// The largest raster picture a check decodes: 2^26 pixels, so that the
// decoded picture and its grey copy stay well within memory beside the file.
inline constexpr std::int64_t kMaxVerifyPixels = std::int64_t{1} << 26;

// The bytes the generator's current symbol carries, as a reader should read
// them back: the content's UTF-8 bytes, or its code-page bytes when encoded
// as ANSI.
Bytes CarriedBytes(const QrGenerator& generator);

// --- A written file ---------------------------------------------------------------

enum class FileCheck {
  kPassed,
  kFailed,       // the file does not read back as the symbol
  kCannotCheck,  // no reader, or a grid too large to read back
};
struct FileCheckResult {
  FileCheck result = FileCheck::kPassed;
  std::string message;  // for kFailed and kCannotCheck: what went wrong, one line
};

// Decodes the symbol in `bytes` (the generator's current symbol written as
// `form`) and compares it with `carried`, and checks that the modules are
// drawn square (a raster picture `onPicture` holds the symbol somewhere
// inside it, so only its reading counts). Raster forms are decoded from the
// file itself; the vector, metafile, mark-up and text-art forms from the
// module grid read back out of the file; the terminal renderings from the
// symbol's own grid. `opacity` is the alpha the file was written with: the
// symbol is judged as it looks on white.
FileCheckResult CheckWrittenFile(const QrGenerator& generator,
                                 std::span<const std::uint8_t> carried, const OutputForm& form,
                                 const Bytes& bytes, bool onPicture, const Opacity& opacity = {});

// --- The window's picture ---------------------------------------------------------

enum class ScanVerdict {
  kScannable,
  kIconTooLarge,    // it reads without the centre icon: the icon covers too much
  kLowContrast,     // the foreground is not clearly darker than the background
  kUnreadable,      // no reader finds it, for no cause named above
  kReadsOtherwise,  // it reads, but as other bytes
  kNoReader,        // no reader is available: nothing was checked
};

// Judges the generator's current symbol as the window saves and copies it:
// enlarged to `pixelsPerModule` pixels per module, with the centre icon. The
// symbol is left as it is.
ScanVerdict CheckSavedPicture(const QrGenerator& generator, std::int32_t pixelsPerModule);

}  // namespace qrsmith::verify
