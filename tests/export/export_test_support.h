#pragma once
// What the export tests share: symbols to export, a scratch folder, running
// the real readers of each form (Ghostscript, librsvg, libwmf, emf2svg,
// Chromium) without a shell, and checking their renderings module by module.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "export/module_grid.h"
#include "generator/qr_generator.h"
#include "platform/bitmap.h"
#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

namespace qrsmith::testing {

// A generator holding the symbol of `content` (version 0: automatic).
QrGenerator MakeSymbol(const std::string& content, std::int16_t version = 0,
                       Colour foreground = kBlack, Colour background = kWhite,
                       std::int32_t margin = 1);

// A hand-made grid; `rows` are strings of '#' (dark) and '.' (light).
ModuleGrid GridFromRows(const std::vector<std::string>& rows, Colour foreground = kBlack,
                        Colour background = kWhite);

// Ghostscript's command that renders `in` onto a page of width x height
// points at `pixelsPerPoint` pixels per point, as a PNG at `out`; `before`
// runs first (PostScript given with -c, e.g. to paint the page).
std::vector<std::string> GhostscriptPage(const std::filesystem::path& in,
                                         const std::filesystem::path& out, std::int32_t width,
                                         std::int32_t height, int pixelsPerPoint,
                                         const std::string& before = {});

bool HaveProgram(const std::string& name);
// Runs argv[0] (looked up on PATH) with its output discarded; true on exit status 0.
bool RunProgram(const std::vector<std::string>& argv);

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
// A PNG (or any picture the codecs read) from a file.
std::optional<platform::Bitmap> ReadPicture(const std::filesystem::path& path);

// Where a rendering shows the grid: module (r, c) covers the square of side
// `modulePixels` whose top-left corner is (originX + (c - 1) x side,
// originY + (r - 1) x side); `bottomUp` puts row 1 at the bottom instead.
struct Placement {
  double modulePixels = 1;
  double originX = 0;
  double originY = 0;
  bool bottomUp = false;
};

// The positions whose centre pixel is not within a small tolerance of the
// colour the grid gives them, as "r,c" texts (empty: the rendering matches).
std::vector<std::string> MismatchedModules(const platform::Bitmap& picture, const ModuleGrid& grid,
                                           const Placement& placement);

// The pixels that differ by more than a small tolerance, counting every
// pixel of either picture that the other lacks (so a size mismatch counts).
std::size_t DifferingPixels(const platform::Bitmap& a, const platform::Bitmap& b);

// The pixels lying wholly inside a dark module (modules `modulePixels` wide
// from the top-left corner) that are not dark: the seams of a renderer that
// anti-aliases the edges of neighbouring elements.
std::size_t LightPixelsInsideDarkModules(const platform::Bitmap& picture, const ModuleGrid& grid,
                                         double modulePixels);

}  // namespace qrsmith::testing
