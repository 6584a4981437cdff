#pragma once
// The text of `qrsmith --help` and `qrsmith --version`.

#include <string>

namespace qrsmith::cli {

std::string HelpText();
std::string VersionText();

}  // namespace qrsmith::cli
