#include "cli/sequence_output.h"

#include <unistd.h>

#include "cli/output_writer.h"
#include "cli/print_read_back.h"
#include "cli/symbol_job.h"
#include "cli/terminal_text.h"
#include "cli/verify.h"

namespace qrsmith::cli {

std::string SequencePartName(const std::string& output, std::size_t position) {
  const std::string number = std::to_string(position);
  std::string name = output;
  if (name.find("%n") != std::string::npos) {
    for (std::size_t at = name.find("%n"); at != std::string::npos;
         at = name.find("%n", at + number.size())) {
      name.replace(at, 2, number);
    }
    return name;
  }
  // "label.png" -> "label-1.png"; a name without an extension gets "-1" at its end.
  const std::size_t slash = name.find_last_of('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = name.find_last_of('.');
  const std::size_t at = dot != std::string::npos && dot > base ? dot : name.size();
  return name.insert(at, "-" + number);
}

Outcome ProduceSequence(const CliOptions& options, const std::string& content, std::FILE* out,
                        std::FILE* err) {
  std::string error;
  const OutputForm* form = ResolveOutputForm(options, error);
  if (form == nullptr) return Failure{kExitUsage, error};
  if (Outcome refused = RefuseWhatTheFormCannotCarry(options, *form)) return refused;
  std::vector<Symbol> symbols;
  Bytes whole;
  if (Outcome failed = MakeSequence(options, content, symbols, whole)) return failed;
  const bool toTerminal = !options.output || *options.output == "-";
  if (symbols.size() > 1 && options.output && *options.output == "-") {
    return Failure{kExitUsage, "a sequence of " + std::to_string(symbols.size()) +
                                   " symbols needs -o NAME (or none, for the terminal)"};
  }
  if (toTerminal && form->IsRaster() && ::isatty(::fileno(out))) {
    return Failure{kExitUsage, "not writing a picture to the terminal; use -o FILE or -o -"};
  }

  std::vector<Bytes> files(symbols.size());
  std::string reports;  // each symbol's grade line, written once all are delivered
  Bytes joined;
  for (std::size_t k = 0; k < symbols.size(); ++k) {
    const Symbol& symbol = symbols[k];
    if (Outcome failed = RenderOutput(options, symbol, *form, files[k])) return failed;
    if (options.verify) {
      // Each file must read back as exactly its part; the parts then join.
      std::string report;
      if (Outcome failed = VerifyOutput(options, symbol, *form, files[k], report)) {
        failed->message = "symbol " + std::to_string(k + 1) + ": " + failed->message;
        return failed;
      }
      reports += report + "\n";
      if (Outcome failed =
              VerifyPrintedSize(PrintFor(options, symbol, *form), *form, files[k],
                                symbol.generator.SymbolWidth(), symbol.generator.SymbolHeight()))
        return failed;
      joined.insert(joined.end(), symbol.carried.begin(), symbol.carried.end());
    }
  }
  if (options.verify && joined != whole) {
    return Failure{kExitVerify, "the symbols' parts do not join to the content"};
  }
  for (std::size_t k = 0; k < symbols.size(); ++k) {
    CliOptions part = options;
    // One symbol keeps the -o name as given, unless "%n" asks for its number.
    if (!toTerminal && (symbols.size() > 1 || options.output->find("%n") != std::string::npos)) {
      part.output = SequencePartName(*options.output, k + 1);
    }
    if (Outcome failed = ShowInLocale(options, symbols[k], *form, out, files[k])) return failed;
    if (Outcome failed = Deliver(part, files[k], out)) return failed;
  }
  std::fputs(reports.c_str(), err);
  if (options.verify && symbols.size() > 1) {
    std::fprintf(err, "qrsmith: verified: the %zu symbols read back and join to the content\n",
                 symbols.size());
  }
  return std::nullopt;
}

}  // namespace qrsmith::cli
