#pragma once
// A file's whole contents, as bytes or as text; empty when it cannot be read.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/types.h"

namespace qrsmith::testing {

inline Bytes FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace qrsmith::testing
