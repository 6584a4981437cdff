#pragma once
// The payload subcommands of qrsmith (wifi, vcard, event, ...): each names a
// content payload builder, takes flags named after the builder's inputs (a
// flag left out is an input left out), refuses what its form cannot carry
// and builds the content text.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "payload/field_format.h"

namespace qrsmith::cli {

struct PayloadFlag {
  std::string name;   // the flag without "--"
  std::string value;  // what the value is, as help shows it ("TEXT"); empty: a switch
  bool required;
  std::string help;
  std::vector<std::string> aliases;  // older names that still work
  // Given several times, it makes as many fields, in the order given; any
  // other flag given twice is refused.
  bool repeatable = false;

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
  std::string standard;    // what the content follows, as help names it
  std::int16_t level = 0;  // a level the form requires (2: M); 0: the user's
  // A Swiss QR-bill: the print forms draw the Swiss cross and print the
  // symbol 46 mm a side unless --module-mm is given.
  bool swissCross = false;
};

// Values given for one subcommand's flags, by the flag's name (never an
// alias); switches hold "". A repeatable flag has one entry a time it is
// given, in that order (a multimap keeps equal keys in insertion order).
using PayloadValues = std::multimap<std::string, std::string>;

// The flags given to one subcommand, read by its builder, which also records
// here why it refuses them.
class PayloadFields {
 public:
  PayloadFields(const PayloadCommand& command, const PayloadValues& values)
      : command_(command), values_(values) {}

  std::string Text(const std::string& name) const { return Optional(name).value_or(""); }
  // The first value of `name`, or nullopt when it is not given.
  std::optional<std::string> Optional(const std::string& name) const;
  // Every value of `name` (a repeatable flag), in the order given.
  std::vector<std::string> All(const std::string& name) const;
  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  // A date, or a date and time of day, in one of the forms help shows.
  std::optional<payload::DateTime> When(const std::string& name);
  // A date alone: a time of day would have no place in the content.
  std::optional<payload::DateTime> Day(const std::string& name);
  // A whole number within [low, high].
  std::optional<std::int32_t> Integer(const std::string& name, std::int32_t low = INT32_MIN,
                                      std::int32_t high = INT32_MAX);
  // Refuses a `c` in the value of `name`, which the form ends the field at.
  void RefuseIn(const std::string& name, char c, const std::string& field);
  // Refuses control characters (line breaks) in the value of `name`.
  void RefuseControls(const std::string& name);
  // Records the first refusal; the content built is then dropped. Returns ""
  // so that a builder can end with it.
  std::string Refuse(const std::string& message);
  // Refuses with "<command> --<name>: <problem>" when problem is not empty.
  bool RefuseFlag(const std::string& name, const std::string& problem);
  const std::string& Error() const { return error_; }
  const PayloadCommand& Command() const { return command_; }

 private:
  std::optional<payload::DateTime> ReadDate(const std::string& name, bool timeAllowed,
                                            const std::string& forms);

  const PayloadCommand& command_;
  const PayloadValues& values_;
  std::string error_;
};

// The flags of the command table: a value, a required value, a switch.
inline PayloadFlag Value(std::string name, std::string value, std::string help,
                         std::vector<std::string> aliases = {}) {
  return {std::move(name), std::move(value), false, std::move(help), std::move(aliases)};
}
inline PayloadFlag Required(std::string name, std::string value, std::string help,
                            std::vector<std::string> aliases = {}) {
  return {std::move(name), std::move(value), true, std::move(help), std::move(aliases)};
}
// A value flag that may be given several times (PayloadFlag::repeatable).
inline PayloadFlag Values(std::string name, std::string value, std::string help,
                          std::vector<std::string> aliases = {}) {
  PayloadFlag flag = Value(std::move(name), std::move(value), std::move(help), std::move(aliases));
  flag.repeatable = true;
  return flag;
}
inline PayloadFlag Switch(std::string name, std::string help,
                          std::vector<std::string> aliases = {}) {
  return {std::move(name), "", false, std::move(help), std::move(aliases)};
}

// The record commands (event, mecard, vcard) and the payment commands (epc,
// swiss-qr-bill), which the table lists last, in that order.
std::vector<PayloadCommand> RecordCommands();
std::vector<PayloadCommand> PaymentCommands();

// Every subcommand, in the order the help lists them.
const std::vector<PayloadCommand>& PayloadCommands();
const PayloadCommand* FindPayloadCommand(std::string_view name);
// The flag of `command` with this name or alias.
const PayloadFlag* FindPayloadFlag(const PayloadCommand& command, std::string_view name);

struct BuiltPayload {
  std::optional<std::string> content;
  std::string error;  // set when content is not
};

// Builds the content of `command` from the flags given.
BuiltPayload BuildPayload(const PayloadCommand& command, const PayloadValues& values);

}  // namespace qrsmith::cli
