#include "payload/message_payloads.h"

namespace qrsmith::payload {
namespace {

// "<scheme>" + E(number), then ":" + E(message) when a message is supplied.
std::string MessagePayload(std::string_view scheme, std::string_view number,
                           const OptionalText& message) {
  std::string out(scheme);
  out += EscapeField(number);
  if (message) {
    out += ':';
    out += EscapeField(*message);
  }
  return out;
}

}  // namespace

std::string MailtoPayload(std::string_view address) { return "mailto:" + EscapeField(address); }

std::string SmtpPayload(std::string_view address, const OptionalText& subject,
                        const OptionalText& body) {
  std::string out = "SMTP:" + EscapeField(address);
  if (subject) {
    out += ':';
    out += EscapeField(*subject);
    if (body) {
      out += ':';
      out += EscapeField(*body);
    }
  } else if (body) {
    out += "::";
    out += EscapeField(*body);
  }
  return out;
}

std::string TelPayload(std::string_view number) { return "tel:" + EscapeField(number); }

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
