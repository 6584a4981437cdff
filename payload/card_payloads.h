#pragma once
// Payloads that carry a record of several fields: a calendar event
// (iCalendar VEVENT), a MECARD and a vCard 3.0. The line-based ones end each
// line with LF alone, except the last, which has no line break.

#include <optional>
#include <string>
#include <string_view>

#include "payload/field_format.h"

namespace qrsmith::payload {

// BEGIN:VEVENT, SUMMARY, LOCATION and DESCRIPTION (each only when supplied),
// DTSTART, DTEND, END:VEVENT. The texts are escaped as iCalendar text values
// (EscapeText). Times are local, as yyyyMMddThhmmss, without a
// zone suffix; the event stands alone, with no calendar object around it.
std::string EventPayload(std::string_view summary, const DateTime& start, const DateTime& end,
                         const OptionalText& location = std::nullopt,
                         const OptionalText& description = std::nullopt);

// The optional fields of a MECARD, in the order the caller gives them. Each
// member starts out left out, so callers name only what they supply:
// MecardPayload("Li", "Lei", {.email = "li@example.org"}).
struct MecardFields {
  OptionalText email{};
  OptionalText phone{};
  OptionalText videoPhone{};
  OptionalText firstUrl{};
  OptionalText secondUrl{};
  std::optional<DateTime> birthday{};
};

// One line: "MECARD:N:" + E(family) + "," + E(given) + ";", then for each
// supplied field, in this order: TEL, TEL-AV, EMAIL, URL (the second web
// address), BDAY (yyyyMMdd), URL (the first web address); each ends in ";",
// and a closing ";" ends the record.
std::string MecardPayload(std::string_view familyName, std::string_view givenName,
                          const MecardFields& fields = {});

// The optional fields of a vCard, in the order the caller gives them.
struct VcardFields {
  OptionalText formattedName{};
  OptionalText organisation{};
  OptionalText title{};
  OptionalText workEmail{};
  OptionalText mobilePhone{};
  OptionalText workPhone{};
  OptionalText homePhone{};
  OptionalText workFax{};
  OptionalText homeFax{};
  OptionalText workAddress{};
  OptionalText homeAddress{};
  OptionalText workUrl{};
  OptionalText homeUrl{};
  std::optional<DateTime> birthday{};
};

// vCard 3.0: BEGIN, VERSION:3.0, N, X-ABShowAs:COMPANY when showAsCompany,
// then FN, ORG, TITLE, EMAIL, TEL (cell, work, home, work fax, home fax),
// ADR (work, home), BDAY (yyyy-MM-dd), URL (work, home), each only when
// supplied, and END:VCARD. Every text value is escaped whole (EscapeText):
// an address is one text, not split into components. The web addresses are
// written as given, a line break in them percent-encoded.
std::string VcardPayload(std::string_view familyName, std::string_view givenName,
                         bool showAsCompany, const VcardFields& fields = {});

}  // namespace qrsmith::payload
