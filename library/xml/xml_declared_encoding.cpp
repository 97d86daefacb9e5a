// The encoding a text declares: in its XML declaration, or in the
// Content-Type meta element of an HTML head.
#include <string>

#include "library/xml/xml_attributes.h"
#include "library/xml/xml_document.h"
#include "library/xml/xml_text_rules.h"
#include "library/xml/xml_token_scanner.h"

namespace {

using xmlrules::NamesEqual;
using xmlrules::ToLowerAscii;

// The value of an attribute within text[begin, end), names without regard
// to case; false when it is absent.
bool FindAttribute(std::string_view text, int begin, int end, std::string_view name, std::string* value) {
  bool found = false;
  ScanXmlAttributes(text, begin, end, [&](const XmlAttributeSpan& a) {
    if (!NamesEqual(text.substr(a.nameBegin, a.nameEnd - a.nameBegin), name, true)) return true;
    found = true;
    *value = a.hasValue ? CXmlDocument::DecodeXmlText(text.data() + a.valueBegin, a.valueEnd - a.valueBegin, 0)
                        : std::string();
    return false;
  });
  return found;
}

// The text after "charset" and its '=' in a Content-Type value, up to a
// name terminator.
std::string CharsetOf(const std::string& content) {
  std::string lower(content);
  for (char& c : lower) c = ToLowerAscii(c);
  const std::size_t at = lower.find("charset");
  if (at == std::string::npos) return {};
  std::size_t p = at + 7;
  while (p < content.size() && xmlrules::IsWhiteSpace(content[p])) ++p;
  if (p >= content.size() || content[p] != '=') return {};
  ++p;
  while (p < content.size() && xmlrules::IsWhiteSpace(content[p])) ++p;
  const std::size_t end = static_cast<std::size_t>(
      xmlrules::NameEnd(content, static_cast<int>(p), static_cast<int>(content.size())));
  return content.substr(p, end - p);
}

}  // namespace

std::string CXmlDocument::FindDeclaredEncoding(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(kMaxTextLength)) text = text.substr(0, kMaxTextLength);
  XmlTokenScanner scanner(text, 0, static_cast<int>(text.size()));
  bool inHtml = false;
  for (;;) {
    const XmlToken t = scanner.NextToken();
    if (t.kind == XmlTokenScanner::kEndOfText) return {};
    const int tagEnd = t.start + t.length;
    if (t.kind == kNodeProcessingInstruction && t.start == 0) {
      if (t.length < 4) continue;
      const int nameEnd = xmlrules::NameEnd(text, 2, tagEnd - 2);
      if (!NamesEqual(text.substr(2, nameEnd - 2), "xml", true)) continue;
      std::string value;
      FindAttribute(text, nameEnd, tagEnd - 2, "encoding", &value);
      return value;
    }
    if (t.kind == kNodeElement) {
      const std::string_view name = scanner.Name();
      if (!inHtml) {
        if (!NamesEqual(name, "html", true)) return {};
        inHtml = true;
        continue;
      }
      if (!NamesEqual(name, "meta", true)) continue;
      std::string equiv, content;
      if (!FindAttribute(text, scanner.NameEnd(), tagEnd - 1, "http-equiv", &equiv) ||
          !NamesEqual(equiv, "Content-Type", true) ||
          !FindAttribute(text, scanner.NameEnd(), tagEnd - 1, "content", &content))
        continue;
      const std::string charset = CharsetOf(content);
      if (!charset.empty()) return charset;
    } else if (t.kind == XmlTokenScanner::kEndTag && inHtml && NamesEqual(scanner.Name(), "head", true)) {
      return {};
    }
  }
}
