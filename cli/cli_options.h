#pragma once
// What one qrsmith command line asks for: the content (text, standard input
// or a payload subcommand), the symbol's options, and where and how to write it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoder/eci.h"
#include "encoder/qr_encoder.h"
#include "export/output_forms.h"
#include "platform/opacity.h"
#include "platform/types.h"
#include "verify/grade.h"

namespace qrsmith::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;        // a bad option or value
inline constexpr int kExitInputOutput = 2;  // content, pictures or files
inline constexpr int kExitVerify = 3;       // the written symbol does not scan back

enum class TextEncoding { kUtf8, kAnsi, kBinary };

// --eci auto: the assignment of the content's encoding, only when it is not ASCII.
inline constexpr std::int32_t kEciAuto = -1;
// --split auto: as many symbols as the content needs.
inline constexpr std::int32_t kSplitAuto = 0;

struct CliOptions {
  // Content: a TEXT argument, "-" or nothing for standard input, or the text
  // a payload subcommand built.
  std::optional<std::string> text;
  std::optional<std::string> payloadCommand;  // "wifi", "vcard", ... when one was given
  bool keepNewline = false;

  std::optional<std::string> output;       // "-" for standard output
  const OutputForm* form = nullptr;        // -t; null: from the output's extension
  std::optional<std::int32_t> moduleSize;  // -s: pixels per module (10 when no size is given)
  std::optional<std::int32_t> width;   // -w / --width: pixels; the height keeps the modules square
  std::optional<std::int32_t> height;  // --height: pixels
  // --module-mm, --dpi and --cmyk: the printed size and the inks.
  PrintSettings print;
  // swiss-qr-bill: the Swiss cross in the print forms, at kSwissSymbolMm.
  bool swissCross = false;
  std::int16_t level = 1;             // L
  bool levelGiven = false;            // -l: with --icon, no level is chosen for it
  std::int16_t version = 0;           // automatic; 1..4 for M1..M4 with Micro QR
  SymbolKind kind = SymbolKind::kQr;  // --micro or -v M1..M4: Micro QR; --rmqr or -v RHxW: rMQR
  std::int16_t rmqrSize = 0;          // -v R7x43..R17x139: the rMQR size number 1..32; 0 automatic
  std::int16_t rmqrHeight = 0;        // --rmqr-height: the smallest rMQR size of this height
  std::optional<std::int16_t> mask;   // 0..7; nullopt: the lowest penalty (--mask auto)
  std::int32_t marginLeft = 4, marginTop = 4, marginRight = 4, marginBottom = 4;
  bool marginsGiven = false;  // Micro QR's quiet zone is 2 modules unless given
  Colour foreground = kBlack;
  Colour background = kWhite;
  Opacity opacity;  // the AA of --foreground and --background RRGGBBAA
  TextEncoding encoding = TextEncoding::kUtf8;
  std::optional<std::string> password;
  std::optional<std::string> iconPath;
  std::optional<std::string> picturePath;
  std::optional<std::int32_t> pictureWidth, pictureHeight;
  std::int32_t offsetX = 0, offsetY = 0;
  bool offsetGiven = false;
  bool noise = false;
  bool circles = false;
  bool svgPath = false;              // --svg-path: SVG as one path (the svg-path form)
  bool pdfx = false;                 // --pdfx: the PDF as PDF/X-4
  std::optional<std::string> title;  // --title: of PDF, PS and EPS files
  bool verify = false;
  bool gradeJson = false;                        // --verify=json, --grade-format json
  verify::Letter minGrade = verify::Letter::kC;  // --min-grade: lower exits 3
  // --verify-dpi: the resolution vector, metafile and mark-up forms are drawn at to be graded.
  std::int32_t verifyDpi = 300;
  std::optional<std::string> batchFile;
  // Header segments and the level boost.
  std::optional<std::int32_t> eci;  // --eci 0..999999 or kEciAuto
  // --encoding NAME of a legacy character set: the content in its bytes,
  // with its ECI assignment (encoding stays kUtf8 for the text's checks).
  const encoder::NamedCharacterSet* characterSet = nullptr;
  std::optional<std::string> gs1;                // --gs1 "(01)...": the content
  std::optional<std::uint8_t> fnc1Application;   // --fnc1-second: the coded indicator
  std::optional<std::int32_t> structuredAppend;  // 2..16 symbols or kSplitAuto
  bool boost = false;
  bool help = false;
  bool version_ = false;
};

inline constexpr std::int32_t kMinVerifyDpi = 72;
inline constexpr std::int32_t kMaxVerifyDpi = 1200;

struct ParseResult {
  std::optional<CliOptions> options;  // set on success
  std::string error;                  // the message (without "qrsmith: ") otherwise
};

// Parses argv[1..]. Payload subcommands build their content here.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

// Parses the options of one batch row (a CSV option column or a line) over `base`.
ParseResult ParseOptionsOver(const CliOptions& base, const std::vector<std::string>& args);

// The long names of every option of the table, aliases included ("fg"):
// what the help, the bash completion and the manual page must all name.
std::vector<std::string> OptionLongNames();

// Whether the option of this long name (or alias) takes a value; nullopt for
// a name the table does not know.
std::optional<bool> OptionTakesValue(std::string_view longName);

// Parses a decimal integer within [low, high]; nullopt for anything else.
std::optional<std::int64_t> ParseInteger(const std::string& text, std::int64_t low,
                                         std::int64_t high);

}  // namespace qrsmith::cli
