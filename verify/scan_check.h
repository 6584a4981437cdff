#pragma once
// The scan grade of a made symbol: does it read back, in two independent
// readers, as exactly the bytes it carries, and with how much margin
// (verify/grade.h)? One grade for the command-line tool's --verify (a
// written file of any form) and for the window's scan label (the picture the
// window saves and copies).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <qrsmith/export/output_forms.h>
#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/opacity.h>
#include <qrsmith/platform/types.h>
#include <qrsmith/verify/grade.h>

namespace qrsmith {
class QrGenerator;
}

namespace qrsmith::verify {

// The largest raster picture a check decodes: 2^26 pixels, so that the
// decoded picture and its grey copy stay well within memory beside the file.
inline constexpr std::int64_t kMaxVerifyPixels = std::int64_t{1} << 26;
// The resolution vector, metafile and mark-up forms are drawn at to be graded.
inline constexpr double kDefaultGradeDpi = 300;

// The bytes the generator's current symbol carries, as a reader should read
// them back: the content's UTF-8 bytes, or its code-page bytes when encoded
// as ANSI.
Bytes CarriedBytes(const QrGenerator& generator);

// --- A written file ---------------------------------------------------------------

enum class FileCheck {
  kGraded,
  kFailed,       // the file is not a readable picture or does not describe the symbol
  kCannotCheck,  // no reader, or a grid too large to read back
};

struct GradeRequest {
  // A raster file that lays the symbol on a background picture: only its
  // reading is graded, since the symbol may lie anywhere in it.
  bool onPicture = false;
  // The alpha the file was written with: a clear or partly clear colour is
  // judged over white and, as readers that ignore alpha see it, without.
  Opacity opacity;
  // The printed module side asked for, and a raster file's resolution.
  std::optional<double> moduleMm;
  std::optional<std::int32_t> dpi;
  // The resolution the non-raster forms are drawn at.
  double renderDpi = kDefaultGradeDpi;
  // The file draws the Swiss QR-bill's cross over the symbol (SwissCrossOf):
  // a raster holds it as written, the other forms get it drawn over the grid
  // read back; either way it is graded as damage.
  bool swissCross = false;
};

struct FileGradeResult {
  FileCheck result = FileCheck::kGraded;
  std::string message;  // for kFailed and kCannotCheck: what went wrong, one line
  ScanGrade grade;
};

// Grades the symbol in `bytes` (the generator's current symbol written as
// `form`) against `carried`. Raster forms are decoded from the file itself
// at their own resolution, as written; the vector, metafile, mark-up and
// text-art forms are drawn from the module grid read back out of the file at
// their declared size and `renderDpi`; the terminal renderings from the
// symbol's own grid.
FileGradeResult GradeWrittenFile(const QrGenerator& generator,
                                 std::span<const std::uint8_t> carried, const OutputForm& form,
                                 const Bytes& bytes, const GradeRequest& request = {});

// --- The window's picture ---------------------------------------------------------

// Grades the generator's current symbol as the window saves and copies it:
// enlarged to `pixelsPerModule` pixels per module, with the centre icon.
// nullopt when no reader is available. The symbol is left as it is.
std::optional<ScanGrade> CheckSavedPicture(const QrGenerator& generator,
                                           std::int32_t pixelsPerModule);

// Grades a picture of the generator's symbol whose grid (margins included)
// fills it.
ScanGrade GradePicture(const QrGenerator& generator, std::span<const std::uint8_t> carried,
                       const platform::Bitmap& picture, const std::string& damageCause);
// The same without decoding: the parameters measured against the module
// matrix (contrast, modulation, fixed patterns, axial, grid, unused EC).
std::vector<Parameter> MeasurePicture(const QrGenerator& generator, const platform::Bitmap& picture,
                                      const std::string& damageCause);

}  // namespace qrsmith::verify
