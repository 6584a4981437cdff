#include "cli/payload_commands.h"

#include "cli/cli_options.h"
#include "payload/payloads.h"

namespace qrsmith::cli {

using payload::DateTime;
using payload::OptionalText;

namespace {

// A command whose one required flag, as typed, is all its content is made of.
PayloadCommand OneFlag(std::string name, std::string summary, PayloadFlag flag,
                       std::string (*make)(std::string_view), std::string standard) {
  std::string field = flag.name;
  return {std::move(name),
          std::move(summary),
          {std::move(flag)},
          "",
          [field = std::move(field), make](PayloadFields& f) { return make(f.Text(field)); },
          std::move(standard)};
}

std::string Wifi(PayloadFields& f) {
  using payload::WifiSecurity;
  const std::pair<const char*, WifiSecurity> kTypes[] = {{"wep", WifiSecurity::kWep},
                                                         {"wpa", WifiSecurity::kWpa},
                                                         {"wpa3", WifiSecurity::kSae},
                                                         {"enterprise", WifiSecurity::kEnterprise}};
  payload::WifiFields w;
  std::string typeFlag;
  for (const auto& [flag, security] : kTypes) {
    if (!f.Has(flag)) continue;
    if (!typeFlag.empty()) {
      return f.Refuse("wifi takes one of --wep, --wpa, --wpa3 and --enterprise, not --" + typeFlag +
                      " and --" + flag);
    }
    typeFlag = flag;
    w.security = security;
  }
  w.password = f.Optional("network-password");
  if (!w.password && (w.security == WifiSecurity::kWep || w.security == WifiSecurity::kWpa ||
                      w.security == WifiSecurity::kSae)) {
    return f.Refuse("wifi --" + typeFlag +
                    " needs --network-password: readers refuse a protected network without one");
  }
  if (w.password && w.password->empty()) {
    return f.Refuse("wifi --network-password is empty: leave it out for an open network");
  }
  if (w.password && typeFlag.empty()) w.security = WifiSecurity::kWpa;  // a password means WPA
  for (const char* flag : {"eap", "identity", "anonymous-identity", "phase2"}) {
    if (f.Has(flag) && w.security != WifiSecurity::kEnterprise) {
      return f.Refuse(std::string("wifi --") + flag + " belongs to an --enterprise network");
    }
  }
  if (f.Has("hidden")) w.hidden = true;
  w.eapMethod = f.Optional("eap");
  w.identity = f.Optional("identity");
  w.anonymousIdentity = f.Optional("anonymous-identity");
  w.phase2Method = f.Optional("phase2");
  if (const std::string problem = payload::WifiProblem(f.Text("network-name"), w); !problem.empty())
    return f.Refuse("wifi: " + problem);
  return payload::WifiPayload(f.Text("network-name"), w);
}

std::string Mail(PayloadFields& f) {
  return payload::MailtoPayload(f.Text("address"), {.subject = f.Optional("subject"),
                                                    .body = f.Optional("body"),
                                                    .cc = f.Optional("cc"),
                                                    .bcc = f.Optional("bcc")});
}

std::string Smtp(PayloadFields& f) {
  f.RefuseIn("address", ':', "address");
  f.RefuseIn("subject", ':', "subject");
  return payload::SmtpPayload(f.Text("address"), f.Optional("subject"), f.Optional("body"));
}

std::string Tel(PayloadFields& f) {
  f.RefuseControls("number");
  return payload::TelPayload(f.Text("number"));
}

// Short and multimedia messages: the number ends at the first colon.
std::string Message(PayloadFields& f, bool multimedia) {
  f.RefuseIn("number", ':', "number");
  f.RefuseControls("number");
  if (!multimedia && f.Has("uri")) {
    f.RefuseIn("number", '?', "number");
    return payload::SmsUriPayload(f.Text("number"), f.Optional("message"));
  }
  return multimedia ? payload::MmsPayload(f.Text("number"), f.Optional("message"))
                    : payload::SmsPayload(f.Text("number"), f.Optional("message"));
}

// Refuses a position readers would misplace; true when it is sound.
bool CheckPosition(PayloadFields& f, const OptionalText& altitude = std::nullopt) {
  const std::string problem =
      payload::GeoProblem(f.Text("latitude"), f.Text("longitude"), altitude);
  if (!problem.empty()) f.Refuse(f.Command().name + ": the " + problem);
  return problem.empty();
}

std::string Market(PayloadFields& f) {
  if (f.Has("package-name") == f.Has("query")) {
    return f.Refuse("market takes either --package-name or --query");
  }
  return f.Has("package-name") ? payload::MarketDetailsPayload(f.Text("package-name"))
                               : payload::MarketSearchPayload(f.Text("query"));
}

const std::vector<PayloadCommand>& Table() {
  static const std::vector<PayloadCommand> commands = [] {
    std::vector<PayloadCommand> list = {
        {"wifi",
         "Wi-Fi network credentials (WIFI:)",
         {Required("network-name", "TEXT", "the network's name (SSID), at most 32 bytes", {"ssid"}),
          Value("network-password", "TEXT",
                "the network's own password, not the content's encryption", {"password"}),
          Switch("wep", "WEP protection"), Switch("wpa", "WPA/WPA2 Personal protection"),
          Switch("wpa3", "WPA3 Personal protection (SAE)"),
          Switch("enterprise", "WPA2/WPA3 Enterprise protection (802.1X)"),
          Value("eap", "METHOD", "enterprise: the EAP method (PEAP, TTLS, TLS, PWD, ...)"),
          Value("identity", "TEXT", "enterprise: the user's identity"),
          Value("anonymous-identity", "TEXT", "enterprise: the outer identity"),
          Value("phase2", "METHOD", "enterprise: the inner method (MSCHAPV2, PAP, ...)"),
          Switch("hidden", "the network does not announce itself")},
         "A password without a protection flag means WPA; --wep, --wpa and --wpa3 need a\n"
         "password. A WPA passphrase has 8 to 63 printable ASCII characters (or is 64\n"
         "hexadecimal digits); a WEP key 5 or 13 characters (or 10 or 26 hexadecimal\n"
         "digits). Without a password the network is open. To encrypt the content\n"
         "itself, use --encryption-password.",
         Wifi,
         "the WIFI: form of the Wi-Fi Alliance and ZXing (T:nopass, WEP, WPA, SAE, WPA2-EAP)"},
        {"mail",
         "an e-mail address (mailto:)",
         {Required("address", "ADDRESS", "e-mail address"), Value("subject", "TEXT", "subject"),
          Value("body", "TEXT", "text"), Value("cc", "ADDRESSES", "copies, comma-separated"),
          Value("bcc", "ADDRESSES", "blind copies, comma-separated")},
         "",
         Mail,
         "mailto: links, RFC 6068"},
        {"smtp",
         "an e-mail message (SMTP:)",
         {Required("address", "ADDRESS", "e-mail address"), Value("subject", "TEXT", "subject"),
          Value("body", "TEXT", "text")},
         "The address and the subject cannot hold ':', which ends them.",
         Smtp,
         "the SMTP: form phone readers know"},
        {"tel",
         "a telephone number (tel:)",
         {Required("number", "NUMBER", "telephone number")},
         "A '#' is written %23, since it would start the link's fragment.",
         Tel,
         "tel: links, RFC 3966"},
        {"sms",
         "a short message (smsto:, or sms: with --uri)",
         {Required("number", "NUMBER", "telephone number"), Value("message", "TEXT", "text"),
          Switch("uri", "write sms:NUMBER?body=TEXT instead of smsto:NUMBER:TEXT")},
         "The number cannot hold ':', which ends it.",
         [](PayloadFields& f) { return Message(f, false); },
         "smsto: as phone readers know it; sms: links, RFC 5724 (--uri)"},
        {"mms",
         "a multimedia message (mmsto:)",
         {Required("number", "NUMBER", "telephone number"), Value("message", "TEXT", "text")},
         "The number cannot hold ':', which ends it.",
         [](PayloadFields& f) { return Message(f, true); },
         "the mmsto: form phone readers know"},
        {"geo",
         "a geographic position (geo:)",
         {Required("latitude", "DEGREES", "latitude, -90 to 90, as 48.2082"),
          Required("longitude", "DEGREES", "longitude, -180 to 180, as 16.3738"),
          Value("altitude", "METRES", "altitude")},
         "Coordinates are decimal numbers with a point; a decimal comma is refused.",
         [](PayloadFields& f) {
           if (!CheckPosition(f, f.Optional("altitude"))) return std::string();
           return payload::GeoPayload(f.Text("latitude"), f.Text("longitude"),
                                      f.Optional("altitude"));
         },
         "geo: links, RFC 5870"},
        {"map-search",
         "a map search link",
         {Required("latitude", "DEGREES", "latitude, -90 to 90"),
          Required("longitude", "DEGREES", "longitude, -180 to 180"),
          Required("label", "TEXT", "label shown at the position")},
         "",
         [](PayloadFields& f) {
           if (!CheckPosition(f)) return std::string();
           return payload::MapSearchLink(f.Text("latitude"), f.Text("longitude"), f.Text("label"));
         },
         "an http: link, RFC 3986"},
        {"map-view",
         "a map view link",
         {Required("latitude", "DEGREES", "latitude, -90 to 90"),
          Required("longitude", "DEGREES", "longitude, -180 to 180")},
         "",
         [](PayloadFields& f) {
           if (!CheckPosition(f)) return std::string();
           return payload::MapViewLink(f.Text("latitude"), f.Text("longitude"));
         },
         "an http: link, RFC 3986"},
        {"market",
         "an application store entry (market://)",
         {Value("package-name", "NAME", "the application's package (details)", {"package"}),
          Value("query", "TEXT", "a search of the store", {"search"})},
         "Give exactly one of --package-name and --query.",
         Market,
         "market:// links of the Android store"},
        {"app-store",
         "an application store link",
         {Required("application-id", "NUMBER", "the application's number", {"id"})},
         "",
         [](PayloadFields& f) {
           return payload::AppStoreLink(f.Integer("application-id", 1).value_or(0));
         },
         "itms:// links of the iOS store"},
        {"url",
         "a web address (urlto:)",
         {Required("address", "URL", "web address")},
         "",
         [](PayloadFields& f) {
           f.RefuseControls("address");
           return payload::UrltoPayload(f.Text("address"));
         },
         "the urlto: form phone readers know"},
        OneFlag("venue", "a venue link", Required("venue-id", "ID", "the venue's id", {"id"}),
                payload::VenueLink, "an http: link, RFC 3986"),
        {"bookmark",
         "a bookmark (MEBKM:)",
         {Required("title", "TEXT", "title"), Required("address", "URL", "web address", {"url"})},
         "",
         [](PayloadFields& f) {
           return payload::BookmarkPayload(f.Text("title"), f.Text("address"));
         },
         "the MEBKM: form of NTT DOCOMO"},
        OneFlag("youtube", "a video (youtube://)",
                Required("video-id", "ID", "the video's id", {"id"}), payload::YoutubePayload,
                "youtube:// links, RFC 3986"),
        OneFlag("social", "a social network profile link",
                Required("profile-name", "NAME", "profile name", {"profile"}),
                payload::SocialProfileLink, "an http: link, RFC 3986"),
        OneFlag("microblog", "a microblog profile link",
                Required("user-name", "NAME", "user name", {"user"}), payload::MicroblogProfileLink,
                "an http: link, RFC 3986"),
        OneFlag("microblog-status", "a microblog status link",
                Required("status-text", "TEXT", "the status to post", {"status"}),
                payload::MicroblogStatusLink, "an http: link, RFC 3986"),
        {"bbm",
         "a messenger invitation (bbm://)",
         {Required("first-name", "TEXT", "first name", {"first"}),
          Required("last-name", "TEXT", "last name", {"second"}),
          Required("pin", "PIN", "the messenger PIN", {"third"})},
         "",
         [](PayloadFields& f) {
           return payload::BbmPayload(f.Text("first-name"), f.Text("last-name"), f.Text("pin"));
         },
         "the bbm:// invitation of the messenger"},
    };
    for (PayloadCommand& c : RecordCommands()) list.push_back(std::move(c));
    for (PayloadCommand& c : PaymentCommands()) list.push_back(std::move(c));
    return list;
  }();
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
    if (!flag.required) continue;
    const auto it = values.find(flag.name);
    if (it == values.end()) return {std::nullopt, command.name + " needs --" + flag.name};
    // An empty required field makes a code that readers refuse or misread
    // ("mailto:", "tel:"): it is as good as left out.
    if (it->second.empty()) {
      return {std::nullopt, command.name + " needs a --" + flag.name + " that is not empty"};
    }
  }
  PayloadFields fields(command, values);
  std::string content = command.build(fields);
  if (!fields.Error().empty()) return {std::nullopt, fields.Error()};
  return {std::move(content), {}};
}

}  // namespace qrsmith::cli
