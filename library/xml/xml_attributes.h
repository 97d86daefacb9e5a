#pragma once
// Walks the attributes of a start tag or the pseudo-attributes of a
// processing instruction.
#include <functional>
#include <string_view>

struct XmlAttributeSpan {
  int nameBegin = 0;
  int nameEnd = 0;
  bool hasValue = false;
  int valueBegin = 0;  // inside the quotes, if any
  int valueEnd = 0;
  int tokenBegin = 0;  // the value with its quotes
  int tokenEnd = 0;
};

// Scans text[begin, end) (the part after the tag name). `visit` returns false
// to stop early. Returns the offset where the attributes ended: at a '/',
// '>' or '?' that follows a token, or `end`.
int ScanXmlAttributes(std::string_view text, int begin, int end,
                      const std::function<bool(const XmlAttributeSpan&)>& visit);
