// Moving through the index and reading names, attributes and texts.
#include <cstring>
#include <string>

#include "library/xml/xml_attributes.h"
#include "library/xml/xml_document.h"
#include "library/xml/xml_text_rules.h"
#include "library/xml/xml_token_scanner.h"

namespace {

bool IsPathDelimiter(char c) { return c == ' ' || c == '/' || c == '=' || c == '[' || c == ']'; }

// A name inside a path: runs to a delimiter or '@'.
std::size_t PathName(std::string_view path, std::size_t p) {
  while (p < path.size() && !IsPathDelimiter(path[p]) && path[p] != '@') ++p;
  return p;
}

// A predicate: [digits], [@name], [@name='v'], [@name="v"] or [@name=v].
bool SkipPredicate(std::string_view path, std::size_t& p) {
  if (p >= path.size() || path[p] != '[') return false;
  ++p;
  if (p < path.size() && path[p] >= '0' && path[p] <= '9') {
    while (p < path.size() && path[p] >= '0' && path[p] <= '9') ++p;
  } else {
    if (p >= path.size() || path[p] != '@') return false;
    const std::size_t nameEnd = PathName(path, p + 1);
    if (nameEnd == p + 1) return false;
    p = nameEnd;
    if (p < path.size() && path[p] == '=') {
      ++p;
      if (p < path.size() && (path[p] == '\'' || path[p] == '"')) {
        const std::size_t close = path.find(path[p], p + 1);
        if (close == std::string_view::npos) return false;
        p = close + 1;
      } else {
        while (p < path.size() && path[p] != ']') ++p;
      }
    }
  }
  if (p >= path.size() || path[p] != ']') return false;
  ++p;
  return true;
}

// Splits a short path into its first name; false when the path is absolute
// or malformed (then nothing is found).
bool FirstPathName(const char* text, std::string_view* name) {
  const std::string_view path(text);
  if (!path.empty() && path[0] == '/') return false;
  std::size_t p = PathName(path, 0);
  *name = path.substr(0, p);
  if (p == path.size()) return true;
  if (name->empty()) return false;
  for (;;) {
    while (p < path.size() && path[p] == '[')
      if (!SkipPredicate(path, p)) return false;
    if (p == path.size()) return true;
    if (path[p] != '/') return false;
    ++p;
    if (p < path.size() && path[p] == '@') {
      const std::size_t end = PathName(path, p + 1);
      return end > p + 1 && end == path.size();
    }
    const std::size_t end = PathName(path, p);
    if (end == p) return false;
    p = end;
  }
}

}  // namespace

// Positions are kept consistent: the main element is a child of the parent
// position and the child one of the main element, so that edits always
// work on one chain of siblings.
int CXmlDocument::SetPosition(int parent, int main, int child) {
  auto valid = [this](int pos) { return IsElement(pos) ? pos : 0; };
  mainPos_ = valid(main);
  parentPos_ = mainPos_ != 0 ? records_[mainPos_].parent : valid(parent);
  childPos_ = valid(child);
  if (childPos_ != 0 && (mainPos_ == 0 || records_[childPos_].parent != mainPos_)) childPos_ = 0;
  nodeOffset_ = nodeLength_ = 0;
  nodeKind_ = mainPos_ != 0 ? kNodeElement : 0;
  return mainPos_;
}

bool CXmlDocument::FindElement(const char* name) {
  if ((flags_ & kStreamWrite) || records_.empty()) return false;
  std::string_view wanted;
  const bool any = name == nullptr || *name == '\0';
  if (!any && !FirstPathName(name, &wanted)) return false;
  if (!IsParent(parentPos_)) return false;
  const bool ignoreCase = (flags_ & kIgnoreCase) != 0;
  const bool fromMain = (nodeKind_ != 0 && IsElement(mainPos_));
  int candidate = fromMain ? records_[mainPos_].nextSibling : records_[parentPos_].firstChild;
  for (; candidate != 0; candidate = records_[candidate].nextSibling) {
    if (any || ElementNameIs(candidate, wanted, ignoreCase)) {
      SetPosition(records_[candidate].parent, candidate, 0);
      return true;
    }
  }
  return false;
}

bool CXmlDocument::FindChildElement(const char* name) {
  if (BoundToStream()) return false;
  if (MainIsNode()) return false;
  if (!MainIsElement() && !FindElement(nullptr)) return false;
  std::string_view wanted;
  const bool any = name == nullptr || *name == '\0';
  if (!any && !FirstPathName(name, &wanted)) return false;
  const bool ignoreCase = (flags_ & kIgnoreCase) != 0;
  const bool fromChild = IsElement(childPos_) && records_[childPos_].parent == mainPos_;
  int candidate = fromChild ? records_[childPos_].nextSibling : records_[mainPos_].firstChild;
  for (; candidate != 0; candidate = records_[candidate].nextSibling) {
    if (any || ElementNameIs(candidate, wanted, ignoreCase)) {
      childPos_ = candidate;
      return true;
    }
  }
  return false;
}

std::string CXmlDocument::GetElementName() const {
  if (MainIsNode()) {
    const std::string_view node = std::string_view(text_).substr(nodeOffset_, nodeLength_);
    const int end = nodeOffset_ + nodeLength_;
    switch (nodeKind_) {
      case kNodeText:
      case kNodeWhiteSpace: return "#text";
      case kNodeCdata: return "#cdata-section";
      case kNodeComment: return "#comment";
      case kNodeProcessingInstruction:
      case kNodeLoneEndTag: {
        const int from = nodeOffset_ + 2;
        if (from > end) return {};
        return text_.substr(from, xmlrules::NameEnd(text_, from, end) - from);
      }
      case kNodeDocumentType: {
        if (node.size() < 9) return {};
        int from = nodeOffset_ + 9;
        while (from < end && xmlrules::IsWhiteSpace(text_[from])) ++from;
        return text_.substr(from, xmlrules::NameEnd(text_, from, end) - from);
      }
      default: return {};
    }
  }
  if (MainIsElement()) return std::string(ElementName(mainPos_));
  return {};
}

bool CXmlDocument::EnterElement() {
  if (!MainIsElement()) return false;
  SetPosition(mainPos_, childPos_, 0);
  return true;
}

bool CXmlDocument::LeaveElement() {
  if (!IsElement(parentPos_)) return false;
  const int main = MainIsElement() || (MainIsNode() && IsElement(mainPos_)) ? mainPos_ : 0;
  SetPosition(records_[parentPos_].parent, parentPos_, main);
  return true;
}

// The part of the text that holds the attributes of the element at `pos`,
// or the pseudo-attributes of the processing instruction at the main
// position.
bool CXmlDocument::AttributeRegion(int pos, int* begin, int* end) const {
  if (pos == mainPos_ && MainIsNode()) {
    if (nodeKind_ != kNodeProcessingInstruction || nodeLength_ < 4) return false;
    const int stop = nodeOffset_ + nodeLength_ - 2;
    *begin = xmlrules::NameEnd(text_, nodeOffset_ + 2, stop);
    *end = stop;
    return true;
  }
  if (!IsElement(pos)) return false;
  const ElementRecord& r = records_[pos];
  const int stop = r.start + r.startTagLength - 1;
  int p = r.start + 1;
  while (p < stop && xmlrules::IsWhiteSpace(text_[p])) ++p;
  *begin = xmlrules::NameEnd(text_, p, stop);
  *end = stop;
  return true;
}

std::string CXmlDocument::GetAttribute(const char* name) const { return GetAttributeAt(mainPos_, name); }

std::string CXmlDocument::GetAttributeAt(int pos, const char* name) const {
  int begin = 0, end = 0;
  if (name == nullptr || !AttributeRegion(pos, &begin, &end)) return {};
  const bool ignoreCase = (flags_ & kIgnoreCase) != 0;
  const std::string_view wanted(name);
  std::string value;
  ScanXmlAttributes(text_, begin, end, [&](const XmlAttributeSpan& a) {
    const std::string_view found = std::string_view(text_).substr(a.nameBegin, a.nameEnd - a.nameBegin);
    if (!xmlrules::NamesEqual(found, wanted, ignoreCase)) return true;
    if (a.hasValue) value = DecodeXmlText(text_.data() + a.valueBegin, a.valueEnd - a.valueBegin, flags_);
    return false;
  });
  return value;
}

bool CXmlDocument::GetAttributeByIndex(int index, std::string* name, std::string* value) const {
  int begin = 0, end = 0;
  if (index < 0 || !AttributeRegion(mainPos_, &begin, &end)) return false;
  int seen = 0;
  bool found = false;
  ScanXmlAttributes(text_, begin, end, [&](const XmlAttributeSpan& a) {
    if (seen++ != index) return true;
    if (name) *name = text_.substr(a.nameBegin, a.nameEnd - a.nameBegin);
    if (value) {
      *value = a.hasValue ? DecodeXmlText(text_.data() + a.valueBegin, a.valueEnd - a.valueBegin, flags_)
                          : std::string();
    }
    found = true;
    return false;
  });
  return found;
}

std::string CXmlDocument::AttributeNameAt(int index) const {
  std::string name;
  GetAttributeByIndex(index, &name, nullptr);
  return name;
}

std::string CXmlDocument::GetText() const { return GetTextAt(mainPos_); }

std::string CXmlDocument::GetChildText() const { return GetTextAt(childPos_); }

std::string CXmlDocument::GetTextAt(int pos) const {
  if (pos == mainPos_ && MainIsNode()) {
    const char* node = text_.data() + nodeOffset_;
    auto inner = [&](int head, int tail) {
      if (nodeLength_ < head + tail) return std::string();
      return std::string(node + head, static_cast<std::size_t>(nodeLength_ - head - tail));
    };
    switch (nodeKind_) {
      case kNodeText: return DecodeXmlText(node, nodeLength_, flags_);
      case kNodeCdata: return inner(9, 3);
      case kNodeProcessingInstruction: return inner(2, 2);
      case kNodeComment: return inner(4, 3);
      case kNodeLoneEndTag: return inner(2, 1);
      default: return inner(0, 0);
    }
  }
  if (!IsElement(pos) || records_[pos].firstChild != 0) return {};
  const int begin = ContentBegin(pos);
  const int end = ContentEnd(pos);
  if (end <= begin) return {};
  if (std::memchr(text_.data() + begin, '<', static_cast<std::size_t>(end - begin)) == nullptr)
    return DecodeXmlText(text_.data() + begin, end - begin, flags_);
  std::string out;
  XmlTokenScanner scanner(text_, begin, end);
  for (;;) {
    const XmlToken t = scanner.NextToken();
    if (t.kind == XmlTokenScanner::kEndOfText) break;
    if (t.kind == kNodeText) out += DecodeXmlText(text_.data() + t.start, t.length, flags_);
    else if (t.kind == kNodeCdata && t.length >= 12) out.append(text_, t.start + 9, t.length - 12);
  }
  return out;
}

std::string CXmlDocument::BuildElementPath(int pos) const {
  if (!IsElement(pos)) return {};
  const bool ignoreCase = (flags_ & kIgnoreCase) != 0;
  std::string path;
  for (int r = pos; r != 0; r = records_[r].parent) {
    const std::string_view name = ElementName(r);
    int n = 0;
    int same = 0;
    for (int s = records_[records_[r].parent].firstChild; s != 0; s = records_[s].nextSibling) {
      if (xmlrules::NamesEqual(ElementName(s), name, ignoreCase)) ++same;
      if (s == r) n = same;
    }
    std::string step = "/" + std::string(name);
    if (n > 1) step += "[" + std::to_string(n) + "]";
    path.insert(0, step);
  }
  return path;
}

std::string CXmlDocument::GetInnerMarkup(int pos) const {
  if (!IsElement(pos) || records_[pos].endTagLength == 0) return {};
  return text_.substr(ContentBegin(pos), ContentEnd(pos) - ContentBegin(pos));
}

std::string CXmlDocument::GetElementMarkup(int pos) const {
  if (!IsElement(pos)) return {};
  const int start = records_[pos].start;
  int end = ElementEnd(pos);
  int q = end;
  while (q < TextSize() && xmlrules::IsWhiteSpace(text_[q])) ++q;
  if (q < TextSize() && text_[q] == '<') end = q;
  return text_.substr(start, end - start);
}
