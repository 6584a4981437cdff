#pragma once
// Payloads that start a message or a call: e-mail, phone, short and
// multimedia messages, and the messenger invitation.

#include <string>
#include <string_view>

#include "payload/field_format.h"

namespace qrsmith::payload {

// "mailto:" + E(address).
std::string MailtoPayload(std::string_view address);

// "SMTP:" + E(address), then ":" + E(subject) and ":" + E(body) for those
// supplied; a body without a subject is written after "::", so that a reader
// still finds it in the third field.
std::string SmtpPayload(std::string_view address, const OptionalText& subject = std::nullopt,
                        const OptionalText& body = std::nullopt);

// "tel:" + E(number).
std::string TelPayload(std::string_view number);

// "smsto:" + E(number), then ":" + E(message) when a message is supplied.
std::string SmsPayload(std::string_view number, const OptionalText& message = std::nullopt);

// "mmsto:" + E(number), then ":" + E(message) when a message is supplied.
std::string MmsPayload(std::string_view number, const OptionalText& message = std::nullopt);

// Messenger invitation: "bbm://" + pin + "00000000" + firstName + " " +
// lastName, nothing escaped.
std::string BbmPayload(std::string_view firstName, std::string_view lastName, std::string_view pin);

}  // namespace qrsmith::payload
