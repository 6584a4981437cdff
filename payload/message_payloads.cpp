#include "payload/message_payloads.h"

namespace qrsmith::payload {
namespace {

// "<scheme>" + number, then ":" + message when a message is supplied.
std::string MessagePayload(std::string_view scheme, std::string_view number,
                           const OptionalText& message) {
  std::string out(scheme);
  out += number;
  if (message) {
    out += ':';
    out += *message;
  }
  return out;
}

// A text as an RFC 6068 header value: line breaks become CR LF first.
std::string MailtoText(std::string_view text) {
  std::string crlf;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      crlf += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      crlf.push_back(text[i]);
    }
  }
  return PercentEncode(crlf, UriPart::kPathSegment);
}

// A number in a tel: or sms: link: "#" would start the link's fragment
// (RFC 3986 3.5) and "%" an escape, so both are percent-encoded.
std::string TelNumber(std::string_view number) {
  std::string out;
  for (const char c : number) {
    if (c == '#') {
      out += "%23";
    } else if (c == '%') {
      out += "%25";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::string MailtoPayload(std::string_view address, const MailtoFields& fields) {
  std::string out = "mailto:" + PercentEncode(address, UriPart::kMailtoAddress);
  char separator = '?';
  const auto add = [&](std::string_view name, const OptionalText& value, bool isAddress) {
    if (!value) return;
    out += separator;
    out += name;
    out += isAddress ? PercentEncode(*value, UriPart::kMailtoAddress) : MailtoText(*value);
    separator = '&';
  };
  add("cc=", fields.cc, true);
  add("bcc=", fields.bcc, true);
  add("subject=", fields.subject, false);
  add("body=", fields.body, false);
  return out;
}

std::string SmtpPayload(std::string_view address, const OptionalText& subject,
                        const OptionalText& body) {
  std::string out = "SMTP:";
  out += address;
  if (subject) {
    out += ':';
    out += *subject;
    if (body) {
      out += ':';
      out += *body;
    }
  } else if (body) {
    out += "::";
    out += *body;
  }
  return out;
}

std::string TelPayload(std::string_view number) { return Joined({"tel:", TelNumber(number)}); }

std::string SmsUriPayload(std::string_view number, const OptionalText& message) {
  std::string out = Joined({"sms:", TelNumber(number)});
  if (message) out += "?body=" + MailtoText(*message);
  return out;
}

std::string SmsPayload(std::string_view number, const OptionalText& message) {
  return MessagePayload("smsto:", number, message);
}

std::string MmsPayload(std::string_view number, const OptionalText& message) {
  return MessagePayload("mmsto:", number, message);
}

std::string BbmPayload(std::string_view firstName, std::string_view lastName,
                       std::string_view pin) {
  std::string out = "bbm://";
  out += pin;
  out += "00000000";
  out += firstName;
  out += ' ';
  out += lastName;
  return out;
}

}  // namespace qrsmith::payload
