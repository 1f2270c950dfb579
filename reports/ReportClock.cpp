#include "reports/ReportClock.h"

#include <cstdio>
#include <ctime>

namespace lindrel::reports {

LocalTime SystemLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  ::localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_wday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string FormatReportTimestamp(const LocalTime& time) {
  // Spelled out rather than taken from the C library so that the user's locale never
  // leaks into a report.
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const char* day = (time.weekday >= 0 && time.weekday <= 6) ? kDays[time.weekday] : "???";
  const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
  const char* meridiem = time.hour < 12 ? "AM" : "PM";
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d/%02d/%04d %d:%02d:%02d %s", day, time.month,
                time.day, time.year, hour12, time.minute, time.second, meridiem);
  return text;
}

}  // namespace lindrel::reports
