// The clock of the object list: date-time values counted in days, as the
// world's tools exchange them, and their Unix seconds.
#pragma once

// Days since 1899-12-30 00:00, with the fraction of the day.
using TDateTime = double;

// The system clock in UTC minus two hours; 0 when the clock cannot be read.
TDateTime StampNow();

// Round((T - 25569) * 86400): seconds since 1970-01-01; 0 when out of range.
int DateTimeToUnix(TDateTime t);
