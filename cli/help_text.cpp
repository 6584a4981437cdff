#include "cli/help_text.h"

#include <algorithm>

#include "cli/payload_commands.h"

#ifndef QRSMITH_VERSION
#define QRSMITH_VERSION "0.0.0"
#endif

namespace qrsmith::cli {

std::string VersionText() { return std::string("qrsmith ") + QRSMITH_VERSION + "\n"; }

namespace {

// "qrsmith COMMAND --help": the command's flags, one a line, and its rules.
std::string CommandHelpText(const PayloadCommand& command) {
  std::string text = "Usage: qrsmith " + command.name + " FLAGS [OPTIONS]\nMakes a symbol of " +
                     command.summary + ".\nA flag left out is left out of the content.\n\nFlags:\n";
  for (const PayloadFlag& f : command.flags) {
    std::string line = "  --" + f.name;
    if (f.TakesValue()) line += " " + f.value;
    line.resize(std::max<std::size_t>(line.size() + 2, 30), ' ');
    line += f.help;
    if (f.required) line += " (required)";
    if (f.repeatable) line += " (may be given several times)";
    for (const std::string& alias : f.aliases) line += "; also --" + alias;
    text += line + "\n";
  }
  if (!command.notes.empty()) text += "\n" + command.notes + "\n";
  if (!command.standard.empty()) text += "\nStandard: " + command.standard + "\n";
  text += "\nThe symbol and output options of 'qrsmith --help' apply too.\n";
  return text;
}

}  // namespace

std::string HelpText(const std::optional<std::string>& command) {
  if (command) {
    if (const PayloadCommand* c = FindPayloadCommand(*command)) return CommandHelpText(*c);
  }
  std::string text = R"(Usage: qrsmith [OPTIONS] [TEXT]
       qrsmith COMMAND [COMMAND FLAGS] [OPTIONS]
Makes a QR Code symbol of TEXT (or of standard input when TEXT is absent or "-").
Without -o the symbol is printed on the terminal.

Output:
  -o, --output FILE        write to FILE ("-" for standard output)
  -t, --type TYPE          png, jpeg, gif, tiff, bmp, svg, eps, ps, pdf, emf, wmf,
                           html, txt (text art), utf8 or ansi (terminal); default:
                           from FILE's extension
  -s, --size N             pixels per module on both axes of raster, SVG and
                           HTML output (default 10; SVG: one unit per module)
  -w, --width PIXELS       width of raster, SVG and HTML output; the height
                           follows, so that modules stay square
      --height PIXELS      height of that output; the width follows
      --module-mm X        printed module size, 0.05 to 100 mm: raster files get
                           round(X * dpi / 25.4) pixels per module, SVG a size in
                           mm, EPS, PS and PDF points, EMF and WMF their printed
                           size (PDF, EMF and WMF default 0.5 mm)
      --dpi N              resolution written into PNG, JPEG, TIFF and BMP files,
                           1 to 10000 (default 300 with --module-mm); vector forms
                           take it only beside --module-mm, which sizes them
      --cmyk               EPS, PS, PDF and TIFF in CMYK inks; black is pure K
      --pdfx               PDF/X-4 for print shops: the printing condition FOGRA39
                           (with --cmyk) or sRGB, its ICC profile embedded
      --title TEXT         title of PDF, PS and EPS files (default: the first 64
                           characters of the content)
      --circles            text art with circles instead of blocks
      --svg-path           compact SVG: the background as one rectangle and the
                           dark modules as one path (also -t svg-path; .svg files
                           and -t svg are written so; -t svg-rects writes one
                           rectangle per module)
      --verify[=json]      grade the written symbol as readers see it: decode by
                           zxing-cpp and zbar, contrast, modulation, fixed
                           patterns, axial, grid, unused EC; prints the grade
                           line (or JSON) on standard error, exit 3 below
                           --min-grade, nothing written then
      --min-grade A-D|F    the lowest grade --verify accepts (default C)
      --verify-dpi N       the resolution vector, metafile and HTML forms are
                           drawn at to be graded, 72 to 1200 (default 300)
      --grade-format text|json  how --verify prints the grade (default text)
      --batch FILE         one symbol per line of FILE (-o names the files, with %n
                           for the line number), or per row of a CSV file with the
                           columns output,text and any option columns; - reads
                           the lines from standard input

Symbol:
  -l, --level L|M|Q|H      error correction (default L)
  -v, --symversion 1-40|M1-M4|R7x43-R17x139
                           version (default: the smallest that fits); M1-M4
                           make a Micro QR Code, R7x43-R17x139 an rMQR Code
      --micro              Micro QR Code, M1-M4 (quiet zone 2 unless --margin)
      --rmqr               rMQR Code, R7x43-R17x139, levels M (default) and H
                           (quiet zone 2 unless --margin)
      --rmqr-height N      rMQR Code, the smallest of height N (7, 9 .. 17)
      --mask 0-7|auto      mask pattern (default auto: the lowest penalty; Micro
                           QR 0-3, auto the highest edge evaluation)
  -m, --margin N           quiet zone in modules on every side (default 4)
      --margins L,T,R,B    quiet zone per side
      --foreground RRGGBB[AA]
                           colour of dark modules (also --fg; default 000000)
      --background RRGGBB[AA]
                           colour of light modules (also --bg; default FFFFFF);
                           AA is the alpha, 00 clear to FF opaque: png, tiff and
                           svg hold any, gif, eps and ps 00 or FF, pdf a clear
                           background, the others only FF (--background
                           FFFFFF00: clear white, which readers that ignore
                           the alpha still see as white)
      --encoding E         utf8 (default; the input must be valid UTF-8), ansi
                           (the system code page) or binary (bytes as they are);
                           or a character set written with its ECI: iso-8859-1
                           (latin1) .. iso-8859-16, shift_jis, windows-1250,
                           -1251, -1252, -1256, utf-8, us-ascii, big5, gbk, euc-kr
  -8, --8bit               the same as --encoding binary
      --boost              raise the level to the highest that fits the version
                           chosen (off by default: -l is kept as given)
      --eci N|auto         an ECI designator (0-999999) naming the character set;
                           auto: the encoding's (26 for UTF-8) when the content is
                           not ASCII. Default none, which readers without ECI
                           support need; use it for text in other alphabets
      --gs1 DATA           a GS1 symbol of DATA such as "(01)09501101530003(17)
                           260101": AIs, lengths and check digits checked; no TEXT
      --fnc1-second APP    FNC1 in the second position after APP (00-99 or a letter)
      --structured-append N
                           split into N (2-16) symbols of one version and level:
                           -o NAME.EXT writes NAME-1.EXT .. NAME-N.EXT (or %n)
      --split auto         the same with as few symbols as the content needs
      --keep-newline       keep the final newline of standard input (text;
                           binary input keeps every byte)
      --encryption-password TEXT
                           encrypt the content (RC4; "&&&" and hexadecimal); also
                           --password, except after wifi, where --password is the
                           network's password
      --icon FILE          picture drawn at the centre of enlarged raster files
      --picture FILE       background picture of raster files
      --picture-size WxH   size the picture is stretched to
      --offset DX,DY       the symbol's offset from the picture's centre
      --noise              scatter noise cells over the picture

  -h, --help               this help
  -V, --version            the version

Commands ('qrsmith COMMAND --help' shows a command's flags; not with -8):
)";
  for (const PayloadCommand& c : PayloadCommands()) {
    std::string line = "  " + c.name;
    line.resize(20, ' ');
    text += line + c.summary + "\n";
  }
  text += R"(
Encryption: the "&&&" form is RC4 keyed directly by the password, without salt.
It keeps ordinary scanners out, not a determined attacker, and the same
password always gives the same key stream.

Print: qrsmith --module-mm 0.4 --dpi 600 -o label.pdf "TEXT"

Each option is given once.
Exit status: 0 done, 1 usage error, 2 input or output error, 3 failed verification.
)";
  return text;
}

}  // namespace qrsmith::cli
