#include "objdb/time_stamp.h"

#include <cstdio>

#include "platform/platform.h"

namespace korva {

int UtcOffsetHours(const std::tm& local, const std::tm& utc) {
  int offset = local.tm_hour - utc.tm_hour;
  if (local.tm_yday != utc.tm_yday) {
    int days = local.tm_yday - utc.tm_yday;
    // One day ahead, or a year end crossed forwards (31 Dec UTC, 1 Jan local).
    if (days == 1 || days < -1) offset += 24;
    else offset -= 24;
  }
  return offset;
}

bool FormatTimeStamp(std::time_t t, char* buf, std::size_t size) {
  if (size > 0) buf[0] = '\0';
  std::tm local, utc;
  if (t == static_cast<std::time_t>(-1) || !platform::LocalTime(t, &local) ||
      !platform::UtcTime(t, &utc))
    return false;
  std::snprintf(buf, size, "%04d-%02d-%02dT%02d:%02d:%02d%0+3d:00", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                UtcOffsetHours(local, utc));
  return true;
}

bool CurrentTimeStamp(char* buf, std::size_t size) {
  return FormatTimeStamp(std::time(nullptr), buf, size);
}

}  // namespace korva
