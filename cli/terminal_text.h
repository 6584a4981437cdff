#pragma once
// The symbol as text for a person, in a legacy locale (zh_CN.GBK, ja_JP.SJIS):
// drawn with glyphs the locale's character set holds and converted to it.

#include <cstdio>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "cli/symbol_job.h"

namespace qrsmith::cli {

// In a legacy locale, redraws `bytes` (the text or terminal form just
// rendered, UTF-8) in the locale's character set when it is shown to a
// person: written to standard output without -t and without -o, or written
// there to a terminal. Written to a file or a pipe on request, a form keeps
// its UTF-8 bytes. Anything else is left as it is.
Outcome ShowInLocale(const CliOptions& options, const Symbol& symbol, const OutputForm& form,
                     std::FILE* out, Bytes& bytes);

}  // namespace qrsmith::cli
