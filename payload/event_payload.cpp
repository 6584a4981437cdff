#include "payload/event_payload.h"

namespace qrsmith::payload {
namespace {

constexpr std::string_view kRepeatNames[] = {"DAILY", "WEEKLY", "MONTHLY", "YEARLY"};

// "DTSTART" + the value in the event's clock.
std::string TimeLine(std::string_view name, const DateTime& value, const EventFields& fields) {
  if (fields.allDay) return Joined({name, ";VALUE=DATE:", FormatDateTime(value, "yyyyMMdd")});
  const std::string time = FormatDateTime(value, kEventTimePattern);
  if (!fields.timeZone) return Joined({name, ":", time});
  if (*fields.timeZone == "UTC") return Joined({name, ":", time, "Z"});
  return Joined({name, ";TZID=", *fields.timeZone, ":", time});
}

void AddEvent(CrlfLines& lines, std::string_view summary, const DateTime& start,
              const DateTime& end, const EventFields& fields, const std::string& extra) {
  lines.Line("BEGIN:VEVENT");
  if (!extra.empty()) lines.Line(extra);
  lines.Line("SUMMARY:" + EscapeText(summary));
  lines.Field("LOCATION:", fields.location);
  lines.Field("DESCRIPTION:", fields.description);
  lines.Line(TimeLine("DTSTART", start, fields));
  lines.Line(TimeLine("DTEND", fields.allDay ? NextDay(end) : end, fields));
  if (fields.repeat) {
    lines.Line(Joined({"RRULE:FREQ=", kRepeatNames[static_cast<int>(*fields.repeat)]}));
  }
  if (fields.remindMinutes) {
    lines.Line("BEGIN:VALARM");
    lines.Line("ACTION:DISPLAY");
    lines.Line("DESCRIPTION:" + EscapeText(summary));
    lines.Line("TRIGGER:-PT" + std::to_string(*fields.remindMinutes) + "M");
    lines.Line("END:VALARM");
  }
  lines.Line("END:VEVENT");
}

}  // namespace

std::string EventPayload(std::string_view summary, const DateTime& start, const DateTime& end,
                         const EventFields& fields) {
  CrlfLines lines;
  AddEvent(lines, summary, start, end, fields, {});
  return lines.Take();
}

std::string CalendarPayload(std::string_view summary, const DateTime& start, const DateTime& end,
                            const EventFields& fields, std::string_view uid,
                            const DateTime& stamp) {
  CrlfLines lines;
  lines.Line("BEGIN:VCALENDAR");
  lines.Line("VERSION:2.0");
  lines.Line("PRODID:-//qrsmith//qrsmith//EN");
  AddEvent(lines, summary, start, end, fields,
           Joined({"UID:", uid, "\r\nDTSTAMP:", FormatDateTime(stamp, kEventTimePattern), "Z"}));
  lines.Line("END:VCALENDAR");
  return lines.Take();
}

std::string TimeZoneProblem(std::string_view name) {
  if (name.empty()) return "is empty";
  for (const char c : name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '/' || c == '_' || c == '+' || c == '-';
    if (!ok) return "takes a zone name such as Europe/Vienna or UTC";
  }
  return {};
}

}  // namespace qrsmith::payload
