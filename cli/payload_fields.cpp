// How a payload command reads its flags and records why it refuses them.

#include "cli/cli_options.h"
#include "cli/payload_commands.h"

namespace qrsmith::cli {

using payload::DateTime;
using payload::OptionalText;

OptionalText PayloadFields::Optional(const std::string& name) const {
  const auto it = values_.lower_bound(name);  // the first given
  if (it == values_.end() || it->first != name) return std::nullopt;
  return it->second;
}

std::vector<std::string> PayloadFields::All(const std::string& name) const {
  std::vector<std::string> out;
  const auto [first, last] = values_.equal_range(name);
  for (auto it = first; it != last; ++it) out.push_back(it->second);
  return out;
}

std::optional<DateTime> PayloadFields::When(const std::string& name) {
  return ReadDate(name, true, "YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS");
}

std::optional<DateTime> PayloadFields::Day(const std::string& name) {
  return ReadDate(name, false, "YYYY-MM-DD");
}

std::optional<std::int32_t> PayloadFields::Integer(const std::string& name, std::int32_t low,
                                                   std::int32_t high) {
  const auto value = ParseInteger(Text(name), low, high);
  if (!value) {
    Refuse("--" + name + " takes a whole number" +
           (low > 0 ? " from " + std::to_string(low) : std::string()) + ", not '" + Text(name) +
           "'");
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

void PayloadFields::RefuseIn(const std::string& name, char c, const std::string& field) {
  if (Text(name).find(c) != std::string::npos) {
    Refuse(command_.name + " --" + name + " cannot hold '" + c + "': readers end the " + field +
           " at the first one");
  }
}

void PayloadFields::RefuseControls(const std::string& name) {
  for (const char c : Text(name)) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      Refuse(command_.name + " --" + name + " cannot hold a line break or control character");
      return;
    }
  }
}

std::string PayloadFields::Refuse(const std::string& message) {
  if (error_.empty()) error_ = message;
  return {};
}

bool PayloadFields::RefuseFlag(const std::string& name, const std::string& problem) {
  if (problem.empty()) return false;
  Refuse(command_.name + " --" + name + ": " + problem);
  return true;
}

std::optional<DateTime> PayloadFields::ReadDate(const std::string& name, bool timeAllowed,
                                                const std::string& forms) {
  const auto text = Optional(name);
  if (!text) return std::nullopt;
  const auto value = payload::ParseDateTime(*text);
  if (!value || (!timeAllowed && text->size() != 10)) {
    Refuse("--" + name + " takes " + forms + " (a real date, years 0001 to 9999), not '" + *text +
           "'");
    return std::nullopt;
  }
  return value;
}

}  // namespace qrsmith::cli
