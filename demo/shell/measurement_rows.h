#pragma once
// Rows of the measurement lists of device pages: index, time of day (UTC)
// and the values, with the view following the newest row only while the
// user looks at the end of the list.
#include <optional>
#include <string>
#include <vector>

#include "demo/shell/clock_time.h"

class QTableWidget;

// "%02d:%02d:%02d.%03d".
std::string FormatRowTime(const TimeOfDay& time);
// "%.*f" with a precision read from a message; a negative one prints 6
// digits as printf does, and more than 20 digits are not written.
std::string FormatPrecision(double value, int precision);

// Appends a row: "%d" of the row count plus 1, the time, the values, and
// `lastText` in the next column when the list has a column for it. Scrolls
// the new row into view when the view showed one of the last rows. Returns 1.
int AddMeasurementRow(QTableWidget& list, const TimeOfDay& utcTime, const std::vector<std::string>& values,
                      const std::optional<std::string>& lastText = std::nullopt);
