#include "library/api/scaled_value.h"

#include <cmath>
#include <limits>

std::optional<std::int64_t> ScaleFloat(float value, std::int64_t factor, std::int64_t min, std::int64_t max) {
  if (!std::isfinite(value) || factor <= 0) return std::nullopt;
  const double exact = static_cast<double>(value) * static_cast<double>(factor);
  const double magnitude = std::fabs(static_cast<double>(value));
  const double ulp =
      static_cast<double>(std::nextafter(static_cast<float>(magnitude), std::numeric_limits<float>::infinity())) -
      magnitude;
  const double nearest = std::round(exact);
  const double scaled = std::fabs(exact - nearest) <= ulp * static_cast<double>(factor) ? nearest : std::trunc(exact);
  if (scaled < static_cast<double>(min) || scaled > static_cast<double>(max)) return std::nullopt;
  return static_cast<std::int64_t>(scaled);
}
