#pragma once
// A calendar event in iCalendar (RFC 5545): a bare VEVENT, which phone
// readers take from a symbol, or a whole VCALENDAR object that calendar
// programs import.

#include <optional>
#include <string>
#include <string_view>

#include <qrsmith/payload/field_format.h>

namespace qrsmith::payload {

// How often an event comes back (RRULE FREQ).
enum class Repeat { kDaily, kWeekly, kMonthly, kYearly };

// The optional parts of an event. Each member starts out left out.
struct EventFields {
  OptionalText location{};
  OptionalText description{};
  // Start and end are days: DTSTART;VALUE=DATE, and DTEND the day after
  // the end day, since iCalendar's end is exclusive. Their times are ignored.
  bool allDay = false;
  // The clock the times are read on: left out, local ("floating") time;
  // "UTC", times ending in "Z"; any other name, a TZID parameter.
  OptionalText timeZone{};
  std::optional<int> remindMinutes{};  // a VALARM this many minutes before the start
  std::optional<Repeat> repeat{};
};

// BEGIN:VEVENT, SUMMARY, LOCATION and DESCRIPTION (each only when supplied),
// DTSTART, DTEND, RRULE, a VALARM, END:VEVENT, every line ended by CR LF.
// The texts are escaped as iCalendar text values (EscapeText); times are
// written yyyyMMddThhmmss.
std::string EventPayload(std::string_view summary, const DateTime& start, const DateTime& end,
                         const EventFields& fields = {});

// The same event inside BEGIN:VCALENDAR, VERSION:2.0, PRODID, with the UID
// and the DTSTAMP (a UTC time) that importing programs require.
std::string CalendarPayload(std::string_view summary, const DateTime& start, const DateTime& end,
                            const EventFields& fields, std::string_view uid, const DateTime& stamp);

// Why a time-zone name cannot go into a TZID parameter, or "" when it can:
// a name of letters, digits and "/_+-" (as the tz database's are).
std::string TimeZoneProblem(std::string_view name);

}  // namespace qrsmith::payload
