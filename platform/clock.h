#pragma once
// The local date and time, as the export identifiers stamp it.

namespace qrsmith::platform {

struct LocalDateTime {
  int year = 0;    // e.g. 2026
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..60 (60 only in a leap second)
};

// The current date and time in the process's time zone.
LocalDateTime Now();

}  // namespace qrsmith::platform
