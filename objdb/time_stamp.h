// Time stamps in the form written to log files and exchange-file headers:
// "YYYY-MM-DDThh:mm:ss+HH:00", local time followed by the signed offset of
// local time from universal time in whole hours (minutes always "00").
#ifndef KORVA_OBJDB_TIME_STAMP_H
#define KORVA_OBJDB_TIME_STAMP_H

#include <cstddef>
#include <ctime>

namespace korva {

// Whole-hour offset of a local broken-down time from the universal one: the
// local hour minus the universal hour, corrected by 24 when the two fall on
// different days of the year (also across a year end).
int UtcOffsetHours(const std::tm& local, const std::tm& utc);

// Writes the time stamp of `t` into `buf` (at least 32 bytes).  Returns false
// and leaves an empty string when the clock value cannot be converted.
bool FormatTimeStamp(std::time_t t, char* buf, std::size_t size);

// Time stamp of the current time; false when the clock cannot be read.
bool CurrentTimeStamp(char* buf, std::size_t size);

}  // namespace korva

#endif  // KORVA_OBJDB_TIME_STAMP_H
