#include "cli/batch.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "cli/batch_input.h"
#include "cli/run.h"
#include "platform/file_batch.h"

namespace qrsmith::cli {

namespace {

// Rows made and committed together: enough that one sync serves thousands
// of files, few enough that the open files and the rows' options stay small.
constexpr std::size_t kChunkRows = 4096;

struct Tally {
  std::size_t written = 0, failed = 0;
  std::size_t belowMinimum = 0;  // rows graded below --min-grade
  std::size_t replaced = 0;  // written, then replaced by a later row naming the same file
  bool onlyVerification = true;
  // The last row that wrote each file, by a hash of its name.
  std::unordered_map<std::size_t, std::size_t> lineOfOutput;
};

// Files remembered for the check of two rows naming one file: the memory of
// a batch stays bounded (some 10 MB), and rows naming one file within this
// many others are caught.
constexpr std::size_t kRememberedOutputs = std::size_t{1} << 18;

// Two rows naming one file: the later row's symbol is the one kept, which a
// warning names. Rows written to a descriptor or a device are all kept.
void NoteOutput(const BatchJob& job, std::FILE* err, Tally& tally) {
  const std::string& output = *job.options->output;
  if (std::string_view(output).starts_with("/dev/") || output.starts_with("/proc/")) return;
  if (tally.lineOfOutput.size() == kRememberedOutputs) tally.lineOfOutput.clear();
  const auto [it, first] =
      tally.lineOfOutput.try_emplace(std::hash<std::string>{}(output), job.line);
  if (first) return;
  std::fprintf(err, "qrsmith: line %zu: '%s' replaces the file of line %zu, which named it too\n",
               job.line, output.c_str(), it->second);
  it->second = job.line;
  ++tally.replaced;
}

// Makes the symbols of jobs[0, count) on `threads` threads, staging their files in `files`.
void MakeChunk(const std::vector<BatchJob>& jobs, std::size_t count, unsigned threads,
               platform::FileBatch& files, std::vector<Outcome>& outcomes,
               std::vector<std::string>& grades) {
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t i = next++; i < count; i = next++) {
      const BatchJob& job = jobs[i];
      if (!job.options) {
        outcomes[i] = Failure{kExitInputOutput, job.error};
        continue;
      }
      const BatchSlot slot{&files, i};
      grades[i].clear();
      outcomes[i] = ProduceSymbol(*job.options, job.content, nullptr, &slot, &grades[i]);
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads && t < count; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
}

// Puts the chunk's files in place and reports its failures in line order.
void CommitChunk(const std::vector<BatchJob>& jobs, std::size_t count, platform::FileBatch& files,
                 std::vector<Outcome>& outcomes, const std::vector<std::string>& grades,
                 std::FILE* err, Tally& tally) {
  const std::vector<int> errors = files.Commit();
  for (std::size_t i = 0; i < count; ++i) {
    // Each graded row's grade, on one line (a JSON object stays one line).
    if (!grades[i].empty()) {
      std::string grade = grades[i];
      for (std::size_t at; (at = grade.find('\n')) != std::string::npos;)
        grade.replace(at, 1, "; ");
      std::fprintf(err, "qrsmith: line %zu: %s\n", jobs[i].line, grade.c_str());
      if (outcomes[i] && outcomes[i]->exitCode == kExitVerify) ++tally.belowMinimum;
    }
    if (!outcomes[i] && errors[i] != 0)
      outcomes[i] = WriteFailure(*jobs[i].options->output, errors[i]);
    if (!outcomes[i]) {
      ++tally.written;
      NoteOutput(jobs[i], err, tally);
      continue;
    }
    ++tally.failed;
    tally.onlyVerification = tally.onlyVerification && outcomes[i]->exitCode == kExitVerify;
    std::fprintf(err, "qrsmith: line %zu: %s\n", jobs[i].line, outcomes[i]->message.c_str());
    outcomes[i].reset();
  }
}

std::atomic<bool> batchStarted{false};

}  // namespace

bool BatchStarted() { return batchStarted.load(); }

int RunBatch(const CliOptions& options, std::FILE* err, unsigned threads) {
  Failure failure{kExitOk, {}};
  const std::unique_ptr<BatchInput> input = BatchInput::Open(options, failure);
  if (!input) {
    std::fprintf(err, "qrsmith: %s\n", failure.message.c_str());
    return failure.exitCode;
  }
  batchStarted = true;
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t chunk = platform::FileBatch::SlotsAvailable(kChunkRows);
  platform::FileBatch files(chunk);
  std::vector<BatchJob> jobs(chunk);
  std::vector<Outcome> outcomes(chunk);
  std::vector<std::string> grades(chunk);
  Tally tally;
  for (bool more = true; more;) {
    std::size_t count = 0;
    while (count < chunk && (more = input->Next(jobs[count]))) ++count;
    if (count == 0) break;
    MakeChunk(jobs, count, threads, files, outcomes, grades);
    CommitChunk(jobs, count, files, outcomes, grades, err, tally);
  }
  if (const auto error = input->ReadError()) {
    std::fprintf(err, "qrsmith: %s\n", error->c_str());
    ++tally.failed;
    tally.onlyVerification = false;
  }
  std::fprintf(err, "qrsmith: batch: %zu written, %zu failed", tally.written, tally.failed);
  if (options.verify) {
    std::fprintf(err, ", %zu below the minimum grade %c", tally.belowMinimum,
                 verify::LetterChar(options.minGrade));
  }
  if (tally.replaced > 0) {
    std::fprintf(err, " (%zu of the written replaced by a later row naming the same file)",
                 tally.replaced);
  }
  std::fputc('\n', err);
  if (tally.failed == 0) return kExitOk;
  return tally.onlyVerification ? kExitVerify : kExitInputOutput;
}

}  // namespace qrsmith::cli
