// The record commands: a calendar event, a MECARD and a vCard.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>

#include "cli/cli_options.h"
#include "cli/payload_commands.h"
#include "payload/card_payloads.h"
#include "payload/event_payload.h"
#include "payload/link_payloads.h"

namespace qrsmith::cli {
namespace {

using payload::DateTime;

const char kDateForms[] = "YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS";
const char kVcardStandard[] = "vCard 3.0, RFC 2426 (lines end in CR LF)";

std::optional<int> ReminderMinutes(PayloadFields& f) {
  const auto text = f.Optional("remind");
  if (!text) return std::nullopt;
  const std::string number = text->empty() ? "" : text->substr(0, text->size() - 1);
  const char unit = text->empty() ? 0 : text->back();
  const int scale = unit == 'm' ? 1 : unit == 'h' ? 60 : unit == 'd' ? 1440 : 0;
  const auto value = ParseInteger(number, 0, 99999);
  if (scale == 0 || !value || !std::isdigit(static_cast<unsigned char>(number.front()))) {
    f.Refuse("event --remind takes minutes, hours or days before the start, as 15m, 2h or 1d");
    return std::nullopt;
  }
  return static_cast<int>(*value) * scale;
}

std::string Event(PayloadFields& f) {
  payload::EventFields e{.location = f.Optional("location"),
                         .description = f.Optional("description"),
                         .allDay = f.Has("all-day"),
                         .timeZone = f.Optional("time-zone")};
  const auto start = f.When("start");
  const auto end = f.When("end");
  if (!start || !end) return {};
  if (e.allDay) {
    if (f.Text("start").size() != 10 || f.Text("end").size() != 10) {
      return f.Refuse("event --all-day takes days alone: --start and --end as YYYY-MM-DD");
    }
    if (e.timeZone) return f.Refuse("event --all-day has no time zone: a day is a day everywhere");
    if (payload::CompareDateTime(*end, *start) < 0) {
      return f.Refuse("event --end (the last day) is before --start");
    }
  } else if (payload::CompareDateTime(*end, *start) <= 0) {
    return f.Refuse("event --end must be after --start");
  }
  if (e.timeZone) {
    if (*e.timeZone == "Z" || *e.timeZone == "utc") e.timeZone = "UTC";
    if (f.RefuseFlag("time-zone", payload::TimeZoneProblem(*e.timeZone))) return {};
  }
  e.remindMinutes = ReminderMinutes(f);
  if (const auto repeat = f.Optional("repeat")) {
    static constexpr std::string_view kNames[] = {"daily", "weekly", "monthly", "yearly"};
    const auto* found = std::find(std::begin(kNames), std::end(kNames), *repeat);
    if (found == std::end(kNames)) {
      return f.Refuse("event --repeat takes daily, weekly, monthly or yearly, not '" + *repeat +
                      "'");
    }
    e.repeat = static_cast<payload::Repeat>(found - std::begin(kNames));
  }
  if (!f.Has("calendar")) return payload::EventPayload(f.Text("summary"), *start, *end, e);
  // The stamp is when the object was made, in UTC; the UID names the event
  // by its content, so the same event made twice is one event to a calendar.
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  const DateTime stamp{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                       utc.tm_hour,        utc.tm_min,     utc.tm_sec};
  const std::string bare = payload::EventPayload(f.Text("summary"), *start, *end, e);
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : bare) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  char uid[40];
  std::snprintf(uid, sizeof uid, "%016llx@qrsmith", static_cast<unsigned long long>(hash));
  return payload::CalendarPayload(f.Text("summary"), *start, *end, e, uid, stamp);
}

// A card must name someone: a card reader shows nothing for a card without.
bool CheckName(PayloadFields& f, bool formattedNameTaken) {
  if (f.Text("family-name").empty() && f.Text("given-name").empty() &&
      !(formattedNameTaken && !f.Text("formatted-name").empty())) {
    f.Refuse(f.Command().name + " needs a name: --family-name" +
             (formattedNameTaken ? ", --given-name or --formatted-name" : " or --given-name"));
    return false;
  }
  return true;
}

std::string Mecard(PayloadFields& f) {
  if (!CheckName(f, false)) return {};
  payload::MecardFields fields;
  fields.emails = f.All("email");
  fields.phones = f.All("phone");
  fields.videoPhone = f.Optional("video-phone");
  fields.firstUrl = f.Optional("first-url");
  fields.secondUrl = f.Optional("second-url");
  fields.birthday = f.Day("birthday");
  fields.nickname = f.Optional("nickname");
  fields.note = f.Optional("note");
  fields.address = f.Optional("address");
  return payload::MecardPayload(f.Text("family-name"), f.Text("given-name"), fields);
}

std::string Vcard(PayloadFields& f) {
  if (!CheckName(f, true)) return {};
  payload::VcardFields v;
  v.formattedName = f.Optional("formatted-name");
  v.organisation = f.Optional("organisation");
  v.title = f.Optional("title");
  v.workEmails = f.All("work-email");
  v.mobilePhones = f.All("mobile-phone");
  v.workPhones = f.All("work-phone");
  v.homePhones = f.All("home-phone");
  v.workFax = f.Optional("work-fax");
  v.homeFax = f.Optional("home-fax");
  v.workAddress = f.Optional("work-address");
  v.homeAddress = f.Optional("home-address");
  v.workUrl = f.Optional("work-url");
  v.homeUrl = f.Optional("home-url");
  v.birthday = f.Day("birthday");
  v.nickname = f.Optional("nickname");
  v.homeEmails = f.All("home-email");
  v.note = f.Optional("note");
  v.photoUrl = f.Optional("photo-url");
  v.street = f.Optional("street");
  v.city = f.Optional("city");
  v.region = f.Optional("region");
  v.postcode = f.Optional("postcode");
  v.country = f.Optional("country");
  if (f.Has("latitude") != f.Has("longitude")) {
    return f.Refuse("vcard takes --latitude and --longitude together");
  }
  if (f.Has("latitude")) {
    const std::string problem = payload::GeoProblem(f.Text("latitude"), f.Text("longitude"));
    if (!problem.empty()) return f.Refuse("vcard: the " + problem);
    v.latitude = f.Optional("latitude");
    v.longitude = f.Optional("longitude");
  }
  return payload::VcardPayload(f.Text("family-name"), f.Text("given-name"),
                               f.Has("show-as-company"), v);
}

}  // namespace

std::vector<PayloadCommand> RecordCommands() {
  return {
      {"event",
       "a calendar event (VEVENT)",
       {Required("summary", "TEXT", "title"), Required("start", "DATE", kDateForms),
        Required("end", "DATE", kDateForms + std::string(", after the start")),
        Value("location", "TEXT", "place"), Value("description", "TEXT", "text"),
        Switch("all-day", "the event takes whole days, --start to --end (the last day)"),
        Value("time-zone", "ZONE", "UTC, or a zone such as Europe/Vienna (TZID)"),
        Value("remind", "TIME", "an alarm this long before the start: 15m, 2h, 1d"),
        Value("repeat", "FREQ", "daily, weekly, monthly or yearly"),
        Switch("calendar", "a whole VCALENDAR with UID and DTSTAMP, for importing")},
       "Times are local unless --time-zone names their zone. A date alone means its\n"
       "midnight, or a whole day with --all-day.",
       Event,
       "iCalendar, RFC 5545 (lines end in CR LF)"},
      {"mecard",
       "a contact card (MECARD)",
       {Value("family-name", "TEXT", "family name"), Value("given-name", "TEXT", "given name"),
        Values("email", "ADDRESS", "e-mail"), Values("phone", "NUMBER", "telephone"),
        Value("video-phone", "NUMBER", "video telephone"),
        Value("first-url", "URL", "first web address", {"url"}),
        Value("second-url", "URL", "second web address"), Value("birthday", "DATE", "YYYY-MM-DD"),
        Value("nickname", "TEXT", "nickname"), Value("note", "TEXT", "note"),
        Value("address", "TEXT", "postal address")},
       "A card needs a family or a given name.",
       Mecard,
       "the MECARD form of NTT DOCOMO"},
      {"vcard",
       "a contact card (vCard 3.0)",
       {Value("family-name", "TEXT", "family name"),
        Value("given-name", "TEXT", "given name"),
        Switch("show-as-company", "show the card as a company's", {"company"}),
        Value("formatted-name", "TEXT", "name as shown (default: given and family name)"),
        Value("nickname", "TEXT", "nickname"),
        Value("organisation", "TEXT", "organisation"),
        Value("title", "TEXT", "job title"),
        Values("work-email", "ADDRESS", "e-mail"),
        Values("home-email", "ADDRESS", "e-mail"),
        Values("mobile-phone", "NUMBER", "telephone"),
        Values("work-phone", "NUMBER", "telephone"),
        Values("home-phone", "NUMBER", "telephone"),
        Value("work-fax", "NUMBER", "fax"),
        Value("home-fax", "NUMBER", "fax"),
        Value("work-address", "TEXT", "address, as one street text"),
        Value("home-address", "TEXT", "address, as one street text"),
        Value("street", "TEXT", "structured address: street and number"),
        Value("city", "TEXT", "structured address: town"),
        Value("region", "TEXT", "structured address: region or state"),
        Value("postcode", "TEXT", "structured address: postal code"),
        Value("country", "TEXT", "structured address: country"),
        Value("work-url", "URL", "web address"),
        Value("home-url", "URL", "web address"),
        Value("photo-url", "URL", "address of a photo"),
        Value("latitude", "DEGREES", "position (GEO), with --longitude"),
        Value("longitude", "DEGREES", "position (GEO), with --latitude"),
        Value("note", "TEXT", "note"),
        Value("birthday", "DATE", "YYYY-MM-DD")},
       "A card needs a name: --family-name, --given-name or --formatted-name.",
       Vcard,
       kVcardStandard},
  };
}

}  // namespace qrsmith::cli
