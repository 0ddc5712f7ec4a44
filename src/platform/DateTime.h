#pragma once
// The platform's date-time value: days since 30 December 1899, the fraction being the time
// of day (for dates before then the fraction still counts forward from midnight).
using TDateTime = double;

// The system's local date and time.
TDateTime Now();
