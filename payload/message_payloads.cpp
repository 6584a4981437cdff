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

}  // namespace

std::string MailtoPayload(std::string_view address) {
  return "mailto:" + PercentEncode(address, UriPart::kMailtoAddress);
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

std::string TelPayload(std::string_view number) {
  std::string out = "tel:";
  out += number;
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
