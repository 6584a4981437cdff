// Replays saved fuzz inputs through a target's LLVMFuzzerTestOneInput without
// libFuzzer, so that every input of fuzz/corpus/<target>/ (seeds and every
// input that once found a fault) runs in the ordinary test suite with any
// compiler. Arguments are files or folders; a folder's files run in name order.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
    return false;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  // A copy of exactly the input's size, so that reading past its end is caught
  // by the sanitizers as it would be under libFuzzer.
  std::vector<std::uint8_t> exact(bytes);
  LLVMFuzzerTestOneInput(exact.data(), exact.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(arg, error)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else {
      files.push_back(arg);
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "replay: no inputs given\n");
    return 1;
  }
  int failed = 0;
  for (const auto& file : files) {
    if (!Replay(file)) ++failed;
  }
  std::printf("replayed %zu inputs\n", files.size() - failed);
  return failed == 0 ? 0 : 1;
}
