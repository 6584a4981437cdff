#include "platform/clock.h"

#include <ctime>

namespace qrsmith::platform {

LocalDateTime Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  // localtime_r, unlike localtime, shares no buffer with other threads.
  if (::localtime_r(&now, &local) == nullptr) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace qrsmith::platform
