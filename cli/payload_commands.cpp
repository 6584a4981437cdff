#include "cli/payload_commands.h"

#include <cstdio>
#include <functional>

#include "cli/cli_options.h"
#include "payload/payloads.h"

namespace qrsmith::cli {

namespace {

using payload::DateTime;
using payload::OptionalText;

PayloadFlag Value(std::string name, std::string help) {
  return {std::move(name), true, false, std::move(help)};
}
PayloadFlag Required(std::string name, std::string help) {
  return {std::move(name), true, true, std::move(help)};
}
PayloadFlag Switch(std::string name, std::string help) {
  return {std::move(name), false, false, std::move(help)};
}

// Reads the flags of one subcommand while it builds its payload.
class Fields {
 public:
  explicit Fields(const PayloadValues& values) : values_(values) {}

  std::string Text(const std::string& name) const { return Optional(name).value_or(""); }
  OptionalText Optional(const std::string& name) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  bool Has(const std::string& name) const { return values_.count(name) != 0; }

  // A date "YYYY-MM-DD" or date-time "YYYY-MM-DDTHH:MM[:SS]"; records an error otherwise.
  std::optional<DateTime> Date(const std::string& name) {
    const auto text = Optional(name);
    if (!text) return std::nullopt;
    DateTime d;
    char tail = 0;
    int n = std::sscanf(text->c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &d.year, &d.month, &d.day,
                        &d.hour, &d.minute, &d.second, &tail);
    const bool ok = (n == 3 && text->size() == 10) || n == 5 || n == 6;
    if (!ok || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.hour > 23 ||
        d.minute > 59 || d.second > 59 || d.hour < 0 || d.minute < 0 || d.second < 0) {
      error_ = "--" + name + " takes YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS, not '" + *text + "'";
      return std::nullopt;
    }
    return d;
  }
  std::optional<std::int32_t> Integer(const std::string& name) {
    const auto value = ParseInteger(Text(name), INT32_MIN, INT32_MAX);
    if (!value) error_ = "--" + name + " takes a whole number, not '" + Text(name) + "'";
    return value ? std::optional<std::int32_t>(static_cast<std::int32_t>(*value)) : std::nullopt;
  }
  const std::string& Error() const { return error_; }

 private:
  const PayloadValues& values_;
  std::string error_;
};

using Builder = std::function<std::string(Fields&)>;

struct Entry {
  PayloadCommand command;
  Builder build;
};

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = {
      {{"wifi",
        "Wi-Fi network credentials",
        {Required("ssid", "network name"), Value("password", "network password"),
         Switch("wep", "WEP protection"), Switch("wpa", "WPA/WPA2 protection"),
         Switch("hidden", "the network does not announce itself")}},
       [](Fields& f) {
         std::optional<bool> useWep;
         if (f.Has("wep")) useWep = true;
         if (f.Has("wpa")) useWep = false;
         std::optional<bool> hidden;
         if (f.Has("hidden")) hidden = true;
         return payload::WifiPayload(f.Text("ssid"), useWep, f.Optional("password"), hidden);
       }},
      {{"mail", "an e-mail address (mailto:)", {Required("address", "e-mail address")}},
       [](Fields& f) { return payload::MailtoPayload(f.Text("address")); }},
      {{"smtp",
        "an e-mail message (SMTP:)",
        {Required("address", "e-mail address"), Value("subject", "subject"),
         Value("body", "text")}},
       [](Fields& f) {
         return payload::SmtpPayload(f.Text("address"), f.Optional("subject"), f.Optional("body"));
       }},
      {{"tel", "a telephone number", {Required("number", "telephone number")}},
       [](Fields& f) { return payload::TelPayload(f.Text("number")); }},
      {{"sms",
        "a short message",
        {Required("number", "telephone number"), Value("message", "text")}},
       [](Fields& f) { return payload::SmsPayload(f.Text("number"), f.Optional("message")); }},
      {{"mms",
        "a multimedia message",
        {Required("number", "telephone number"), Value("message", "text")}},
       [](Fields& f) { return payload::MmsPayload(f.Text("number"), f.Optional("message")); }},
      {{"geo",
        "a geographic position (geo:)",
        {Required("latitude", "degrees"), Required("longitude", "degrees"),
         Value("altitude", "metres")}},
       [](Fields& f) {
         return payload::GeoPayload(f.Text("latitude"), f.Text("longitude"),
                                    f.Optional("altitude"));
       }},
      {{"map-search",
        "a map search link",
        {Required("latitude", "degrees"), Required("longitude", "degrees"),
         Required("label", "label")}},
       [](Fields& f) {
         return payload::MapSearchLink(f.Text("latitude"), f.Text("longitude"), f.Text("label"));
       }},
      {{"map-view",
        "a map view link",
        {Required("latitude", "degrees"), Required("longitude", "degrees")}},
       [](Fields& f) { return payload::MapViewLink(f.Text("latitude"), f.Text("longitude")); }},
      {{"market",
        "an application store entry (market://)",
        {Value("package", "package name (details)"), Value("search", "search query")}},
       [](Fields& f) {
         return f.Has("package") ? payload::MarketDetailsPayload(f.Text("package"))
                                 : payload::MarketSearchPayload(f.Text("search"));
       }},
      {{"app-store", "an application store link", {Required("id", "application id")}},
       [](Fields& f) { return payload::AppStoreLink(f.Integer("id").value_or(0)); }},
      {{"url", "a web address (urlto:)", {Required("address", "web address")}},
       [](Fields& f) { return payload::UrltoPayload(f.Text("address")); }},
      {{"venue", "a venue link", {Required("id", "venue id")}},
       [](Fields& f) { return payload::VenueLink(f.Text("id")); }},
      {{"bookmark",
        "a bookmark (MEBKM:)",
        {Required("title", "title"), Required("url", "web address")}},
       [](Fields& f) { return payload::BookmarkPayload(f.Text("title"), f.Text("url")); }},
      {{"youtube", "a video (youtube://)", {Required("id", "video id")}},
       [](Fields& f) { return payload::YoutubePayload(f.Text("id")); }},
      {{"social", "a social network profile link", {Required("profile", "profile name")}},
       [](Fields& f) { return payload::SocialProfileLink(f.Text("profile")); }},
      {{"microblog", "a microblog profile link", {Required("user", "user name")}},
       [](Fields& f) { return payload::MicroblogProfileLink(f.Text("user")); }},
      {{"microblog-status", "a microblog status link", {Required("status", "status text")}},
       [](Fields& f) { return payload::MicroblogStatusLink(f.Text("status")); }},
      {{"event",
        "a calendar event (VEVENT)",
        {Required("summary", "title"), Required("start", "YYYY-MM-DDTHH:MM:SS"),
         Required("end", "YYYY-MM-DDTHH:MM:SS"), Value("location", "place"),
         Value("description", "text")}},
       [](Fields& f) {
         const auto start = f.Date("start");
         const auto end = f.Date("end");
         return payload::EventPayload(f.Text("summary"), start.value_or(DateTime{}),
                                      end.value_or(DateTime{}), f.Optional("location"),
                                      f.Optional("description"));
       }},
      {{"bbm",
        "a messenger invitation (bbm://)",
        {Required("first", "first name"), Required("second", "second name"),
         Required("third", "PIN")}},
       [](Fields& f) {
         return payload::BbmPayload(f.Text("first"), f.Text("second"), f.Text("third"));
       }},
      {{"mecard",
        "a contact card (MECARD)",
        {Required("family-name", "family name"), Required("given-name", "given name"),
         Value("email", "e-mail"), Value("phone", "telephone"),
         Value("video-phone", "video telephone"), Value("url", "first web address"),
         Value("second-url", "second web address"), Value("birthday", "YYYY-MM-DD")}},
       [](Fields& f) {
         payload::MecardFields fields;
         fields.email = f.Optional("email");
         fields.phone = f.Optional("phone");
         fields.videoPhone = f.Optional("video-phone");
         fields.firstUrl = f.Optional("url");
         fields.secondUrl = f.Optional("second-url");
         fields.birthday = f.Date("birthday");
         return payload::MecardPayload(f.Text("family-name"), f.Text("given-name"), fields);
       }},
      {{"vcard",
        "a contact card (vCard 3.0)",
        {Required("family-name", "family name"), Required("given-name", "given name"),
         Switch("company", "show as a company"), Value("formatted-name", "name as shown"),
         Value("organisation", "organisation"), Value("title", "job title"),
         Value("work-email", "e-mail"), Value("mobile-phone", "telephone"),
         Value("work-phone", "telephone"), Value("home-phone", "telephone"),
         Value("work-fax", "fax"), Value("home-fax", "fax"), Value("work-address", "address"),
         Value("home-address", "address"), Value("work-url", "web address"),
         Value("home-url", "web address"), Value("birthday", "YYYY-MM-DD")}},
       [](Fields& f) {
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
         v.birthday = f.Date("birthday");
         return payload::VcardPayload(f.Text("family-name"), f.Text("given-name"), f.Has("company"),
                                      v);
       }},
  };
  return entries;
}

}  // namespace

const std::vector<PayloadCommand>& PayloadCommands() {
  static const std::vector<PayloadCommand> commands = [] {
    std::vector<PayloadCommand> out;
    for (const Entry& e : Entries()) out.push_back(e.command);
    return out;
  }();
  return commands;
}

const PayloadCommand* FindPayloadCommand(const std::string& name) {
  for (const PayloadCommand& c : PayloadCommands()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

BuiltPayload BuildPayload(const PayloadCommand& command, const PayloadValues& values) {
  for (const PayloadFlag& flag : command.flags) {
    if (flag.required && values.count(flag.name) == 0) {
      return {std::nullopt, command.name + " needs --" + flag.name};
    }
  }
  if (command.name == "wifi" && values.count("wep") && values.count("wpa")) {
    return {std::nullopt, "wifi takes --wep or --wpa, not both"};
  }
  if (command.name == "market" && values.count("package") == values.count("search")) {
    return {std::nullopt, "market takes either --package or --search"};
  }
  for (const Entry& e : Entries()) {
    if (e.command.name != command.name) continue;
    Fields fields(values);
    std::string content = e.build(fields);
    if (!fields.Error().empty()) return {std::nullopt, fields.Error()};
    return {std::move(content), {}};
  }
  return {std::nullopt, "unknown command '" + command.name + "'"};
}

}  // namespace qrsmith::cli
