#include "payload/card_payloads.h"

namespace qrsmith::payload {
namespace {

// A web address is not text to a card reader, so it is not escaped; only a
// line break, which would end the line, is percent-encoded.
void AddAddressLine(CrlfLines& lines, std::string_view label, const OptionalText& value) {
  if (!value) return;
  std::string line(label);
  for (const char c : *value) {
    if (c == '\n') {
      line += "%0A";
    } else if (c == '\r') {
      line += "%0D";
    } else {
      line.push_back(c);
    }
  }
  lines.Line(line);
}

// label + E(value) + ";", only when the value is supplied.
// The name a card shows: the formatted name, else "given family" (without
// the space when one of them is empty).
std::string ShownName(std::string_view familyName, std::string_view givenName,
                      const OptionalText& formattedName) {
  if (formattedName) return *formattedName;
  if (givenName.empty()) return std::string(familyName);
  if (familyName.empty()) return std::string(givenName);
  return Joined({givenName, " ", familyName});
}

}  // namespace

std::string MecardPayload(std::string_view familyName, std::string_view givenName,
                          const MecardFields& fields) {
  std::string out = "MECARD:N:" + EscapeField(familyName) + "," + EscapeField(givenName) + ";";
  for (const std::string& phone : fields.phones) AppendEscapedField(out, "TEL:", phone);
  AppendEscapedField(out, "TEL-AV:", fields.videoPhone);
  for (const std::string& email : fields.emails) AppendEscapedField(out, "EMAIL:", email);
  // Output order is not input order: the second web address goes before
  // the birthday and the first one after it.
  AppendEscapedField(out, "URL:", fields.secondUrl);
  if (fields.birthday) {
    out += "BDAY:" + FormatDateTime(*fields.birthday, kMecardBirthdayPattern) + ";";
  }
  AppendEscapedField(out, "URL:", fields.firstUrl);
  AppendEscapedField(out, "NICKNAME:", fields.nickname);
  AppendEscapedField(out, "NOTE:", fields.note);
  AppendEscapedField(out, "ADR:", fields.address);
  out += ';';
  return out;
}

std::string VcardPayload(std::string_view familyName, std::string_view givenName,
                         bool showAsCompany, const VcardFields& fields) {
  CrlfLines lines;
  lines.Line("BEGIN:VCARD");
  lines.Line("VERSION:3.0");
  lines.Line("N:" + EscapeText(familyName) + ";" + EscapeText(givenName) + ";;;");
  if (showAsCompany) lines.Line("X-ABShowAs:COMPANY");
  lines.Line("FN:" + EscapeText(ShownName(familyName, givenName, fields.formattedName)));
  lines.Field("NICKNAME:", fields.nickname);
  lines.Field("ORG:", fields.organisation);
  lines.Field("TITLE:", fields.title);
  const auto each = [&](std::string_view label, const std::vector<std::string>& values) {
    for (const std::string& value : values) lines.Field(label, value);
  };
  each("EMAIL;type=INTERNET;type=WORK:", fields.workEmails);
  each("EMAIL;type=INTERNET;type=HOME:", fields.homeEmails);
  each("TEL;type=CELL:", fields.mobilePhones);
  each("TEL;type=WORK:", fields.workPhones);
  each("TEL;type=HOME:", fields.homePhones);
  lines.Field("TEL;type=WORK,FAX:", fields.workFax);
  lines.Field("TEL;type=HOME,FAX:", fields.homeFax);
  // ADR is post-office box;extended address;street;locality;region;postal
  // code;country: an address typed as one text is the street's.
  lines.Field("ADR;type=WORK:;;", fields.workAddress);
  lines.Field("ADR;type=HOME:;;", fields.homeAddress);
  if (fields.street || fields.city || fields.region || fields.postcode || fields.country) {
    std::string adr = "ADR:;";
    for (const OptionalText* part :
         {&fields.street, &fields.city, &fields.region, &fields.postcode, &fields.country}) {
      adr += ';';
      if (*part) adr += EscapeText(**part);
    }
    lines.Line(adr);
  }
  if (fields.latitude && fields.longitude) {
    lines.Line(Joined({"GEO:", *fields.latitude, ";", *fields.longitude}));
  }
  if (fields.birthday) {
    lines.Line("BDAY;value=date:" + FormatDateTime(*fields.birthday, kVcardBirthdayPattern));
  }
  lines.Field("NOTE:", fields.note);
  AddAddressLine(lines, "URL;type=WORK:", fields.workUrl);
  AddAddressLine(lines, "URL;type=HOME:", fields.homeUrl);
  AddAddressLine(lines, "PHOTO;VALUE=uri:", fields.photoUrl);
  lines.Line("END:VCARD");
  return lines.Take();
}

}  // namespace qrsmith::payload
