// The report timestamp and the clock it is read from. The clock is injectable so that
// tests can pin the time a report shows.
//
// Formatting is pure and thread-safe; the system clock reads the local time zone.
#pragma once

#include <functional>
#include <string>

namespace lindrel::reports {

// A local calendar time, as shown in a report header.
struct LocalTime {
  int year = 1970;
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int weekday = 4;  // 0 Sunday .. 6 Saturday
  int hour = 0;     // 0..23
  int minute = 0;
  int second = 0;
};

using ReportClock = std::function<LocalTime()>;

// The local time of the machine, now.
LocalTime SystemLocalTime();

// "ddd, MM/dd/yyyy h:mm:ss tt" with English day names and AM/PM whatever the locale,
// for example "Sun, 12/06/2026 3:05:50 PM".
std::string FormatReportTimestamp(const LocalTime& time);

}  // namespace lindrel::reports
