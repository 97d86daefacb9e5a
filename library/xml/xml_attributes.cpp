#include "library/xml/xml_attributes.h"

#include "library/xml/xml_text_rules.h"

using xmlrules::CharStep;
using xmlrules::IsWhiteSpace;

namespace {

int SkipWhiteSpace(std::string_view text, int p, int end) {
  while (p < end && IsWhiteSpace(text[p])) ++p;
  return p;
}

// A quoted string starting at `p` (the quote); returns the offset after the
// closing quote, or `end` when it is missing. `*inner` is where it closes.
int SkipQuoted(std::string_view text, int p, int end, int* innerEnd) {
  const char quote = text[p];
  for (int q = p + 1; q < end; q += CharStep(text, q, end)) {
    if (text[q] == quote) {
      *innerEnd = q;
      return q + 1;
    }
  }
  *innerEnd = end;
  return end;
}

}  // namespace

int ScanXmlAttributes(std::string_view text, int begin, int end,
                      const std::function<bool(const XmlAttributeSpan&)>& visit) {
  const int size = static_cast<int>(text.size());
  if (end > size) end = size;
  int p = begin;
  while (true) {
    p = SkipWhiteSpace(text, p, end);
    if (p >= end) return end;
    const char c = text[p];
    if (c == '/' || c == '>' || c == '?') return p;
    if (c == '"' || c == '\'') {  // a quoted string without a name
      int innerEnd = 0;
      p = SkipQuoted(text, p, end, &innerEnd);
      continue;
    }
    XmlAttributeSpan span;
    span.nameBegin = p;
    while (p < end) {
      const char d = text[p];
      if (IsWhiteSpace(d) || d == '/' || d == '=' || d == '>' || d == '?') break;
      p += CharStep(text, p, end);
    }
    if (p > end) p = end;
    span.nameEnd = p;
    int q = SkipWhiteSpace(text, p, end);
    if (q < end && text[q] == '=') {
      q = SkipWhiteSpace(text, q + 1, end);
      span.hasValue = true;
      span.tokenBegin = q;
      if (q < end && (text[q] == '"' || text[q] == '\'')) {
        span.valueBegin = q + 1;
        span.tokenEnd = SkipQuoted(text, q, end, &span.valueEnd);
      } else {
        span.valueBegin = q;
        while (q < end && !IsWhiteSpace(text[q]) && text[q] != '>') q += CharStep(text, q, end);
        if (q > end) q = end;
        span.valueEnd = span.tokenEnd = q;
      }
      p = span.tokenEnd;
    }
    if (span.nameEnd == span.nameBegin && !span.hasValue) {
      p += CharStep(text, p, end);  // never stand still
      continue;
    }
    if (!visit(span)) return p;
  }
}
