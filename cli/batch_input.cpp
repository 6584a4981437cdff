#include "cli/batch_input.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "cli/symbol_job.h"

namespace qrsmith::cli {

namespace {

// A row longer than any content a symbol holds is refused, which also keeps
// the memory of one row bounded.
constexpr std::size_t kMaxRowBytes = kMaxInputBytes;

std::string TooLong() {
  return "the row is longer than " + std::to_string(kMaxRowBytes) +
         " bytes; no symbol holds that much";
}

std::string ReplaceLineNumber(std::string pattern, std::size_t line) {
  const std::string number = std::to_string(line);
  for (std::size_t at = pattern.find("%n"); at != std::string::npos;
       at = pattern.find("%n", at + number.size())) {
    pattern.replace(at, 2, number);
  }
  return pattern;
}

// Whether the file name ends in ".csv", in any case ("R4.CSV"), as output
// forms are told by their extensions.
bool IsCsvName(const std::string& path) {
  static constexpr std::string_view kCsv = ".csv";
  if (path.size() < kCsv.size()) return false;
  for (std::size_t i = 0; i < kCsv.size(); ++i) {
    const char c = path[path.size() - kCsv.size() + i];
    if (static_cast<char>(std::tolower(static_cast<unsigned char>(c))) != kCsv[i]) return false;
  }
  return true;
}

// The command-line argument of one option cell: a value column gives
// "--name=value" whatever the value reads like; a switch column is on for
// yes, true or 1 and off for no, false or 0. Unknown names go on to the
// parser, which names them.
std::optional<std::string> CellArgument(const std::string& name, const std::string& value,
                                        std::string& error) {
  if (OptionTakesValue(name).value_or(true)) return "--" + name + "=" + value;
  if (value == "yes" || value == "true" || value == "1") return "--" + name;
  if (value == "no" || value == "false" || value == "0") return std::nullopt;
  error = "the column " + name +
          " is a switch: yes, true or 1 turn it on, no, false or 0 off, not '" + value + "'";
  return std::nullopt;
}

// One CSV record: its fields, or why it is unusable.
struct Record {
  std::size_t line = 0;
  std::vector<std::string> fields;
  bool tooLong = false;
  bool unterminated = false;  // the file ends inside a quoted field
};

}  // namespace

// The batch file through a buffer of its own, a byte at a time.
struct BatchInput::Reader {
  std::FILE* file;
  std::string path;
  char buffer[1 << 16];
  std::size_t at = 0, size = 0;
  std::size_t line = 1;  // of the next byte
  bool failed = false;
  bool standardInput = false;

  // Skips the UTF-8 byte order mark that spreadsheets write before a CSV.
  void SkipByteOrderMark() {
    if (Peek() == EOF || size - at < kByteOrderMark.size()) return;
    if (std::string_view(buffer + at, kByteOrderMark.size()) == kByteOrderMark) {
      at += kByteOrderMark.size();
    }
  }

  int Peek() {
    if (at == size) {
      at = 0;
      size = std::fread(buffer, 1, sizeof buffer, file);
      if (size == 0) {
        failed = std::ferror(file) != 0;
        return EOF;
      }
    }
    return static_cast<unsigned char>(buffer[at]);
  }
  int Get() {
    const int c = Peek();
    if (c != EOF) ++at;
    if (c == '\n') ++line;
    return c;
  }

  // The bytes up to the next LF (dropped) or the end; false at the end.
  // Bytes past kMaxRowBytes are skipped, and `tooLong` tells.
  bool ReadLine(std::string& text, bool& tooLong) {
    text.clear();
    tooLong = false;
    int c = Peek();
    if (c == EOF) return false;
    while ((c = Get()) != EOF && c != '\n') {
      if (text.size() < kMaxRowBytes) {
        text += static_cast<char>(c);
      } else {
        tooLong = true;
      }
    }
    return true;
  }

  // The next non-blank record; false at the end.
  bool ReadRecord(Record& record) {
    record = Record{line, {}, false, false};
    std::string field;
    std::size_t bytes = 0;
    bool quoted = false, fieldStarted = false;
    auto keep = [&](char c) {
      if (++bytes > kMaxRowBytes) {
        record.tooLong = true;
      } else {
        field += c;
      }
    };
    for (int c = Get();; c = Get()) {
      if (c == EOF) {
        record.unterminated = quoted;
        if (quoted || fieldStarted || !field.empty() || !record.fields.empty()) {
          record.fields.push_back(std::move(field));
          return true;
        }
        return false;
      }
      if (quoted) {
        if (c == '"' && Peek() == '"') {
          Get();
          keep('"');
        } else if (c == '"') {
          quoted = false;
        } else {
          keep(static_cast<char>(c));
        }
        continue;
      }
      if (c == '"' && field.empty()) {
        quoted = fieldStarted = true;
      } else if (c == ',') {
        record.fields.push_back(std::move(field));
        field.clear();
        fieldStarted = true;
      } else if (c == '\n' || (c == '\r' && Peek() == '\n')) {
        if (c == '\r') Get();
        if (fieldStarted || !field.empty() || !record.fields.empty()) {
          record.fields.push_back(std::move(field));
          return true;
        }
        record.line = line;  // a blank line: the record starts on the next
      } else {
        keep(static_cast<char>(c));
        fieldStarted = true;
      }
    }
  }
};

BatchInput::BatchInput(const CliOptions& options, std::unique_ptr<Reader> reader, bool csv)
    : options_(options), reader_(std::move(reader)), csv_(csv) {}

BatchInput::~BatchInput() {
  if (!reader_->standardInput) std::fclose(reader_->file);
}

std::unique_ptr<BatchInput> BatchInput::Open(const CliOptions& options, Failure& failure) {
  const std::string& path = *options.batchFile;
  const bool csv = IsCsvName(path);
  if (!csv && (!options.output || options.output->find("%n") == std::string::npos)) {
    failure = {kExitUsage, "--batch with a plain file needs -o with %n for the line number"};
    return nullptr;
  }
  const bool standardInput = path == "-";
  std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    failure = {kExitInputOutput, "cannot read batch file '" + path + "': " + std::strerror(errno)};
    return nullptr;
  }
  auto reader = std::make_unique<Reader>();
  reader->file = file;
  reader->path = standardInput ? "standard input" : path;
  reader->standardInput = standardInput;
  reader->SkipByteOrderMark();
  std::unique_ptr<BatchInput> input(new BatchInput(options, std::move(reader), csv));
  if (!csv) return input;

  Record header;
  if (!input->reader_->ReadRecord(header) || header.unterminated || header.tooLong) {
    failure = {kExitInputOutput, header.unterminated ? "the batch file ends inside a quoted field"
                                 : header.tooLong    ? "the batch file's header is too long"
                                                     : "the batch file has no header row"};
    if (const auto error = input->ReadError()) failure.message = *error;
    return nullptr;
  }
  std::optional<std::size_t> outputColumn, textColumn;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    if (header.fields[i] == "output") outputColumn = i;
    if (header.fields[i] == "text") textColumn = i;
  }
  if (!outputColumn || !textColumn) {
    failure = {kExitInputOutput, "the batch file's header needs the columns output and text"};
    return nullptr;
  }
  input->header_ = std::move(header.fields);
  input->outputColumn_ = *outputColumn;
  input->textColumn_ = *textColumn;
  return input;
}

std::optional<std::string> BatchInput::ReadError() const {
  if (!reader_->failed) return std::nullopt;
  if (reader_->standardInput) return "cannot read the batch from standard input";
  return "cannot read batch file '" + reader_->path + "': read error";
}

bool BatchInput::Next(BatchJob& job) { return csv_ ? NextRecord(job) : NextLine(job); }

bool BatchInput::NextLine(BatchJob& job) {
  std::string content;
  bool tooLong = false;
  while (true) {
    const std::size_t line = reader_->line;
    if (!reader_->ReadLine(content, tooLong)) return false;
    if (!content.empty() && content.back() == '\r') content.pop_back();
    if (content.empty() && !tooLong) continue;  // blank lines make no symbol
    job = BatchJob{line, std::nullopt, {}, {}};
    if (tooLong) {
      job.error = TooLong();
      return true;
    }
    job.options = options_;
    job.options->output = ReplaceLineNumber(*options_.output, line);
    job.content = std::move(content);
    return true;
  }
}

bool BatchInput::NextRecord(BatchJob& job) {
  Record record;
  if (!reader_->ReadRecord(record)) return false;
  job = BatchJob{record.line, std::nullopt, {}, {}};
  if (record.unterminated) {
    job.error = "the batch file ends inside a quoted field";
    return true;
  }
  if (record.tooLong) {
    job.error = TooLong();
    return true;
  }
  if (record.fields.size() != header_.size()) {
    job.error = "has " + std::to_string(record.fields.size()) + " fields, the header " +
                std::to_string(header_.size());
    return true;
  }
  std::vector<std::string> args;
  for (std::size_t i = 0; i < header_.size(); ++i) {
    if (i == outputColumn_ || i == textColumn_ || record.fields[i].empty()) continue;
    std::string error;
    auto arg = CellArgument(header_[i], record.fields[i], error);
    if (!error.empty()) {
      job.error = error;
      return true;
    }
    if (arg) args.push_back(std::move(*arg));
  }
  ParseResult parsed = ParseOptionsOver(options_, args);
  if (!parsed.options) {
    job.error = parsed.error;
    return true;
  }
  parsed.options->output = record.fields[outputColumn_];
  job.options = std::move(parsed.options);
  job.content = std::move(record.fields[textColumn_]);
  return true;
}

}  // namespace qrsmith::cli
