#pragma once
// Payloads that start a message or a call: e-mail, phone, short and
// multimedia messages, and the messenger invitation. These forms know no
// backslash escapes (a reader would show every backslash), so the fields go
// in as given; a reader splits SMTP, smsto and mmsto at the first colons,
// which callers keep out of the fields before the last (the address and
// subject, the number).

#include <string>
#include <string_view>

#include <qrsmith/payload/field_format.h>

namespace qrsmith::payload {

// The header fields a mailto link may carry besides the address.
struct MailtoFields {
  OptionalText subject{};
  OptionalText body{};
  OptionalText cc{};
  OptionalText bcc{};
};

// "mailto:" + the address percent-encoded as RFC 6068 asks, then "?" and
// the supplied fields as "cc=", "bcc=", "subject=", "body=", joined by "&":
// addresses encoded like the first, texts keeping only unreserved
// characters (a space is "%20", a line break "%0D%0A" as RFC 6068 asks).
std::string MailtoPayload(std::string_view address, const MailtoFields& fields = {});

// "SMTP:" + address, then ":" + subject and ":" + body for those
// supplied; a body without a subject is written after "::", so that a reader
// still finds it in the third field.
std::string SmtpPayload(std::string_view address, const OptionalText& subject = std::nullopt,
                        const OptionalText& body = std::nullopt);

// "tel:" + number, "#" and "%" percent-encoded (a "#" would start the
// link's fragment, RFC 3986 3.5).
std::string TelPayload(std::string_view number);

// "smsto:" + number, then ":" + message when a message is supplied.
std::string SmsPayload(std::string_view number, const OptionalText& message = std::nullopt);

// RFC 5724: "sms:" + number ("#" and "%" encoded as for tel:), then "?body=" + the message percent-encoded
// when a message is supplied.
std::string SmsUriPayload(std::string_view number, const OptionalText& message = std::nullopt);

// "mmsto:" + number, then ":" + message when a message is supplied.
std::string MmsPayload(std::string_view number, const OptionalText& message = std::nullopt);

// Messenger invitation: "bbm://" + pin + "00000000" + firstName + " " +
// lastName, nothing escaped.
std::string BbmPayload(std::string_view firstName, std::string_view lastName, std::string_view pin);

}  // namespace qrsmith::payload
