#include "cli/run.h"

#include <unistd.h>

#include "cli/batch.h"
#include "cli/help_text.h"
#include "cli/output_writer.h"
#include "cli/symbol_job.h"
#include "cli/verify.h"

namespace qrsmith::cli {

Outcome ProduceSymbol(const CliOptions& options, const std::string& content, std::FILE* out) {
  std::string error;
  const auto type = ResolveOutputType(options, error);
  if (!type) return Failure{kExitUsage, error};
  Symbol symbol;
  if (Outcome failed = MakeSymbol(options, content, symbol)) return failed;
  Bytes bytes;
  if (Outcome failed = RenderOutput(options, symbol, *type, bytes)) return failed;
  // Verify before writing: nothing is written for a symbol that does not scan.
  if (options.verify) {
    if (Outcome failed = VerifyOutput(symbol, *type, bytes)) return failed;
  }
  const bool toTerminal = !options.output || *options.output == "-";
  if (toTerminal && out != nullptr && IsRasterType(*type) && ::isatty(::fileno(out))) {
    return Failure{kExitUsage, "not writing a picture to the terminal; use -o FILE or -o -"};
  }
  return Deliver(options, bytes, out);
}

int RunQrsmith(const std::vector<std::string>& args, std::FILE* in, std::FILE* out,
               std::FILE* err) {
  const ParseResult parsed = ParseCommandLine(args);
  if (!parsed.options) {
    std::fprintf(err, "qrsmith: %s\nTry 'qrsmith --help'.\n", parsed.error.c_str());
    return kExitUsage;
  }
  const CliOptions& options = *parsed.options;
  if (options.help) {
    std::fputs(HelpText(options.payloadCommand).c_str(), out);
    return kExitOk;
  }
  if (options.version_) {
    std::fputs(VersionText().c_str(), out);
    return kExitOk;
  }
  if (options.batchFile) return RunBatch(options, err);

  std::string content;
  Outcome failed = ReadContent(options, in, content);
  if (!failed) failed = ProduceSymbol(options, content, out);
  if (failed) {
    std::fprintf(err, "qrsmith: %s\n", failed->message.c_str());
    return failed->exitCode;
  }
  if (options.verify)
    std::fprintf(err, "qrsmith: verified: the symbol reads back as its content\n");
  return kExitOk;
}

}  // namespace qrsmith::cli
