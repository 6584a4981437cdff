#pragma once
// --verify for print: reads back what a written file tells its reader about
// its printed size (a raster file's resolution, a PDF's page, an SVG
// document's millimetres) and the dark modules of a PDF page.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "export/output_forms.h"

namespace qrsmith::cli {

// The dark (1) and light (0) positions of a width x height grid that a PDF
// page of ours fills: the rectangles of its last fill, in module units.
// nullopt when the page holds no such fill or a rectangle leaves the grid.
std::optional<std::vector<std::uint8_t>> PdfDarkGrid(std::string_view pdf, std::int32_t width,
                                                     std::int32_t height);

// Checks that `file`, written as `form` for a gridWidth x gridHeight grid,
// declares the printed size `print` asks for: the resolution and pixels per
// module of a raster file, the page of a PDF, the millimetres of an SVG
// document. Nothing to check without a size.
Outcome VerifyPrintedSize(const PrintSettings& print, const OutputForm& form, const Bytes& file,
                          std::int32_t gridWidth, std::int32_t gridHeight);

}  // namespace qrsmith::cli
