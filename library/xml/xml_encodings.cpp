// Encoding names, code-page conversion and the UTF-8/UTF-16 transforms.
#include "library/xml/xml_encodings.h"

#include <cstring>
#include <string>

#include "library/xml/xml_document.h"
#include "platform/code_page.h"

namespace {

int Resolve(int codePage) { return codePage == 0 ? plat::ProcessCodePage() : codePage; }

std::u16string UnitsFromBytes(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return units;
}

std::string BytesFromUnits(std::u16string_view units) {
  std::string bytes(units.size() * 2, '\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return bytes;
}

void AppendCodePointUnit(std::string& out, int codePoint) {
  const auto v = static_cast<unsigned>(codePoint);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Code points (4-byte little-endian units) to UTF-16; an invalid value
// becomes '?'.
std::u16string CodePointsToUtf16(std::string_view bytes) {
  std::u16string out;
  for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       (static_cast<unsigned char>(bytes[i + 2]) << 16) |
                       (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 3])) << 24);
    char16_t units[2];
    const int n = v > 0x10FFFF ? 0 : CXmlDocument::EncodeUtf16Char(static_cast<int>(v), units);
    if (n == 0) out += u'?';
    else out.append(units, static_cast<std::size_t>(n));
  }
  return out;
}

std::string Utf16ToCodePoints(std::u16string_view units) {
  std::string out;
  const char16_t* p = units.data();
  const char16_t* end = p + units.size();
  while (p < end) {
    const int cp = CXmlDocument::DecodeUtf16Char(p, end);
    AppendCodePointUnit(out, cp < 0 ? '?' : cp);
  }
  return out;
}

}  // namespace

bool IsNoLossCodePage(int codePage) {
  switch (codePage) {
    case 50220: case 50221: case 50222: case 50225: case 50227: case 50229:
    case 52936: case 54936: case 65000: case 65001:
      return true;
    default:
      return codePage >= 57002 && codePage <= 57011;
  }
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == 0) return true;
    std::size_t follow;
    if (c < 0x80) follow = 0;
    else if ((c & 0xE0) == 0xC0) follow = 1;
    else if ((c & 0xF0) == 0xE0) follow = 2;
    else if ((c & 0xF8) == 0xF0) follow = 3;
    else return false;  // 11111xxx, or a continuation byte without a lead
    if (bytes.size() - i - 1 < follow) return false;
    for (std::size_t k = 1; k <= follow; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    i += follow + 1;
  }
  return true;
}

TextConverter::TextConverter(int targetCodePage, int sourceCodePage)
    : target_(Resolve(targetCodePage)), source_(Resolve(sourceCodePage)) {}

bool TextConverter::Convert(std::string_view source, std::string* target) {
  lost_ = false;
  target->clear();
  if (source_ == target_) {
    target->assign(source);
    return true;
  }
  // Everything passes through UTF-16.
  std::u16string wide;
  if (source_ == kCodePageCodePoints) {
    wide = CodePointsToUtf16(source);
  } else if (source_ == plat::kCodePageUtf16Le) {
    wide = UnitsFromBytes(source);
  } else if (source_ == plat::kCodePageUtf8 && target_ == kCodePageCodePoints) {
    wide = CXmlDocument::Utf8ToUtf16(source);
  } else {
    bool invalid = false;
    if (!plat::MultiByteToWide(source_, source, wide, &invalid)) return false;
    // An invalid sequence became U+FFFD; towards a code page without it
    // that is reported as loss below.
  }
  if (target_ == kCodePageCodePoints) {
    *target = Utf16ToCodePoints(wide);
    return true;
  }
  if (target_ == plat::kCodePageUtf16Le) {
    *target = BytesFromUnits(wide);
    return true;
  }
  if (target_ == plat::kCodePageUtf8 && source_ == kCodePageCodePoints) {
    *target = CXmlDocument::Utf16ToUtf8(wide);
    return true;
  }
  bool lost = false;
  if (!plat::WideToMultiByte(target_, wide, *target, &lost)) return false;
  lost_ = lost && !IsNoLossCodePage(target_);
  return true;
}

int CXmlDocument::CodePageOfEncoding(const char* name) {
  if (name == nullptr || *name == '\0') return 0;
  const std::string_view n(name);
  if (n.substr(0, 6) == "UTF-32") return kCodePageCodePoints;
  if (n.size() >= 100) return -1;
  std::string lower(n);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return LookUpEncodingName(lower);
}

bool CXmlDocument::EncodingsDiffer(const char* a, const char* b) {
  const int ca = CodePageOfEncoding(a);
  const int cb = CodePageOfEncoding(b);
  if (ca == -1 || cb == -1) return false;
  if (ca != 0 && cb != 0) return ca != cb;
  return Resolve(ca) != Resolve(cb);
}

std::string CXmlDocument::Utf8ToProcessCodePage(const char* text, bool* lost) {
  std::string out;
  TextConverter converter(0, plat::kCodePageUtf8);
  if (text != nullptr && !converter.Convert(text, &out)) out = text;
  if (lost) *lost = converter.Lost();
  return out;
}

std::string CXmlDocument::ProcessCodePageToUtf8(const char* text) {
  std::string out;
  TextConverter converter(plat::kCodePageUtf8, 0);
  if (text != nullptr && !converter.Convert(text, &out)) out = text;
  return out;
}

int CXmlDocument::DecodeUtf8Char(const char*& p, const char* end) {
  if (p == nullptr || p >= end) return 0;
  const auto c = static_cast<unsigned char>(*p);
  int follow;
  int value;
  if (c < 0x80) {
    ++p;
    return c;
  } else if ((c & 0xE0) == 0xC0) {
    follow = 1;
    value = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    follow = 2;
    value = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    follow = 3;
    value = c & 0x07;
  } else {
    ++p;
    return -1;
  }
  if (end - p - 1 < follow) {
    ++p;
    return -1;
  }
  for (int k = 1; k <= follow; ++k) {
    const auto d = static_cast<unsigned char>(p[k]);
    if ((d & 0xC0) != 0x80) {
      ++p;
      return -1;
    }
    value = (value << 6) | (d & 0x3F);
  }
  p += follow + 1;
  return value > 0x10FFFF ? -1 : value;
}

int CXmlDocument::DecodeUtf16Char(const char16_t*& p, const char16_t* end) {
  if (p == nullptr || p >= end) return 0;
  const char16_t u = *p++;
  if (u < 0xD800 || u > 0xDFFF) return u;
  if (u <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
    const char16_t low = *p++;
    return 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
  }
  return -1;  // an unpaired surrogate
}

int CXmlDocument::EncodeUtf8Char(int codePoint, char* out) {
  if (codePoint < 0 || codePoint > 0x10FFFF) return 0;
  const auto v = static_cast<unsigned>(codePoint);
  if (v < 0x80) {
    out[0] = static_cast<char>(v);
    return 1;
  }
  if (v < 0x800) {
    out[0] = static_cast<char>(0xC0 | (v >> 6));
    out[1] = static_cast<char>(0x80 | (v & 0x3F));
    return 2;
  }
  if (v < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (v >> 12));
    out[1] = static_cast<char>(0x80 | ((v >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (v & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (v >> 18));
  out[1] = static_cast<char>(0x80 | ((v >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((v >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (v & 0x3F));
  return 4;
}

int CXmlDocument::EncodeUtf16Char(int codePoint, char16_t* out) {
  if (codePoint < 0 || codePoint > 0x10FFFF) return 0;
  if (codePoint < 0x10000) {
    out[0] = static_cast<char16_t>(codePoint);
    return 1;
  }
  const int v = codePoint - 0x10000;
  out[0] = static_cast<char16_t>(0xD800 + (v >> 10));
  out[1] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
  return 2;
}

std::string CXmlDocument::Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  const char16_t* p = text.data();
  const char16_t* end = p + text.size();
  while (p < end) {
    const int cp = DecodeUtf16Char(p, end);
    char bytes[4];
    const int n = cp < 0 ? 0 : EncodeUtf8Char(cp, bytes);
    if (n == 0) out += '?';
    else out.append(bytes, static_cast<std::size_t>(n));
  }
  return out;
}

std::u16string CXmlDocument::Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const int cp = DecodeUtf8Char(p, end);
    char16_t units[2];
    const int n = cp < 0 ? 0 : EncodeUtf16Char(cp, units);
    if (n == 0) out += u'?';
    else out.append(units, static_cast<std::size_t>(n));
  }
  return out;
}
