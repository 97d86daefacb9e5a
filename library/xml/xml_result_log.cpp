// The result log: one empty element per parse or file event, and its
// rendering as one line of text.
#include <string>
#include <utility>
#include <vector>

#include "library/xml/xml_document.h"

namespace {

constexpr std::size_t kLogLimit = 999;

const char* TextAttributeName(int flags) {
  if (flags & 0x2) return "type";
  if (flags & 0x8) return "encoding";
  if (flags & 0x40) return "msg";
  return "tagname";
}

const char* NumberAttributeName(int flags, long long number) {
  if (flags & 0x4) return "n";
  if (flags & 0x1) return "count";
  if (flags & 0x10) return "length";
  return number != -1 ? "offset" : nullptr;
}

bool IsParseEvent(const std::string& key) {
  static const char* const kKeys[] = {
      "root_has_sibling",       "no_root_element",     "lone_end_tag",
      "unended_start_tag",      "first_tag_syntax",    "exclamation_tag_syntax",
      "doctype_tag_syntax",     "comment_tag_syntax",  "cdata_section_syntax",
      "unterminated_tag_syntax"};
  for (const char* k : kKeys)
    if (key == k) return true;
  return false;
}

std::string Render(const std::string& key, const CXmlDocument& log) {
  auto a = [&log](const char* name) { return log.GetAttribute(name); };
  if (key == "root_has_sibling") return "root element has sibling";
  if (key == "no_root_element") return "no root element";
  if (key == "lone_end_tag") return "lone end tag '" + a("tagname") + "' at offset " + a("offset");
  if (key == "unended_start_tag")
    return "start tag '" + a("tagname") + "' at offset " + a("offset") + " expecting end tag at offset " +
           a("offset2");
  const std::string syntax = "tag syntax error at offset " + a("offset");
  if (key == "first_tag_syntax") return syntax + " expecting tag name / ! or ?";
  if (key == "exclamation_tag_syntax") return syntax + " expecting 'DOCTYPE' [ or -";
  if (key == "doctype_tag_syntax") return syntax + " expecting markup declaration";
  if (key == "comment_tag_syntax") return syntax + " expecting - to begin comment";
  if (key == "cdata_section_syntax") return syntax + " expecting 'CDATA'";
  if (key == "unterminated_tag_syntax") return "unterminated tag at offset " + a("offset");
  if (key == "file_error") return a("msg");
  if (key == "bom") return "BOM +";
  if (key == "read" || key == "write" || key == "converted_to" || key == "converted_from") {
    std::string out = key == "converted_to" ? "to " : "";
    const std::string encoding = a("encoding");
    if (!encoding.empty()) out += encoding + " ";
    out += "length " + a("length");
    if (key == "converted_from") out += " to";
    return out;
  }
  if (key == "nulls_removed") return "removed " + a("count") + " nulls";
  if (key == "conversion_loss") return "(chars lost in conversion!)";
  if (key == "utf8_detection") return "(used UTF-8 detection)";
  if (key == "endian_swap") return "endian swap";
  if (key == "truncation_error") return "encoding " + a("encoding") + " adjustment error";
  return {};
}

}  // namespace

void CXmlDocument::AddResult(const char* key, const char* text, int flags, long long number,
                             long long number2) {
  AddResultTo(log_, key, text, flags, number, number2);
}

void CXmlDocument::AddResultTo(std::string& log, const char* key, const char* text, int flags,
                               long long number, long long number2) {
  if (log.size() > kLogLimit || key == nullptr) return;
  std::vector<std::pair<const char*, std::string>> attributes;
  if (text != nullptr) attributes.emplace_back(TextAttributeName(flags), text);
  if (const char* name = NumberAttributeName(flags, number)) attributes.emplace_back(name, std::to_string(number));
  if (number2 != -1) attributes.emplace_back("offset2", std::to_string(number2));

  if (flags & 0x20) {  // amend the first event of this key
    CXmlDocument amended;
    amended.SetDocument(log);
    if (amended.FindElement(key)) {
      for (const auto& [name, value] : attributes) amended.SetAttribute(name, value.c_str());
      log = amended.GetDocument();
      return;
    }
  }
  log += '<';
  log += key;
  for (const auto& [name, value] : attributes) {
    log += ' ';
    log += name;
    log += "=\"";
    log += EncodeXmlText(value.c_str(), kEncodeAttribute);
    log += '"';
  }
  log += "/>";
}

std::string CXmlDocument::DescribeResults() const {
  CXmlDocument log;
  log.SetDocument(log_);
  std::string line;
  bool parseEventSeen = false;
  while (log.FindElement(nullptr)) {
    const std::string key = log.GetElementName();
    if (IsParseEvent(key)) {
      if (parseEventSeen) continue;
      parseEventSeen = true;
    }
    const std::string piece = Render(key, log);
    if (piece.empty()) continue;
    if (!line.empty()) line += ' ';
    line += piece;
  }
  return line;
}
