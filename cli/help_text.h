#pragma once
// The text of `qrsmith --help` and `qrsmith --version`.

#include <optional>
#include <string>

namespace qrsmith::cli {

// The whole tool's help, or that of the payload command named.
std::string HelpText(const std::optional<std::string>& command = std::nullopt);
std::string VersionText();

}  // namespace qrsmith::cli
