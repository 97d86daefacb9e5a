#pragma once
// Splits a range of a document text into tokens: start and end tags, text,
// white space, CDATA sections, processing instructions, comments, document
// types, syntax errors and the end of the range.
#include <string_view>
#include <vector>

#include "library/xml/xml_text_rules.h"

struct XmlToken {
  int kind = 0;  // a node kind, 0 end tag, -1 error, -2 end of text
  int start = 0;
  int length = 0;
  bool empty = false;  // a start tag ending in "/>"
};

// A syntax event found while scanning one token.
struct XmlScanEvent {
  const char* key = nullptr;
  const char* type = nullptr;  // for "unterminated_tag_syntax"
  int offset = 0;
};

class XmlTokenScanner {
 public:
  static constexpr int kEndTag = 0;
  static constexpr int kError = -1;
  static constexpr int kEndOfText = -2;

  // Scans text[begin, end); offsets are offsets into `text`.
  XmlTokenScanner(std::string_view text, int begin, int end);

  XmlToken NextToken();
  // The next start tag, end tag, error or the end of the text, passing over
  // the other kinds of token.
  XmlToken NextElementToken();
  int Offset() const { return pos_; }
  void SetOffset(int offset) { pos_ = offset < end_ ? offset : end_; }
  // The name of the last start tag, end tag or processing instruction.
  int NameStart() const { return nameStart_; }
  int NameEnd() const { return nameEnd_; }
  std::string_view Name() const { return text_.substr(nameStart_, nameEnd_ - nameStart_); }
  // The syntax events of the last token (moved out).
  std::vector<XmlScanEvent> TakeEvents();

 private:
  // One character on; one byte when every character this scanner looks for
  // can only stand on a byte that Step would reach anyway.
  int Step(int pos) const { return byteSteps_ ? 1 : xmlrules::CharStep(text_, pos, end_); }
  int FindPattern(int from, std::string_view pattern) const;
  int ScanName(int pos, bool stopAtQuestion) const;
  XmlToken Finish(XmlToken token, int kind, int end);
  XmlToken Unterminated(XmlToken token, const char* type);
  XmlToken SyntaxError(XmlToken token, const char* key, int from);
  XmlToken ScanStartTag(XmlToken token);
  XmlToken ScanDocumentType(XmlToken token);

  std::string_view text_;
  // In this order no two of them that NextToken sets from the offset lie
  // side by side, so the compiler does not pair their loads and stores
  // (a paired load right after the offset's own store stalls).
  int nameStart_ = 0;
  int end_ = 0;
  int nameEnd_ = 0;
  int pos_ = 0;
  std::vector<XmlScanEvent> events_;
  bool byteSteps_ = false;
};
