#include "library/xml/xml_token_scanner.h"

#include <utility>

#include "library/xml/xml_text_rules.h"
#include "platform/code_page.h"

using xmlrules::IsWhiteSpace;

using xmlscan::ClassOf;
using xmlscan::kNameStop;
using xmlscan::kQuestion;
using xmlscan::kSpace;

XmlTokenScanner::XmlTokenScanner(std::string_view text, int begin, int end) : text_(text) {
  const int size = static_cast<int>(text.size());
  end_ = end < size ? end : size;
  pos_ = begin < end_ ? begin : end_;
  if (pos_ < 0) pos_ = 0;
  nameStart_ = nameEnd_ = pos_;
  // The scanner only ever tests for bytes below 0x80. In UTF-8 no byte of a
  // multi-byte character is below 0x80 and the code page's step never
  // passes over one, so stepping bytewise stops on the same positions.
  byteSteps_ = plat::ProcessCodePage() == plat::kCodePageUtf8;
}

std::vector<XmlScanEvent> XmlTokenScanner::TakeEvents() { return std::exchange(events_, {}); }

// Forward search on character boundaries, so that a trail byte of a
// double-byte character is never taken for part of the pattern.
int XmlTokenScanner::FindPattern(int from, std::string_view pattern) const {
  const int length = static_cast<int>(pattern.size());
  for (int p = from; p < end_; p += Step(p))
    if (end_ - p >= length && text_.compare(p, pattern.size(), pattern) == 0) return p;
  return -1;
}

int XmlTokenScanner::ScanName(int pos, bool stopAtQuestion) const {
  if (byteSteps_ && !stopAtQuestion) return xmlscan::FindNameStop(text_.data(), pos, end_);
  const unsigned char stops = stopAtQuestion ? kNameStop | kQuestion : kNameStop;
  if (byteSteps_) {
    const char* const data = text_.data();
    const int end = end_;
    while (pos < end && !(ClassOf(data[pos]) & stops)) ++pos;
    return pos < end ? pos : end;
  }
  while (pos < end_) {
    if (ClassOf(text_[pos]) & stops) break;
    pos += Step(pos);
  }
  return pos < end_ ? pos : end_;
}

XmlToken XmlTokenScanner::Finish(XmlToken token, int kind, int end) {
  token.kind = kind;
  pos_ = end < end_ ? end : end_;
  token.length = pos_ - token.start;
  return token;
}

XmlToken XmlTokenScanner::Unterminated(XmlToken token, const char* type) {
  events_.push_back({"unterminated_tag_syntax", type, token.start});
  return Finish(token, kError, end_);
}

// Records the event, then skips to just after the next '>' or to just
// before the next '<', whichever comes first.
XmlToken XmlTokenScanner::SyntaxError(XmlToken token, const char* key, int from) {
  events_.push_back({key, nullptr, token.start});
  for (int p = from; p < end_; p += Step(p)) {
    if (text_[p] == '>') return Finish(token, kError, p + 1);
    if (text_[p] == '<') return Finish(token, kError, p);
  }
  return Unterminated(token, "tag");
}

XmlToken XmlTokenScanner::NextToken() {
  const int s = pos_;
  XmlToken token;
  token.start = s;
  nameStart_ = s;
  nameEnd_ = s;
  if (s >= end_) return Finish(token, kEndOfText, s);

  if (text_[s] != '<') {
    int kind = 4;  // white space until a character that is not
    int p = s;
    if (byteSteps_) {
      while (p < end_ && (ClassOf(text_[p]) & kSpace)) ++p;
      if (p < end_ && text_[p] != '<') kind = 2;
      while (p < end_ && text_[p] != '<') ++p;
      return Finish(token, kind, p);
    }
    while (p < end_ && text_[p] != '<') {
      if (!IsWhiteSpace(text_[p])) kind = 2;
      p += Step(p);
    }
    return Finish(token, kind, p);
  }

  if (s + 1 >= end_) return Unterminated(token, "tag");
  const char c = text_[s + 1];
  if (c == '/') {
    nameStart_ = s + 2;
    nameEnd_ = ScanName(nameStart_, false);
    for (int p = nameEnd_; p < end_; p += Step(p))
      if (text_[p] == '>') return Finish(token, kEndTag, p + 1);
    return Unterminated(token, "end_tag");
  }
  if (xmlrules::IsStartTagNameStart(c)) return ScanStartTag(token);
  if (c == '?') {
    nameStart_ = s + 2;
    nameEnd_ = ScanName(nameStart_, true);
    const int at = FindPattern(s + 1, "?>");
    if (at < 0) return Unterminated(token, "processing_instruction");
    return Finish(token, 16, at + 2);
  }
  if (c != '!') return SyntaxError(token, "first_tag_syntax", s + 1);

  if (s + 2 >= end_) return Unterminated(token, "tag");
  const char c2 = text_[s + 2];
  if (c2 == '-') {
    if (s + 3 >= end_) return Unterminated(token, "comment");
    if (text_[s + 3] != '-') return SyntaxError(token, "comment_tag_syntax", s + 3);
    const int at = FindPattern(s + 2, "-->");
    if (at < 0) return Unterminated(token, "comment");
    return Finish(token, 32, at + 3);
  }
  if (c2 == '[') {
    if (s + 3 >= end_) return Unterminated(token, "cdata_section");
    if (text_[s + 3] != 'C') return SyntaxError(token, "cdata_section_syntax", s + 3);
    const int at = FindPattern(s + 3, "]]>");
    if (at < 0) return Unterminated(token, "cdata_section");
    return Finish(token, 8, at + 3);
  }
  if (c2 == 'D') return ScanDocumentType(token);
  return SyntaxError(token, "exclamation_tag_syntax", s + 2);
}

XmlToken XmlTokenScanner::NextElementTokenInGeneral() {
  for (;;) {
    const XmlToken token = NextToken();
    if (token.kind <= 1) return token;
  }
}

XmlToken XmlTokenScanner::ScanStartTag(XmlToken token) {
  nameStart_ = token.start + 1;
  nameEnd_ = ScanName(nameStart_, false);
  char quote = 0;
  bool inUnquotedValue = false;
  bool afterEquals = false;
  bool lastWasSlash = false;
  for (int p = nameEnd_; p < end_; p += Step(p)) {
    const char c = text_[p];
    if (quote) {
      if (c == quote) quote = 0;
      lastWasSlash = false;
      continue;
    }
    if (c == '>') {
      token.empty = lastWasSlash;
      return Finish(token, 1, p + 1);
    }
    lastWasSlash = false;
    if (IsWhiteSpace(c)) {
      inUnquotedValue = false;
    } else if (afterEquals && c != '"' && c != '\'') {
      inUnquotedValue = true;  // an unquoted value runs to white space
      afterEquals = false;
    } else if (inUnquotedValue) {
      // part of the unquoted value, '/' included
    } else if (c == '"' || c == '\'') {
      quote = c;
      afterEquals = false;
    } else if (c == '=') {
      afterEquals = true;
    } else if (c == '/') {
      lastWasSlash = true;
    }
  }
  return Unterminated(token, "start_tag");
}

// A document type runs to the first '>' outside its inner parts: markup
// declarations (quotes respected), comments and processing instructions.
XmlToken XmlTokenScanner::ScanDocumentType(XmlToken token) {
  int p = token.start + 2;
  while (p < end_) {
    const char c = text_[p];
    if (c == '>') return Finish(token, 64, p + 1);
    if (c != '<') {
      p += Step(p);
      continue;
    }
    if (p + 1 >= end_) return Unterminated(token, "document_type");
    const char c1 = text_[p + 1];
    if (c1 == '?') {
      const int at = FindPattern(p + 1, "?>");
      if (at < 0) return Unterminated(token, "document_type");
      p = at + 2;
      continue;
    }
    if (c1 != '!') return SyntaxError(token, "doctype_tag_syntax", p + 1);
    if (p + 2 >= end_) return Unterminated(token, "document_type");
    const char c2 = text_[p + 2];
    if (c2 == '-') {
      if (p + 3 >= end_) return Unterminated(token, "document_type");
      if (text_[p + 3] != '-') return SyntaxError(token, "doctype_tag_syntax", p + 2);
      const int at = FindPattern(p + 2, "-->");
      if (at < 0) return Unterminated(token, "document_type");
      p = at + 3;
      continue;
    }
    if (c2 != 'A' && c2 != 'E' && c2 != 'N') return SyntaxError(token, "doctype_tag_syntax", p + 2);
    char quote = 0;
    int q = p + 3;
    for (; q < end_; q += Step(q)) {
      const char d = text_[q];
      if (quote) {
        if (d == quote) quote = 0;
      } else if (d == '"' || d == '\'') {
        quote = d;
      } else if (d == '>') {
        break;
      }
    }
    if (q >= end_) return Unterminated(token, "document_type");
    p = q + 1;
  }
  return Unterminated(token, "document_type");
}
