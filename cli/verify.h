#pragma once
// --verify: reads the written symbol back and decodes it with zxing-cpp, as a
// phone would, and compares what it carries with the content bytes (the scan
// check of verify/scan_check.h).

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "cli/symbol_job.h"
#include "verify/scan_check.h"

namespace qrsmith::cli {

using verify::kMaxVerifyPixels;

// The scan check of the output `bytes` written as `form`; a failed check
// exits with kExitVerify, one that cannot be made with kExitInputOutput.
Outcome VerifyOutput(const Symbol& symbol, const OutputForm& form, const Bytes& bytes,
                     bool onPicture);

}  // namespace qrsmith::cli
