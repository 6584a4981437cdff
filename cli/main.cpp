// qrsmith: makes QR Code symbols from the command line.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
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
  const std::string& charset = qrsmith::platform::LocaleLegacyCharset();
  if (charset.empty()) return args;  // UTF-8, ASCII or a single-byte set: taken as UTF-8
  for (std::string& arg : args) {
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(arg.data()), arg.size());
    if (auto text = qrsmith::platform::CodePageToUtf8(bytes, charset)) arg = std::move(*text);
  }
  return args;
}

// Standard error in a legacy locale: the messages, UTF-8 inside the tool
// (and quoting the user's text), reach the terminal in the locale's set. A
// character split across two writes waits for its end.
struct LocaleMessages {
  std::string charset;
  std::string pending;
};

// The bytes at the end of `text` that begin a UTF-8 character not yet complete.
std::size_t IncompleteTail(const std::string& text) {
  for (std::size_t back = 1; back <= std::min<std::size_t>(3, text.size()); ++back) {
    const auto c = static_cast<unsigned char>(text[text.size() - back]);
    if ((c & 0xC0) == 0x80) continue;
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

bool WriteAll(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

ssize_t WriteMessages(void* cookie, const char* data, std::size_t size) {
  auto* messages = static_cast<LocaleMessages*>(cookie);
  messages->pending.append(data, size);
  const std::size_t whole = messages->pending.size() - IncompleteTail(messages->pending);
  const std::string shown = qrsmith::platform::Utf8ToShownText(
      std::string_view(messages->pending).substr(0, whole), messages->charset);
  messages->pending.erase(0, whole);
  return WriteAll(STDERR_FILENO, shown) ? static_cast<ssize_t>(size) : -1;
}

int CloseMessages(void* cookie) {
  auto* messages = static_cast<LocaleMessages*>(cookie);
  const bool written = WriteAll(
      STDERR_FILENO, qrsmith::platform::Utf8ToShownText(messages->pending, messages->charset));
  delete messages;
  return written ? 0 : EOF;
}

// Where the messages go: standard error itself, or in a legacy locale a
// stream that converts them to the locale's set.
std::FILE* MessageStream() {
  const std::string& charset = qrsmith::platform::LocaleLegacyCharset();
  if (charset.empty()) return stderr;
  auto* messages = new LocaleMessages{charset, {}};
  std::FILE* stream = fopencookie(messages, "w", {nullptr, WriteMessages, nullptr, CloseMessages});
  if (stream == nullptr) {
    delete messages;
    return stderr;
  }
  std::setvbuf(stream, nullptr, _IOLBF, BUFSIZ);
  return stream;
}

}  // namespace

int main(int argc, char** argv) {
  // Beyond a file size limit (ulimit -f), a write must fail with EFBIG rather
  // than end the process: only then is the temporary file of an atomic write
  // removed and the failure reported.
  std::signal(SIGXFSZ, SIG_IGN);
  qrsmith::platform::RemoveStagedNamesOnInterrupt(ReportInterrupt);
  const std::vector<std::string> args = ArgumentsAsUtf8(argc, argv);
  std::FILE* messages = MessageStream();
  const int status = qrsmith::cli::RunQrsmith(args, stdin, stdout, messages);
  if (messages != stderr) std::fclose(messages);
  return status;
}
