#pragma once
// One symbol of the command-line tool: the content read and prepared as the
// options say (standard input, encoding, encryption), the pictures read, and
// the symbol generated.

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli_failure.h"
#include "cli/cli_options.h"
#include "generator/qr_generator.h"

namespace qrsmith::cli {

// The largest content read from standard input or a file. No QR Code symbol
// holds more than 7089 characters, so this bound only keeps memory in hand.
inline constexpr std::size_t kMaxInputBytes = 1 << 20;
// The UTF-8 byte order mark some editors and spreadsheets put before a text.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The largest icon or background picture file read.
inline constexpr std::size_t kMaxPictureFileBytes = 64u << 20;

// Reads all of `in` (NUL bytes included), at most kMaxInputBytes.
Outcome ReadAll(std::FILE* in, std::string& content);

// Reads a whole file of at most `limit` bytes.
Outcome ReadFileBounded(const std::string& path, std::size_t limit, Bytes& bytes,
                        const std::string& what);

// The content of the command: the TEXT argument, or standard input with one
// final newline dropped unless --keep-newline; binary input (-8) keeps every byte.
Outcome ReadContent(const CliOptions& options, std::FILE* in, std::string& content);

struct Symbol {
  QrGenerator generator;
  Opacity opacity;  // the alpha of the generator's two (opaque) colours
  Bytes carried;    // the bytes the symbol carries, as a reader should read them back
};

// Generates the symbol of `content` with the options' settings.
// `icon`, when given, stands for the --icon file's bytes (a smaller copy).
Outcome MakeSymbol(const CliOptions& options, const std::string& content, Symbol& symbol,
                   const Bytes* icon = nullptr);

// Generates the structured-append sequence of `content` (--structured-append
// or --split): one symbol per part, each carrying its part's bytes. --split
// auto gives a single symbol without a sequence when one holds the content.
// `carried`: the bytes of the whole content, which the parts join to.
Outcome MakeSequence(const CliOptions& options, const std::string& content,
                     std::vector<Symbol>& symbols, Bytes& carried);

// The letter of a generator level, 0 (which encodes as M) included.
std::string LevelName(std::int16_t level);

}  // namespace qrsmith::cli
