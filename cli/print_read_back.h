#pragma once
// --verify for print: reads back what a written file tells its reader about
// its printed size (a raster file's resolution, a PDF's page, an SVG
// document's millimetres).

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "export/output_forms.h"

namespace qrsmith::cli {

// Checks that `file`, written as `form` for a gridWidth x gridHeight grid,
// declares the printed size `print` asks for: the resolution and pixels per
// module of a raster file, the page of a PDF, the millimetres of an SVG
// document. Nothing to check without a size.
Outcome VerifyPrintedSize(const PrintSettings& print, const OutputForm& form, const Bytes& file,
                          std::int32_t gridWidth, std::int32_t gridHeight);

}  // namespace qrsmith::cli
