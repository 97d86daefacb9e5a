#include "library/api/doorlock_clock.h"

#include <cctype>
#include <charconv>

#include "library/session/codecs.h"

namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool Number(int& value) {
    SkipBlanks();
    std::size_t start = at_;
    if (start < text_.size() && text_[start] == '+') {  // from_chars takes '-' only
      ++start;
      if (start < text_.size() && text_[start] == '-') return false;
    }
    const char* first = text_.data() + start;
    const char* last = text_.data() + text_.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{}) return false;
    at_ = static_cast<std::size_t>(end - text_.data());
    return true;
  }
  bool Literal(char c) {
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

bool IsValid(const LockClock& c) {
  if (c.year < 1 || c.year > 9999 || c.month < 1 || c.month > 12) return false;
  if (c.day < 1 || c.day > DaysInMonth(c.year, c.month)) return false;
  if (c.hour < 0 || c.hour > 23 || c.minute < 0 || c.minute > 59 || c.second < 0 || c.second > 59) return false;
  return WeekDayOf(c.year, c.month, c.day) > 0;  // the days the calendar reform skipped
}

}  // namespace

std::optional<LockClock> ParseLockClock(std::string_view text) {
  Reader r(text);
  LockClock c;
  const bool read = r.Number(c.year) && r.Literal('-') && r.Number(c.month) && r.Literal('-') && r.Number(c.day) &&
                    r.Number(c.hour) && r.Literal(':') && r.Number(c.minute) && r.Literal(':') && r.Number(c.second);
  if (!read || !IsValid(c)) return std::nullopt;
  return c;
}
