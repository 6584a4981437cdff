#include "cli/batch.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "cli/run.h"
#include "cli/symbol_job.h"

namespace qrsmith::cli {

namespace {

// The largest batch file read: a million short lines.
constexpr std::size_t kMaxBatchFileBytes = 256u << 20;

struct Job {
  std::size_t line;
  std::optional<CliOptions> options;  // nullopt: the row itself is malformed
  std::string content;
  std::string error;
};

std::string ReplaceLineNumber(std::string pattern, std::size_t line) {
  const std::string number = std::to_string(line);
  for (std::size_t at = pattern.find("%n"); at != std::string::npos;
       at = pattern.find("%n", at + number.size())) {
    pattern.replace(at, 2, number);
  }
  return pattern;
}

std::vector<Job> LineJobs(const CliOptions& options, const std::string& text, Failure& failure) {
  std::vector<Job> jobs;
  if (!options.output || options.output->find("%n") == std::string::npos) {
    failure = {kExitUsage, "--batch with a plain file needs -o with %n for the line number"};
    return jobs;
  }
  std::size_t line = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string content = text.substr(start, end - start);
    if (!content.empty() && content.back() == '\r') content.pop_back();
    ++line;
    start = end + 1;
    if (content.empty()) continue;  // blank lines make no symbol
    CliOptions rowOptions = options;
    rowOptions.output = ReplaceLineNumber(*options.output, line);
    jobs.push_back({line, rowOptions, std::move(content), {}});
  }
  return jobs;
}

std::vector<Job> CsvJobs(const CliOptions& options, const std::string& text, Failure& failure) {
  std::vector<Job> jobs;
  std::string error;
  const auto rows = ParseCsv(text, error);
  if (!rows || rows->empty()) {
    failure = {kExitInputOutput, rows ? "the batch file has no header row" : error};
    return jobs;
  }
  const std::vector<std::string>& header = rows->front().fields;
  std::optional<std::size_t> outputColumn, textColumn;
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (header[i] == "output") outputColumn = i;
    if (header[i] == "text") textColumn = i;
  }
  if (!outputColumn || !textColumn) {
    failure = {kExitInputOutput, "the batch file's header needs the columns output and text"};
    return jobs;
  }
  for (std::size_t r = 1; r < rows->size(); ++r) {
    const CsvRow& row = (*rows)[r];
    Job job{row.line, std::nullopt, {}, {}};
    if (row.fields.size() != header.size()) {
      job.error = "has " + std::to_string(row.fields.size()) + " fields, the header " +
                  std::to_string(header.size());
      jobs.push_back(std::move(job));
      continue;
    }
    std::vector<std::string> args;
    for (std::size_t i = 0; i < header.size(); ++i) {
      if (i == *outputColumn || i == *textColumn || row.fields[i].empty()) continue;
      // A switch column holds a yes-word; any other holds the option's value.
      const std::string& value = row.fields[i];
      if (value == "yes" || value == "true" || value == "1") {
        args.push_back("--" + header[i]);
        continue;
      }
      args.push_back("--" + header[i] + "=" + value);
    }
    ParseResult parsed = ParseOptionsOver(options, args);
    if (!parsed.options) {
      job.error = parsed.error;
    } else {
      parsed.options->output = row.fields[*outputColumn];
      job.options = std::move(parsed.options);
      job.content = row.fields[*textColumn];
    }
    jobs.push_back(std::move(job));
  }
  return jobs;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::optional<std::vector<CsvRow>> ParseCsv(const std::string& text, std::string& error) {
  std::vector<CsvRow> rows;
  CsvRow row{1, {}};
  std::string field;
  bool quoted = false;
  bool fieldStarted = false;
  std::size_t line = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
      continue;
    }
    if (c == '"' && field.empty()) {
      quoted = fieldStarted = true;
    } else if (c == ',') {
      row.fields.push_back(std::move(field));
      field.clear();
      fieldStarted = true;
    } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      if (c == '\r') ++i;
      if (fieldStarted || !field.empty() || !row.fields.empty()) {
        row.fields.push_back(std::move(field));
        rows.push_back(std::move(row));
      }
      field.clear();
      fieldStarted = false;
      row = CsvRow{++line, {}};
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (quoted) {
    error = "the batch file ends inside a quoted field";
    return std::nullopt;
  }
  if (fieldStarted || !field.empty() || !row.fields.empty()) {
    row.fields.push_back(std::move(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

int RunBatch(const CliOptions& options, std::FILE* err, unsigned threads) {
  std::string text;
  Bytes bytes;
  if (Outcome failed =
          ReadFileBounded(*options.batchFile, kMaxBatchFileBytes, bytes, "batch file")) {
    std::fprintf(err, "qrsmith: %s\n", failed->message.c_str());
    return failed->exitCode;
  }
  text.assign(bytes.begin(), bytes.end());
  Failure failure{kExitOk, {}};
  std::vector<Job> jobs = EndsWith(*options.batchFile, ".csv") ? CsvJobs(options, text, failure)
                                                               : LineJobs(options, text, failure);
  if (failure.exitCode != kExitOk) {
    std::fprintf(err, "qrsmith: %s\n", failure.message.c_str());
    return failure.exitCode;
  }

  std::vector<Outcome> outcomes(jobs.size());
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) {
      const Job& job = jobs[i];
      if (!job.options) {
        outcomes[i] = Failure{kExitInputOutput, job.error};
        continue;
      }
      outcomes[i] = ProduceSymbol(*job.options, job.content, nullptr);
    }
  };
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();

  std::size_t failed = 0;
  bool onlyVerification = true;
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    if (!outcomes[i]) continue;
    ++failed;
    onlyVerification = onlyVerification && outcomes[i]->exitCode == kExitVerify;
    std::fprintf(err, "qrsmith: line %zu: %s\n", jobs[i].line, outcomes[i]->message.c_str());
  }
  std::fprintf(err, "qrsmith: batch: %zu written, %zu failed\n", jobs.size() - failed, failed);
  if (failed == 0) return kExitOk;
  return onlyVerification ? kExitVerify : kExitInputOutput;
}

}  // namespace qrsmith::cli
