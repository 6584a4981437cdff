#pragma once
// Writes the symbol in the form the command line asks for, at the size it
// asks for, after checking that the form can honour every option given; to a
// file (atomically), to standard output, or to the terminal.

#include <cstdio>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "cli/symbol_job.h"

namespace qrsmith::platform {
class FileBatch;
}

namespace qrsmith::cli {

// The output form: -t, else the output file's extension, else the terminal.
const OutputForm* ResolveOutputForm(const CliOptions& options, std::string& error);

// Refuses each option given that `form` cannot honour, naming both; checked
// before anything is read or made.
Outcome RefuseWhatTheFormCannotCarry(const CliOptions& options, const OutputForm& form);

// The printed size and inks `symbol` is written as `form` with: --module-mm,
// --dpi and --cmyk, and for a Swiss QR-bill in a print form that draws its
// cross (not a raster) the module size that prints the symbol, quiet zone
// excluded, kSwissSymbolMm a side when no size (--module-mm, -s, -w,
// --height) is given.
PrintSettings PrintFor(const CliOptions& options, const Symbol& symbol, const OutputForm& form);

// Renders `symbol` as `form` into `bytes`.
Outcome RenderOutput(const CliOptions& options, const Symbol& symbol, const OutputForm& form,
                     Bytes& bytes);

// A batch's place for one row's file: staged there, and put in place when
// the batch commits its chunk.
struct BatchSlot {
  platform::FileBatch* files;
  std::size_t slot;
};

// Writes `bytes` where the options say: the -o file (staged in `staging`
// when given), or `out` for "-" or no -o.
Outcome Deliver(const CliOptions& options, const Bytes& bytes, std::FILE* out,
                const BatchSlot* staging = nullptr);

// "cannot write 'PATH' (a link to 'TARGET'): REASON" for errno `error`.
Failure WriteFailure(const std::string& path, int error);

}  // namespace qrsmith::cli
