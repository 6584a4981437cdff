#pragma once
// The payload subcommands of qrsmith (wifi, vcard, event, ...): each names a
// content payload builder, takes flags named after the builder's inputs (a
// flag left out is an input left out) and builds the content text.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qrsmith::cli {

struct PayloadFlag {
  std::string name;  // the flag without "--"
  bool takesValue;   // false: a switch
  bool required;
  std::string help;
};

struct PayloadCommand {
  std::string name;
  std::string summary;
  std::vector<PayloadFlag> flags;
};

// Every subcommand, in the order the help lists them.
const std::vector<PayloadCommand>& PayloadCommands();
const PayloadCommand* FindPayloadCommand(const std::string& name);

// Values given for one subcommand's flags; switches hold "".
using PayloadValues = std::map<std::string, std::string>;

struct BuiltPayload {
  std::optional<std::string> content;
  std::string error;  // set when content is not
};

// Builds the content of `command` from the flags given.
BuiltPayload BuildPayload(const PayloadCommand& command, const PayloadValues& values);

}  // namespace qrsmith::cli
