#pragma once
// Splits a range of a document text into tokens: start and end tags, text,
// white space, CDATA sections, processing instructions, comments, document
// types, syntax errors and the end of the range.
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace xmlscan {

// Byte classes of the scanner's loops.
constexpr unsigned char kSpace = 0x1;     // white space
constexpr unsigned char kNameStop = 0x2;  // ends a tag name: white space, '/', '>'
constexpr unsigned char kQuestion = 0x4;  // '?', which ends a processing instruction's name

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> classes{};
  for (const unsigned char c : {' ', '\t', '\n', '\r'}) classes[c] = kSpace | kNameStop;
  classes['/'] = classes['>'] = kNameStop;
  classes['?'] = kQuestion;
  return classes;
}

inline constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

inline unsigned char ClassOf(char c) { return kClasses[static_cast<unsigned char>(c)]; }

// The first byte of data[from, end) that ends a tag name (kNameStop); `end`
// when there is none. Bytewise, 16 bytes at a time where the processor
// allows: a byte-by-byte loop that ends after a varying number of bytes
// costs a mispredicted branch at every tag.
inline int FindNameStop(const char* data, int from, int end) {
#if defined(__SSE2__)
  for (; end - from >= 16; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
    const __m128i stops =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('>')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('/'))),
                     _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')),
                                               _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t'))),
                                  _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                                               _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')))));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(stops));
    if (mask != 0) return from + __builtin_ctz(mask);
  }
#endif
  while (from < end && !(ClassOf(data[from]) & kNameStop)) ++from;
  return from < end ? from : end;
}

}  // namespace xmlscan

class XmlTokenScanner {
 public:
  static constexpr int kEndTag = 0;
  static constexpr int kError = -1;
  static constexpr int kEndOfText = -2;
  static constexpr int kNotPlain = -3;  // NextPlainTag: not a plain tag

  // Scans text[begin, end); offsets are offsets into `text`.
  XmlTokenScanner(std::string_view text, int begin, int end);

  XmlToken NextToken();
  // The next start tag, end tag, error or the end of the text, passing over
  // the other kinds of token.
  XmlToken NextElementToken() {
    if (byteSteps_) {
      const XmlToken token = NextPlainTag();
      if (token.kind != kNotPlain) return token;
    }
    return NextElementTokenInGeneral();
  }
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
  XmlToken NextElementTokenInGeneral();

  // Bytewise only: passes over text to the next '<' and takes the tag there
  // when it is a start tag without attributes ("<name>", "<name/>") or an
  // end tag without space ("</name>"), the bulk of a document; false (at
  // the '<') for anything else, which NextToken then scans. The token, the
  // name and the offset are those NextToken gives for these tags. The
  // token is returned by value, in registers: read back from memory right
  // after its fields were stored one by one, it would stall the caller.
  XmlToken NextPlainTag() {
    XmlToken token;
    token.kind = kNotPlain;
    const char* const data = text_.data();
    const int end = end_;
    int p = pos_;
    // Between tags there is mostly a line break or a short value: a few
    // bytes are looked at here before the search of the rest.
    for (const int near = end - p < 8 ? end : p + 8; p < near && data[p] != '<';) ++p;
    if (p < end && data[p] != '<') {
      const void* const lt = std::memchr(data + p, '<', static_cast<std::size_t>(end - p));
      p = lt ? static_cast<int>(static_cast<const char*>(lt) - data) : end;
    }
    pos_ = p;
    if (end - p < 3) return token;
    const bool endTag = data[p + 1] == '/';
    if (!endTag && !xmlrules::IsStartTagNameStart(data[p + 1])) return token;
    const int name = p + (endTag ? 2 : 1);
    int q = xmlscan::FindNameStop(data, name, end);
    if (q >= end) return token;
    if (data[q] == '>') {
      token.kind = endTag ? kEndTag : 1;
    } else if (!endTag && data[q] == '/' && q + 1 < end && data[q + 1] == '>') {
      token.kind = 1;
      token.empty = true;
      ++q;
    } else {
      return token;
    }
    token.start = p;
    token.length = q + 1 - p;
    nameStart_ = name;
    nameEnd_ = token.empty ? q - 1 : q;
    pos_ = q + 1;
    return token;
  }

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
