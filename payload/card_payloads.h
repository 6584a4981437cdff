#pragma once
// Contact cards: a MECARD, all on one line, and a vCard 3.0 (RFC 2426),
// whose lines each end in CR LF, the last one too.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <qrsmith/payload/field_format.h>

namespace qrsmith::payload {

// The optional fields of a MECARD, in the order the caller gives them. Each
// member starts out left out (or empty), so callers name only what they
// supply: MecardPayload("Li", "Lei", {.emails = {"li@example.org"}}).
struct MecardFields {
  std::vector<std::string> emails{};  // one EMAIL each, in this order
  std::vector<std::string> phones{};  // one TEL each, in this order
  OptionalText videoPhone{};
  OptionalText firstUrl{};
  OptionalText secondUrl{};
  std::optional<DateTime> birthday{};
  OptionalText nickname{};
  OptionalText note{};
  OptionalText address{};
};

// One line: "MECARD:N:" + E(family) + "," + E(given) + ";", then for each
// supplied field, in this order: TEL (each phone), TEL-AV, EMAIL (each
// address), URL (the second web
// address), BDAY (yyyyMMdd), URL (the first web address), NICKNAME, NOTE,
// ADR; each ends in ";", and a closing ";" ends the record.
std::string MecardPayload(std::string_view familyName, std::string_view givenName,
                          const MecardFields& fields = {});

// The optional fields of a vCard, in the order the caller gives them; the
// e-mail addresses and telephones make one line each, in their order.
struct VcardFields {
  OptionalText formattedName{};
  OptionalText organisation{};
  OptionalText title{};
  std::vector<std::string> workEmails{};
  std::vector<std::string> mobilePhones{};
  std::vector<std::string> workPhones{};
  std::vector<std::string> homePhones{};
  OptionalText workFax{};
  OptionalText homeFax{};
  OptionalText workAddress{};
  OptionalText homeAddress{};
  OptionalText workUrl{};
  OptionalText homeUrl{};
  std::optional<DateTime> birthday{};
  OptionalText nickname{};
  std::vector<std::string> homeEmails{};
  OptionalText note{};
  OptionalText photoUrl{};
  // GEO: a position as RFC 5870 numbers (GeoProblem checks them).
  OptionalText latitude{};
  OptionalText longitude{};
  // A structured address, written as one more ADR when any part is given.
  OptionalText street{};
  OptionalText city{};
  OptionalText region{};
  OptionalText postcode{};
  OptionalText country{};
};

// vCard 3.0: BEGIN, VERSION:3.0, N, X-ABShowAs:COMPANY when showAsCompany,
// then FN (the formatted name, or the given and family names joined by a
// space when it is left out: every card must have one), NICKNAME, ORG,
// TITLE, EMAIL (work, home), TEL (cell, work, home, work fax, home fax), ADR
// (work, home: the whole text is the street component; then the structured
// one), GEO (latitude;longitude, when both are supplied), BDAY (yyyy-MM-dd),
// NOTE, URL (work, home), PHOTO;VALUE=uri, each
// only when supplied, and END:VCARD, every line ended by CR LF. Text values
// are escaped (EscapeText); web addresses are written as given, a line
// break in them percent-encoded.
std::string VcardPayload(std::string_view familyName, std::string_view givenName,
                         bool showAsCompany, const VcardFields& fields = {});

}  // namespace qrsmith::payload
