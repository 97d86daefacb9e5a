// Walking, writing and deleting the nodes that are not elements: texts,
// white space, CDATA sections, processing instructions, comments, document
// types and lone end tags.
#include <string>

#include "library/xml/xml_document.h"
#include "library/xml/xml_text_rules.h"
#include "library/xml/xml_token_scanner.h"

namespace {

// True when `form` is exactly one node of `kind` as the scanner reads it,
// so that writing it cannot change how the text around it is read.
bool IsSingleNode(const std::string& form, int kind) {
  XmlTokenScanner scanner(form, 0, static_cast<int>(form.size()));
  const XmlToken t = scanner.NextToken();
  const int expected = kind == CXmlDocument::kNodeLoneEndTag ? XmlTokenScanner::kEndTag : kind;
  if (t.kind != expected || t.length != static_cast<int>(form.size())) return false;
  if (kind == CXmlDocument::kNodeComment) {
    // "--" may not occur inside a comment, nor may it end in '-'.
    const std::string_view inner = std::string_view(form).substr(4, form.size() - 7);
    if (inner.find("--") != std::string_view::npos || (!inner.empty() && inner.back() == '-')) return false;
  }
  return true;
}

int TextKind(std::string_view text) {
  for (const char c : text)
    if (!xmlrules::IsWhiteSpace(c)) return CXmlDocument::kNodeText;
  return CXmlDocument::kNodeWhiteSpace;
}

}  // namespace

// The next node of a walk over a parent's content. Elements come from the
// index and are stepped over whole; the other nodes come from the scanner
// and are cut short where an element of the index begins, so that no node
// ever covers an element. Returns the kind (0 at the end); `*record` is the
// element for kind 1.
int CXmlDocument::NextNode(XmlTokenScanner& scanner, int* next, int* start, int* length, int* record) const {
  XmlToken t = scanner.NextToken();
  if (t.kind == XmlTokenScanner::kEndOfText) return 0;
  if (*next != 0 && t.start >= records_[*next].start) {
    *record = *next;
    *start = records_[*next].start;
    *length = records_[*next].length;
    scanner.SetOffset(ElementEnd(*next));
    *next = records_[*next].nextSibling;
    return kNodeElement;
  }
  if (*next != 0 && t.start + t.length > records_[*next].start) {
    t.length = records_[*next].start - t.start;
    scanner.SetOffset(records_[*next].start);
    if (t.kind != kNodeText && t.kind != kNodeWhiteSpace) t.kind = XmlTokenScanner::kError;
  }
  *record = 0;
  *start = t.start;
  *length = t.length;
  if (t.kind == XmlTokenScanner::kEndTag) return kNodeLoneEndTag;
  if (t.kind == XmlTokenScanner::kError || t.kind == kNodeElement) return kNodeError;  // or a tag unknown to the index
  return t.kind;
}

int CXmlDocument::FindNextNode(int kinds) {
  if (BoundToStream() || records_.empty() || !IsParent(parentPos_)) return 0;
  const int parent = parentPos_;
  int lastElement = (nodeKind_ != 0 && IsElement(mainPos_)) ? mainPos_ : 0;
  int from = ContentBegin(parent);
  if (MainIsNode()) from = nodeOffset_ + nodeLength_;
  else if (MainIsElement()) from = ElementEnd(mainPos_);
  int next = FirstElementAfter(parent, lastElement);
  XmlTokenScanner scanner(text_, from, ContentEnd(parent));
  for (;;) {
    int start = 0, length = 0, record = 0;
    const int kind = NextNode(scanner, &next, &start, &length, &record);
    if (kind == 0) return 0;
    if (kind == kNodeElement) lastElement = record;
    if (kinds != 0 && !(kinds & kind)) continue;
    if (kind == kNodeElement) SetPosition(parent, record, 0);
    else SetMainNode(lastElement, kind, start, length);
    return kind;
  }
}

// Makes the node that precedes `offset` among the children of `parent` the
// main position; none when nothing precedes it.
void CXmlDocument::FindNodeBefore(int parent, int offset) {
  SetPosition(parent, 0, 0);
  int lastElement = 0;
  int next = records_[parent].firstChild;
  XmlTokenScanner scanner(text_, ContentBegin(parent), ContentEnd(parent));
  for (;;) {
    int start = 0, length = 0, record = 0;
    const int kind = NextNode(scanner, &next, &start, &length, &record);
    if (kind == 0 || start >= offset) return;
    if (kind == kNodeElement) {
      lastElement = record;
      SetPosition(parent, record, 0);
    } else {
      SetMainNode(lastElement, kind, start, length);
    }
  }
}

bool CXmlDocument::DeleteNode() {
  if (BoundToStream()) return false;
  const int parent = parentPos_;
  if (!IsParent(parent)) return false;
  if (MainIsElement()) {
    const int start = records_[mainPos_].start;
    const int owner = records_[mainPos_].parent;
    RemoveRecord(mainPos_);
    FindNodeBefore(owner, start);
    return true;
  }
  if (!MainIsNode()) return false;
  const int start = nodeOffset_;
  const int span = RemovalEnd(nodeOffset_ + nodeLength_) - start;
  const int following = FirstElementAfter(parent, IsElement(mainPos_) ? mainPos_ : 0);
  text_.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(span));
  ++revision_;
  ShiftFollowing(parent, following, -span);
  FindNodeBefore(parent, start);
  return true;
}

// Replaces the node at the main position by `form`, refused when `form` is
// not one node of that kind.
bool CXmlDocument::ReplaceNode(int kind, const std::string& form) {
  int newKind = kind;
  if (kind == kNodeText || kind == kNodeWhiteSpace) {
    if (!form.empty()) newKind = TextKind(form);
  } else if (!IsSingleNode(form, kind)) {
    return false;
  }
  if (!CanResize(nodeLength_, static_cast<long long>(form.size()))) return false;
  const int parent = parentPos_;
  const int following = FirstElementAfter(parent, IsElement(mainPos_) ? mainPos_ : 0);
  text_.replace(static_cast<std::size_t>(nodeOffset_), static_cast<std::size_t>(nodeLength_), form);
  ++revision_;
  const int delta = static_cast<int>(form.size()) - nodeLength_;
  nodeLength_ = static_cast<int>(form.size());
  nodeKind_ = newKind;
  ShiftFollowing(parent, following, delta);
  return true;
}

bool CXmlDocument::PutNode(int kind, const char* text, int flags) {
  if (BoundToStream() || !IsParent(parentPos_)) return false;
  const std::string in(text ? text : "");
  std::string form;
  switch (kind) {
    case kNodeElement:
      if (!xmlrules::IsWritableName(text) || !xmlrules::IsStartTagNameStart(in[0])) return false;
      form = "<" + in + "/>";
      break;
    case kNodeText:
    case kNodeWhiteSpace:
      if (in.empty()) return false;
      form = EncodeXmlText(text, flags & kWriteKeepReferences);
      kind = TextKind(form);
      break;
    case kNodeCdata: form = "<![CDATA[" + in + "]]>"; break;
    case kNodeProcessingInstruction: form = "<?" + in + "?>"; break;
    case kNodeComment: form = "<!--" + in + "-->"; break;
    case kNodeDocumentType: form = in; break;
    case kNodeLoneEndTag: form = "</" + in + ">"; break;
    default: return false;
  }
  if (kind != kNodeElement && kind != kNodeText && kind != kNodeWhiteSpace && !IsSingleNode(form, kind))
    return false;

  const int parent = parentPos_;
  const bool before = (flags & kWriteBefore) != 0;
  Placement where;
  where.parent = parent;
  if (MainIsElement()) {
    if (records_[mainPos_].parent != parent) return false;
    where.offset = before ? records_[mainPos_].start : ElementEnd(mainPos_);
    where.linkAfter = before ? PreviousSiblingOrZero(mainPos_) : mainPos_;
  } else if (MainIsNode()) {
    where.offset = before ? nodeOffset_ : nodeOffset_ + nodeLength_;
    where.linkAfter = IsElement(mainPos_) ? mainPos_ : 0;
  } else {
    // No main position: before the first node of the parent.
    where.linkAfter = 0;
    where.offset = ContentBegin(parent);
    where.emptyParent = parent != 0 && records_[parent].endTagLength == 0;
  }
  if (where.linkAfter != 0 && records_[where.linkAfter].parent != parent) return false;

  int markupStart = 0, delta = 0;
  if (!InsertAt(where, form, false, &markupStart, &delta)) return false;
  if (kind == kNodeElement) {
    const int rec = NewRecord();
    ElementRecord& r = records_[rec];
    r.start = markupStart;
    r.length = r.startTagLength = static_cast<int>(form.size());
    r.level = parent == 0 ? 0 : records_[parent].level + 1;
    LinkAfter(parent, where.linkAfter, rec);
    ShiftFollowing(parent, records_[rec].nextSibling, delta);
    SetPosition(parent, rec, 0);
  } else {
    ShiftFollowing(parent, FirstElementAfter(parent, where.linkAfter), delta);
    SetMainNode(where.linkAfter, kind, markupStart, static_cast<int>(form.size()));
  }
  return true;
}
