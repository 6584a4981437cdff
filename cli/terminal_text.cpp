#include "cli/terminal_text.h"

#include <unistd.h>

#include <initializer_list>
#include <string_view>

#include "export/terminal_art.h"
#include "export/text_art.h"
#include "platform/codepage.h"

namespace qrsmith::cli {

namespace {

// Every glyph converts to `charset`.
bool Holds(std::string_view charset, std::initializer_list<std::string_view> glyphs) {
  for (std::string_view glyph : glyphs) {
    if (!platform::Utf8ToCodePage(glyph, charset)) return false;
  }
  return true;
}

// Two ASCII columns a module: what every set holds, square on any terminal.
constexpr std::string_view kAsciiLight = "##", kAsciiDark = "  ";
constexpr std::string_view kFullBlock = "\u2588", kIdeographicSpace = "\u3000";

// The terminal form in `charset`: half blocks where the set holds all three
// (GB18030); else one full-width glyph a module, the set's full block and the
// ideographic space, two columns each (GBK, Big5); else ASCII (Shift_JIS,
// EUC-KR). Light modules are drawn, as in the half blocks.
std::string TerminalGlyphs(const QrGenerator& g, std::string_view charset) {
  if (Holds(charset, {"\u2580", "\u2584", kFullBlock})) return RenderHalfBlocks(g);
  if (Holds(charset, {kFullBlock, kIdeographicSpace})) {
    return RenderModuleGlyphs(g, kFullBlock, kIdeographicSpace);
  }
  return RenderModuleGlyphs(g, kAsciiLight, kAsciiDark);
}

// The text art in `charset`: its own glyphs where the set holds them, else
// the black square (which every CJK set holds) for the dark modules, else ASCII.
std::string TextArtGlyphs(const QrGenerator& g, bool circles, std::string_view charset) {
  const std::string_view dark = circles ? "\u25CF" : "\u2587";
  if (Holds(charset, {dark, kIdeographicSpace})) return ExportTextArt(g, circles);
  if (Holds(charset, {"\u25A0", kIdeographicSpace})) {
    return ExportTextArt(g, "\u25A0", kIdeographicSpace);
  }
  return ExportTextArt(g, kAsciiLight, kAsciiDark);
}

}  // namespace

Outcome ShowInLocale(const CliOptions& options, const Symbol& symbol, const OutputForm& form,
                     std::FILE* out, Bytes& bytes) {
  const std::string& charset = platform::LocaleLegacyCharset();
  if (charset.empty() || out == nullptr) return std::nullopt;
  if (form.writer != FormWriter::kTerminal && form.writer != FormWriter::kTextArt) {
    return std::nullopt;
  }
  if (options.output && *options.output != "-") return std::nullopt;
  const bool defaultForm = options.form == nullptr && !options.output;
  if (!defaultForm && !::isatty(::fileno(out))) return std::nullopt;
  const QrGenerator& g = symbol.generator;
  const std::string text = form.writer == FormWriter::kTextArt
                               ? TextArtGlyphs(g, options.circles, charset)
                           : form.kind == 0 ? TerminalGlyphs(g, charset)
                                            : RenderAnsi(g);
  auto converted = platform::Utf8ToCodePage(text, charset);
  if (text.empty() || !converted) {
    return Failure{kExitInputOutput,
                   "cannot write the symbol in the locale's character set " + charset};
  }
  bytes = std::move(*converted);
  return std::nullopt;
}

}  // namespace qrsmith::cli
