// qrsmith: makes QR Code symbols from the command line.

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/run.h"
#include "platform/codepage.h"
#include "platform/staged_names.h"

namespace {

// Says, as an interrupt ends the tool, how many files were finished: those
// are whole; every file in progress was removed.
void ReportInterrupt(int signal, std::size_t finished) {
  if (!qrsmith::cli::BatchStarted()) return;
  std::fprintf(stderr, "qrsmith: stopped by signal %d: %zu %s finished, nothing else left\n",
               signal, finished, finished == 1 ? "file" : "files");
}

// The arguments as UTF-8 text. In a locale of a legacy multibyte character
// set (zh_CN.GBK, ja_JP.SJIS) the shell hands them over in that set, so each
// is converted from it; one that does not convert is kept as given (and then
// refused as text, or taken as bytes with --encoding binary).
std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string charset;
  if (const locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr))) {
    charset = nl_langinfo_l(CODESET, user);
    freelocale(user);
  }
  std::string upper = charset;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper.empty() || qrsmith::platform::CodePageForLocaleCharset(upper) != upper) {
    return args;  // UTF-8, ASCII or a single-byte set: taken as UTF-8, as always
  }
  for (std::string& arg : args) {
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(arg.data()), arg.size());
    if (auto text = qrsmith::platform::CodePageToUtf8(bytes, charset)) arg = std::move(*text);
  }
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  // Beyond a file size limit (ulimit -f), a write must fail with EFBIG rather
  // than end the process: only then is the temporary file of an atomic write
  // removed and the failure reported.
  std::signal(SIGXFSZ, SIG_IGN);
  qrsmith::platform::RemoveStagedNamesOnInterrupt(ReportInterrupt);
  const std::vector<std::string> args = ArgumentsAsUtf8(argc, argv);
  return qrsmith::cli::RunQrsmith(args, stdin, stdout, stderr);
}
