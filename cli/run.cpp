#include "cli/run.h"

#include <unistd.h>

#include "cli/batch.h"
#include "cli/help_text.h"
#include "cli/output_writer.h"
#include "cli/print_read_back.h"
#include "cli/symbol_job.h"
#include "cli/verify.h"
#include "platform/codepage.h"

namespace qrsmith::cli {

Outcome ProduceSymbol(const CliOptions& options, const std::string& content, std::FILE* out,
                      const BatchSlot* staging) {
  std::string error;
  const OutputForm* form = ResolveOutputForm(options, error);
  if (form == nullptr) return Failure{kExitUsage, error};
  if (Outcome refused = RefuseWhatTheFormCannotCarry(options, *form)) return refused;
  Symbol symbol;
  if (Outcome failed = MakeSymbol(options, content, symbol)) return failed;
  Bytes bytes;
  if (Outcome failed = RenderOutput(options, symbol, *form, bytes)) return failed;
  // Verify before writing: nothing is written for a symbol that does not scan.
  if (options.verify) {
    if (Outcome failed = VerifyOutput(symbol, *form, bytes, options.picturePath.has_value()))
      return failed;
    if (Outcome failed =
            VerifyPrintedSize(options.print, *form, bytes, symbol.generator.SymbolWidth(),
                              symbol.generator.SymbolHeight()))
      return failed;
  }
  const bool toTerminal = !options.output || *options.output == "-";
  if (toTerminal && out != nullptr && form->IsRaster() && ::isatty(::fileno(out))) {
    return Failure{kExitUsage, "not writing a picture to the terminal; use -o FILE or -o -"};
  }
  return Deliver(options, bytes, out, staging);
}

int RunQrsmith(const std::vector<std::string>& args, std::FILE* in, std::FILE* out,
               std::FILE* err) {
  // The code page is settled once, here, before a batch starts its workers.
  platform::SystemCodePage();
  const ParseResult parsed = ParseCommandLine(args);
  if (!parsed.options) {
    std::fprintf(err, "qrsmith: %s\nTry 'qrsmith --help'.\n", parsed.error.c_str());
    return kExitUsage;
  }
  const CliOptions& options = *parsed.options;
  if (options.help || options.version_) {
    const std::string text = options.help ? HelpText(options.payloadCommand) : VersionText();
    if (std::fputs(text.c_str(), out) < 0 || std::fflush(out) != 0) {
      std::fprintf(err, "qrsmith: cannot write to standard output\n");
      return kExitInputOutput;
    }
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
