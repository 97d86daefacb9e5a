#include "library/api/json_real.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kSignificantDigits = 16;

// std::to_chars never consults the locale, unlike printf.
std::string ToChars(double value, std::chars_format format, int precision) {
  std::array<char, 64> buffer{};  // 16 digits, sign, point, zeros and exponent
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
  return std::string(buffer.data(), result.ptr);
}

// The decimal exponent of the value once rounded to 16 significant digits.
int DecimalExponent(const std::string& scientific) {
  const std::size_t e = scientific.find('e');
  return std::atoi(scientific.c_str() + e + 1);
}

// "%#.16g": fixed notation when the exponent lies in -4..15, scientific
// otherwise; all 16 digits and the decimal point kept.
std::string AlternateGeneral(double value) {
  std::string scientific = ToChars(value, std::chars_format::scientific, kSignificantDigits - 1);
  const int exponent = DecimalExponent(scientific);
  if (exponent < -4 || exponent >= kSignificantDigits) return scientific;
  std::string fixed = ToChars(value, std::chars_format::fixed, kSignificantDigits - 1 - exponent);
  if (fixed.find('.') == std::string::npos) fixed += '.';
  return fixed;
}

}  // namespace

std::string TrimJsonRealZeros(std::string text) {
  if (text.empty() || text.back() != '0') return text;
  std::size_t lastOther = text.size() - 1;
  while (lastOther > 0 && text[lastOther] == '0') --lastOther;
  // Only a run of digits back to the decimal point is a fraction; an
  // exponent ("e+20") or anything else leaves the text as it is.
  for (std::size_t i = lastOther + 1; i-- > 0;) {
    const char c = text[i];
    if (c >= '0' && c <= '9') continue;
    if (c == '.') text.resize(lastOther + 2);
    return text;
  }
  return text;
}

std::string FormatJsonReal(double value) {
  if (!std::isfinite(value)) return "null";
  std::string text = TrimJsonRealZeros(AlternateGeneral(value));
  if (text.back() == '.') text += '0';
  return text;
}
