#pragma once
// The payload subcommands of qrsmith (wifi, vcard, event, ...): each names a
// content payload builder, takes flags named after the builder's inputs (a
// flag left out is an input left out), refuses what its form cannot carry
// and builds the content text.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrsmith::cli {

struct PayloadFlag {
  std::string name;   // the flag without "--"
  std::string value;  // what the value is, as help shows it ("TEXT"); empty: a switch
  bool required;
  std::string help;
  std::vector<std::string> aliases;  // older names that still work

  bool TakesValue() const { return !value.empty(); }
};

class PayloadFields;  // the flags given, as a command's builder reads them

struct PayloadCommand {
  std::string name;
  std::string summary;
  std::vector<PayloadFlag> flags;
  std::string notes;  // rules between the flags, for the command's help
  // Makes the content; a refusal goes through PayloadFields::Refuse.
  std::function<std::string(PayloadFields&)> build;
};

// Every subcommand, in the order the help lists them.
const std::vector<PayloadCommand>& PayloadCommands();
const PayloadCommand* FindPayloadCommand(std::string_view name);
// The flag of `command` with this name or alias.
const PayloadFlag* FindPayloadFlag(const PayloadCommand& command, std::string_view name);

// Values given for one subcommand's flags, by the flag's name (never an
// alias); switches hold "".
using PayloadValues = std::map<std::string, std::string>;

struct BuiltPayload {
  std::optional<std::string> content;
  std::string error;  // set when content is not
};

// Builds the content of `command` from the flags given.
BuiltPayload BuildPayload(const PayloadCommand& command, const PayloadValues& values);

}  // namespace qrsmith::cli
