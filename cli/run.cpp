#include "cli/run.h"

#include <unistd.h>

#include <algorithm>

#include "cli/batch.h"
#include "cli/help_text.h"
#include "cli/output_writer.h"
#include "cli/print_read_back.h"
#include "cli/sequence_output.h"
#include "cli/symbol_job.h"
#include "cli/terminal_text.h"
#include "cli/verify.h"
#include "platform/codepage.h"

namespace qrsmith::cli {

Outcome ProduceSymbol(const CliOptions& options, const std::string& content, std::FILE* out,
                      const BatchSlot* staging, std::string* gradeReport) {
  if (options.structuredAppend) {
    return Failure{kExitUsage,
                   "--structured-append and --split make several files: not in a batch"};
  }
  std::string error;
  const OutputForm* form = ResolveOutputForm(options, error);
  if (form == nullptr) return Failure{kExitUsage, error};
  if (Outcome refused = RefuseWhatTheFormCannotCarry(options, *form)) return refused;
  // The grade reads the symbol back with zxing-cpp and zbar, and neither reads
  // rMQR: a grade would report a sound symbol as unreadable.
  if (options.verify && options.kind == SymbolKind::kRmqr) {
    return Failure{kExitUsage, "--verify cannot grade rMQR: zxing-cpp and zbar do not read it"};
  }
  Symbol symbol;
  Bytes bytes;
  if (options.iconPath && form->IsRaster() && !options.picturePath) {
    if (Outcome failed = MakeSymbolKeepingIconReadable(options, content, *form, symbol, bytes))
      return failed;
    const QrGenerator& g = symbol.generator;
    if (gradeReport != nullptr && !options.gradeJson &&
        (g.Level() != options.level || g.Version() != options.version)) {
      *gradeReport = "level " + LevelName(g.Level()) +
                     (g.Version() != options.version ? ", version " + std::to_string(g.Version())
                                                     : std::string()) +
                     " chosen, so that the icon leaves unused EC at B";
    }
  } else {
    if (Outcome failed = MakeSymbol(options, content, symbol)) return failed;
    if (Outcome failed = RenderOutput(options, symbol, *form, bytes)) return failed;
  }
  // Grade before writing: nothing is written below the minimum grade.
  if (options.verify) {
    std::string report;
    Outcome failed = VerifyOutput(options, symbol, *form, bytes, report);
    if (gradeReport != nullptr) {
      *gradeReport += (gradeReport->empty() ? "" : "\n") + report;
    }
    if (failed) return failed;
    if (Outcome failed =
            VerifyPrintedSize(PrintFor(options, symbol, *form), *form, bytes,
                              symbol.generator.SymbolWidth(), symbol.generator.SymbolHeight()))
      return failed;
  }
  const bool toTerminal = !options.output || *options.output == "-";
  if (toTerminal && out != nullptr && form->IsRaster() && ::isatty(::fileno(out))) {
    return Failure{kExitUsage, "not writing a picture to the terminal; use -o FILE or -o -"};
  }
  if (Outcome failed = ShowInLocale(options, symbol, *form, out, bytes)) return failed;
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

  std::string content, gradeReport;
  Outcome failed = ReadContent(options, in, content);
  if (!failed) {
    failed = options.structuredAppend ? ProduceSequence(options, content, out, err)
                                      : ProduceSymbol(options, content, out, nullptr, &gradeReport);
  }
  // The grade goes to standard error, which the symbol itself never uses.
  // The grade line and its JSON as they are, notes after "qrsmith: ".
  for (std::size_t at = 0; at < gradeReport.size();) {
    const std::size_t end = std::min(gradeReport.find('\n', at), gradeReport.size());
    const std::string line = gradeReport.substr(at, end - at);
    const bool grade = line.rfind("grade ", 0) == 0 || line.rfind('{', 0) == 0;
    std::fprintf(err, "%s%s\n", grade ? "" : "qrsmith: ", line.c_str());
    at = end + 1;
  }
  if (failed) {
    std::fprintf(err, "qrsmith: %s\n", failed->message.c_str());
    return failed->exitCode;
  }
  return kExitOk;
}

}  // namespace qrsmith::cli
