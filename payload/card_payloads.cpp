#include "payload/card_payloads.h"

namespace qrsmith::payload {
namespace {

// Collects lines and joins them with LF, leaving the last one unterminated.
class LineWriter {
 public:
  void Line(std::string_view text) {
    if (!out_.empty()) out_ += '\n';
    out_ += text;
  }
  // label + the escaped text value, only when the value is supplied.
  void Field(std::string_view label, const OptionalText& value) {
    if (value) Line(std::string(label) + EscapeText(*value));
  }
  // label + a web address as given, only when it is supplied. A web address
  // is not text to a card reader, so it is not escaped; only a line break,
  // which would end the line, is percent-encoded.
  void Address(std::string_view label, const OptionalText& value) {
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
    Line(line);
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// label + E(value) + ";", only when the value is supplied.
void AppendMecardField(std::string& out, std::string_view label, const OptionalText& value) {
  if (!value) return;
  out += label;
  out += EscapeField(*value);
  out += ';';
}

}  // namespace

std::string EventPayload(std::string_view summary, const DateTime& start, const DateTime& end,
                         const OptionalText& location, const OptionalText& description) {
  LineWriter lines;
  lines.Line("BEGIN:VEVENT");
  lines.Line("SUMMARY:" + EscapeText(summary));
  lines.Field("LOCATION:", location);
  lines.Field("DESCRIPTION:", description);
  lines.Line("DTSTART:" + FormatDateTime(start, kEventTimePattern));
  lines.Line("DTEND:" + FormatDateTime(end, kEventTimePattern));
  lines.Line("END:VEVENT");
  return lines.Take();
}

std::string MecardPayload(std::string_view familyName, std::string_view givenName,
                          const MecardFields& fields) {
  std::string out = "MECARD:N:" + EscapeField(familyName) + "," + EscapeField(givenName) + ";";
  AppendMecardField(out, "TEL:", fields.phone);
  AppendMecardField(out, "TEL-AV:", fields.videoPhone);
  AppendMecardField(out, "EMAIL:", fields.email);
  // Output order is not input order: the second web address goes before
  // the birthday and the first one after it.
  AppendMecardField(out, "URL:", fields.secondUrl);
  if (fields.birthday) {
    out += "BDAY:" + FormatDateTime(*fields.birthday, kMecardBirthdayPattern) + ";";
  }
  AppendMecardField(out, "URL:", fields.firstUrl);
  out += ';';
  return out;
}

std::string VcardPayload(std::string_view familyName, std::string_view givenName,
                         bool showAsCompany, const VcardFields& fields) {
  LineWriter lines;
  lines.Line("BEGIN:VCARD");
  lines.Line("VERSION:3.0");
  lines.Line("N:" + EscapeText(familyName) + ";" + EscapeText(givenName) + ";;");
  if (showAsCompany) lines.Line("X-ABShowAs:COMPANY");
  lines.Field("FN:", fields.formattedName);
  lines.Field("ORG:", fields.organisation);
  lines.Field("TITLE:", fields.title);
  lines.Field("EMAIL;type=INTERNET;type=WORK:", fields.workEmail);
  lines.Field("TEL;type=CELL:", fields.mobilePhone);
  lines.Field("TEL;type=WORK:", fields.workPhone);
  lines.Field("TEL;type=HOME:", fields.homePhone);
  lines.Field("TEL;type=WORK,FAX:", fields.workFax);
  lines.Field("TEL;type=HOME,FAX:", fields.homeFax);
  lines.Field("ADR;type=WORK:", fields.workAddress);
  lines.Field("ADR;type=HOME:", fields.homeAddress);
  if (fields.birthday) {
    lines.Line("BDAY;value=date:" + FormatDateTime(*fields.birthday, kVcardBirthdayPattern));
  }
  lines.Address("URL;type=WORK:", fields.workUrl);
  lines.Address("URL;type=HOME:", fields.homeUrl);
  lines.Line("END:VCARD");
  return lines.Take();
}

}  // namespace qrsmith::payload
