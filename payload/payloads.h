#pragma once
// Every content payload builder, for callers that want them all. Each
// builder is a pure function: texts in (UTF-8), the finished content text out.
// None keeps state or fails; the *Problem functions beside them say why
// inputs break a rule of their form, for callers that refuse them.

#include <qrsmith/payload/card_payloads.h>     // IWYU pragma: export
#include <qrsmith/payload/event_payload.h>     // IWYU pragma: export
#include <qrsmith/payload/field_format.h>      // IWYU pragma: export
#include <qrsmith/payload/link_payloads.h>     // IWYU pragma: export
#include <qrsmith/payload/message_payloads.h>  // IWYU pragma: export
#include <qrsmith/payload/payment_payloads.h>  // IWYU pragma: export
#include <qrsmith/payload/wifi_payload.h>      // IWYU pragma: export
