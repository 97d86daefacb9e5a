#pragma once
// Float arguments that devices take as integers scaled by a power of ten
// (limits × 10, currents × 1000, ...). The scaled value is rounded to the
// nearest integer when it lies within the float's own representation error
// of it (0.7 × 10 is 7, not 6), and truncated toward zero otherwise
// (25.37 × 10 is 253). A value whose result lies outside [min, max], or that
// is not a number, is refused.
#include <cstdint>
#include <optional>

std::optional<std::int64_t> ScaleFloat(float value, std::int64_t factor, std::int64_t min, std::int64_t max);
