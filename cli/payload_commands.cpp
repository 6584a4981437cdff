#include "cli/payload_commands.h"

#include "cli/cli_options.h"
#include "payload/payloads.h"

namespace qrsmith::cli {

using payload::DateTime;
using payload::OptionalText;

// The flags given to one subcommand, read by its builder, which also records
// here why it refuses them.
class PayloadFields {
 public:
  PayloadFields(const PayloadCommand& command, const PayloadValues& values)
      : command_(command), values_(values) {}

  std::string Text(const std::string& name) const { return Optional(name).value_or(""); }
  OptionalText Optional(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  bool Has(const std::string& name) const { return values_.count(name) != 0; }

  // A date, or a date and time of day, in one of the forms help shows.
  std::optional<DateTime> When(const std::string& name) {
    return ReadDate(name, true, "YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS");
  }
  // A date alone: a time of day would have no place in the content.
  std::optional<DateTime> Day(const std::string& name) {
    return ReadDate(name, false, "YYYY-MM-DD");
  }
  std::optional<std::int32_t> Integer(const std::string& name) {
    const auto value = ParseInteger(Text(name), INT32_MIN, INT32_MAX);
    if (!value) Refuse("--" + name + " takes a whole number, not '" + Text(name) + "'");
    return value ? std::optional<std::int32_t>(static_cast<std::int32_t>(*value)) : std::nullopt;
  }
  // Refuses a `c` in the value of `name`, which the form ends the field at.
  void RefuseIn(const std::string& name, char c, const std::string& field) {
    if (Text(name).find(c) != std::string::npos) {
      Refuse(command_.name + " --" + name + " cannot hold '" + c + "': readers end the " + field +
             " at the first one");
    }
  }
  // Records the first refusal; the content built is then dropped. Returns ""
  // so that a builder can end with it.
  std::string Refuse(const std::string& message) {
    if (error_.empty()) error_ = message;
    return {};
  }
  const std::string& Error() const { return error_; }

 private:
  std::optional<DateTime> ReadDate(const std::string& name, bool timeAllowed,
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

  const PayloadCommand& command_;
  const PayloadValues& values_;
  std::string error_;
};

namespace {

PayloadFlag Value(std::string name, std::string value, std::string help,
                  std::vector<std::string> aliases = {}) {
  return {std::move(name), std::move(value), false, std::move(help), std::move(aliases)};
}
PayloadFlag Required(std::string name, std::string value, std::string help,
                     std::vector<std::string> aliases = {}) {
  return {std::move(name), std::move(value), true, std::move(help), std::move(aliases)};
}
PayloadFlag Switch(std::string name, std::string help, std::vector<std::string> aliases = {}) {
  return {std::move(name), "", false, std::move(help), std::move(aliases)};
}

// A command whose one required flag, as typed, is all its content is made of.
PayloadCommand OneFlag(std::string name, std::string summary, PayloadFlag flag,
                       std::string (*make)(std::string_view)) {
  std::string field = flag.name;
  return {std::move(name),
          std::move(summary),
          {std::move(flag)},
          "",
          [field = std::move(field), make](PayloadFields& f) { return make(f.Text(field)); }};
}

const char kDateForms[] = "YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS, local time";

std::string Wifi(PayloadFields& f) {
  if (f.Text("network-name").empty())
    return f.Refuse("wifi needs a --network-name that is not empty");
  if (f.Has("wep") && f.Has("wpa")) return f.Refuse("wifi takes --wep or --wpa, not both");
  const OptionalText password = f.Optional("network-password");
  if (!password && (f.Has("wep") || f.Has("wpa"))) {
    return f.Refuse(std::string("wifi ") + (f.Has("wep") ? "--wep" : "--wpa") +
                    " needs --network-password: readers refuse a protected network without one");
  }
  if (password && password->empty()) {
    return f.Refuse("wifi --network-password is empty: leave it out for an open network");
  }
  std::optional<bool> useWep;
  if (password) useWep = f.Has("wep");  // a password without a type means WPA
  std::optional<bool> hidden;
  if (f.Has("hidden")) hidden = true;
  return payload::WifiPayload(f.Text("network-name"), useWep, password, hidden);
}

std::string Smtp(PayloadFields& f) {
  f.RefuseIn("address", ':', "address");
  f.RefuseIn("subject", ':', "subject");
  return payload::SmtpPayload(f.Text("address"), f.Optional("subject"), f.Optional("body"));
}

// Short and multimedia messages: the number ends at the first colon.
std::string Message(PayloadFields& f, bool multimedia) {
  f.RefuseIn("number", ':', "number");
  return multimedia ? payload::MmsPayload(f.Text("number"), f.Optional("message"))
                    : payload::SmsPayload(f.Text("number"), f.Optional("message"));
}

std::string Market(PayloadFields& f) {
  if (f.Has("package-name") == f.Has("query")) {
    return f.Refuse("market takes either --package-name or --query");
  }
  return f.Has("package-name") ? payload::MarketDetailsPayload(f.Text("package-name"))
                               : payload::MarketSearchPayload(f.Text("query"));
}

std::string Event(PayloadFields& f) {
  const auto start = f.When("start");
  const auto end = f.When("end");
  return payload::EventPayload(f.Text("summary"), start.value_or(DateTime{}),
                               end.value_or(DateTime{}), f.Optional("location"),
                               f.Optional("description"));
}

std::string Mecard(PayloadFields& f) {
  payload::MecardFields fields;
  fields.email = f.Optional("email");
  fields.phone = f.Optional("phone");
  fields.videoPhone = f.Optional("video-phone");
  fields.firstUrl = f.Optional("first-url");
  fields.secondUrl = f.Optional("second-url");
  fields.birthday = f.Day("birthday");
  return payload::MecardPayload(f.Text("family-name"), f.Text("given-name"), fields);
}

std::string Vcard(PayloadFields& f) {
  payload::VcardFields v;
  v.formattedName = f.Optional("formatted-name");
  v.organisation = f.Optional("organisation");
  v.title = f.Optional("title");
  v.workEmail = f.Optional("work-email");
  v.mobilePhone = f.Optional("mobile-phone");
  v.workPhone = f.Optional("work-phone");
  v.homePhone = f.Optional("home-phone");
  v.workFax = f.Optional("work-fax");
  v.homeFax = f.Optional("home-fax");
  v.workAddress = f.Optional("work-address");
  v.homeAddress = f.Optional("home-address");
  v.workUrl = f.Optional("work-url");
  v.homeUrl = f.Optional("home-url");
  v.birthday = f.Day("birthday");
  return payload::VcardPayload(f.Text("family-name"), f.Text("given-name"),
                               f.Has("show-as-company"), v);
}

const std::vector<PayloadCommand>& Table() {
  static const std::vector<PayloadCommand> commands = {
      {"wifi",
       "Wi-Fi network credentials (WIFI:)",
       {Required("network-name", "TEXT", "the network's name (SSID)", {"ssid"}),
        Value("network-password", "TEXT",
              "the network's own password, not the content's encryption", {"password"}),
        Switch("wep", "WEP protection"), Switch("wpa", "WPA/WPA2 protection"),
        Switch("hidden", "the network does not announce itself")},
       "A password without --wep or --wpa means WPA; --wep and --wpa need a password.\n"
       "Without a password the network is open. To encrypt the content itself, use\n"
       "--encryption-password.",
       Wifi},
      OneFlag("mail", "an e-mail address (mailto:)",
              Required("address", "ADDRESS", "e-mail address"), payload::MailtoPayload),
      {"smtp",
       "an e-mail message (SMTP:)",
       {Required("address", "ADDRESS", "e-mail address"), Value("subject", "TEXT", "subject"),
        Value("body", "TEXT", "text")},
       "The address and the subject cannot hold ':', which ends them.",
       Smtp},
      OneFlag("tel", "a telephone number (tel:)", Required("number", "NUMBER", "telephone number"),
              payload::TelPayload),
      {"sms",
       "a short message (smsto:)",
       {Required("number", "NUMBER", "telephone number"), Value("message", "TEXT", "text")},
       "The number cannot hold ':', which ends it.",
       [](PayloadFields& f) { return Message(f, false); }},
      {"mms",
       "a multimedia message (mmsto:)",
       {Required("number", "NUMBER", "telephone number"), Value("message", "TEXT", "text")},
       "The number cannot hold ':', which ends it.",
       [](PayloadFields& f) { return Message(f, true); }},
      {"geo",
       "a geographic position (geo:)",
       {Required("latitude", "DEGREES", "latitude"), Required("longitude", "DEGREES", "longitude"),
        Value("altitude", "METRES", "altitude")},
       "",
       [](PayloadFields& f) {
         return payload::GeoPayload(f.Text("latitude"), f.Text("longitude"),
                                    f.Optional("altitude"));
       }},
      {"map-search",
       "a map search link",
       {Required("latitude", "DEGREES", "latitude"), Required("longitude", "DEGREES", "longitude"),
        Required("label", "TEXT", "label shown at the position")},
       "",
       [](PayloadFields& f) {
         return payload::MapSearchLink(f.Text("latitude"), f.Text("longitude"), f.Text("label"));
       }},
      {"map-view",
       "a map view link",
       {Required("latitude", "DEGREES", "latitude"), Required("longitude", "DEGREES", "longitude")},
       "",
       [](PayloadFields& f) {
         return payload::MapViewLink(f.Text("latitude"), f.Text("longitude"));
       }},
      {"market",
       "an application store entry (market://)",
       {Value("package-name", "NAME", "the application's package (details)", {"package"}),
        Value("query", "TEXT", "a search of the store", {"search"})},
       "Give exactly one of --package-name and --query.",
       Market},
      {"app-store",
       "an application store link",
       {Required("application-id", "NUMBER", "the application's number", {"id"})},
       "",
       [](PayloadFields& f) {
         return payload::AppStoreLink(f.Integer("application-id").value_or(0));
       }},
      OneFlag("url", "a web address (urlto:)", Required("address", "URL", "web address"),
              payload::UrltoPayload),
      OneFlag("venue", "a venue link", Required("venue-id", "ID", "the venue's id", {"id"}),
              payload::VenueLink),
      {"bookmark",
       "a bookmark (MEBKM:)",
       {Required("title", "TEXT", "title"), Required("address", "URL", "web address", {"url"})},
       "",
       [](PayloadFields& f) {
         return payload::BookmarkPayload(f.Text("title"), f.Text("address"));
       }},
      OneFlag("youtube", "a video (youtube://)",
              Required("video-id", "ID", "the video's id", {"id"}), payload::YoutubePayload),
      OneFlag("social", "a social network profile link",
              Required("profile-name", "NAME", "profile name", {"profile"}),
              payload::SocialProfileLink),
      OneFlag("microblog", "a microblog profile link",
              Required("user-name", "NAME", "user name", {"user"}), payload::MicroblogProfileLink),
      OneFlag("microblog-status", "a microblog status link",
              Required("status-text", "TEXT", "the status to post", {"status"}),
              payload::MicroblogStatusLink),
      {"event",
       "a calendar event (VEVENT)",
       {Required("summary", "TEXT", "title"), Required("start", "DATE", kDateForms),
        Required("end", "DATE", kDateForms), Value("location", "TEXT", "place"),
        Value("description", "TEXT", "text")},
       "A date alone means its midnight.",
       Event},
      {"bbm",
       "a messenger invitation (bbm://)",
       {Required("first-name", "TEXT", "first name", {"first"}),
        Required("last-name", "TEXT", "last name", {"second"}),
        Required("pin", "PIN", "the messenger PIN", {"third"})},
       "",
       [](PayloadFields& f) {
         return payload::BbmPayload(f.Text("first-name"), f.Text("last-name"), f.Text("pin"));
       }},
      {"mecard",
       "a contact card (MECARD)",
       {Required("family-name", "TEXT", "family name"),
        Required("given-name", "TEXT", "given name"), Value("email", "ADDRESS", "e-mail"),
        Value("phone", "NUMBER", "telephone"), Value("video-phone", "NUMBER", "video telephone"),
        Value("first-url", "URL", "first web address", {"url"}),
        Value("second-url", "URL", "second web address"), Value("birthday", "DATE", "YYYY-MM-DD")},
       "",
       Mecard},
      {"vcard",
       "a contact card (vCard 3.0)",
       {Required("family-name", "TEXT", "family name"),
        Required("given-name", "TEXT", "given name"),
        Switch("show-as-company", "show the card as a company's", {"company"}),
        Value("formatted-name", "TEXT", "name as shown"),
        Value("organisation", "TEXT", "organisation"), Value("title", "TEXT", "job title"),
        Value("work-email", "ADDRESS", "e-mail"), Value("mobile-phone", "NUMBER", "telephone"),
        Value("work-phone", "NUMBER", "telephone"), Value("home-phone", "NUMBER", "telephone"),
        Value("work-fax", "NUMBER", "fax"), Value("home-fax", "NUMBER", "fax"),
        Value("work-address", "TEXT", "address"), Value("home-address", "TEXT", "address"),
        Value("work-url", "URL", "web address"), Value("home-url", "URL", "web address"),
        Value("birthday", "DATE", "YYYY-MM-DD")},
       "",
       Vcard},
  };
  return commands;
}

}  // namespace

const std::vector<PayloadCommand>& PayloadCommands() { return Table(); }

const PayloadCommand* FindPayloadCommand(std::string_view name) {
  for (const PayloadCommand& c : Table()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

const PayloadFlag* FindPayloadFlag(const PayloadCommand& command, std::string_view name) {
  for (const PayloadFlag& f : command.flags) {
    if (f.name == name) return &f;
    for (const std::string& alias : f.aliases) {
      if (alias == name) return &f;
    }
  }
  return nullptr;
}

BuiltPayload BuildPayload(const PayloadCommand& command, const PayloadValues& values) {
  for (const PayloadFlag& flag : command.flags) {
    if (flag.required && values.count(flag.name) == 0) {
      return {std::nullopt, command.name + " needs --" + flag.name};
    }
  }
  PayloadFields fields(command, values);
  std::string content = command.build(fields);
  if (!fields.Error().empty()) return {std::nullopt, fields.Error()};
  return {std::move(content), {}};
}

}  // namespace qrsmith::cli
