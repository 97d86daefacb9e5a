// Writing attributes, elements and texts, and removing elements. Every
// change splices the text in place and shifts the index to match.
#include <cstring>
#include <string>

#include "library/xml/xml_attributes.h"
#include "library/xml/xml_document.h"
#include "library/xml/xml_text_rules.h"

namespace {

// A CDATA section holding `text`; each "]]>" is split over two sections.
std::string CdataForm(const char* text) {
  std::string out = "<![CDATA[";
  const std::string_view in(text ? text : "");
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = in.find("]]>", from);
    if (at == std::string_view::npos) break;
    out.append(in.substr(from, at - from));
    out += "]]]]><![CDATA[>";
    from = at + 3;
  }
  out.append(in.substr(from));
  out += "]]>";
  return out;
}

}  // namespace

bool CXmlDocument::SetAttribute(const char* name, const char* value, int flags) {
  return SetAttributeAt(mainPos_, name, value, flags);
}

bool CXmlDocument::SetAttributeInt(const char* name, int value, int flags) {
  return SetAttributeAt(mainPos_, name, std::to_string(value).c_str(), flags);
}

bool CXmlDocument::SetAttributeAt(int pos, const char* name, const char* value, int flags) {
  if ((flags_ & kStreamRead) || !xmlrules::IsWritableName(name)) return false;
  int begin = 0, end = 0;
  if (!AttributeRegion(pos, &begin, &end)) return false;
  const bool node = pos == mainPos_ && MainIsNode();
  const bool ignoreCase = (flags_ & kIgnoreCase) != 0;
  const std::string escaped = EncodeXmlText(value ? value : "", kEncodeAttribute | (flags & kWriteKeepReferences));
  const std::string_view wanted(name);
  XmlAttributeSpan found;
  bool exists = false;
  const int stop = ScanXmlAttributes(text_, begin, end, [&](const XmlAttributeSpan& a) {
    const std::string_view n = std::string_view(text_).substr(a.nameBegin, a.nameEnd - a.nameBegin);
    if (!xmlrules::NamesEqual(n, wanted, ignoreCase)) return true;
    found = a;
    exists = true;
    return false;
  });

  int at = stop;
  int removed = 0;
  std::string insert;
  if (exists && found.hasValue) {
    at = found.tokenBegin;
    removed = found.tokenEnd - found.tokenBegin;
    insert = "\"" + escaped + "\"";
  } else if (exists) {
    at = found.nameEnd;
    insert = "=\"" + escaped + "\"";
  } else {
    insert = " " + std::string(wanted) + "=\"" + escaped + "\"";
  }
  if (!CanResize(removed, static_cast<long long>(insert.size()))) return false;
  text_.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(removed), insert);
  ++revision_;
  const int delta = static_cast<int>(insert.size()) - removed;
  if (node) {
    nodeLength_ += delta;
    ShiftFollowing(parentPos_, FirstElementAfter(parentPos_, IsElement(mainPos_) ? mainPos_ : 0), delta);
  } else {
    records_[pos].startTagLength += delta;
    records_[pos].length += delta;
    ShiftDescendants(pos, delta);
    ShiftFollowing(records_[pos].parent, records_[pos].nextSibling, delta);
  }
  return true;
}

bool CXmlDocument::AddElementInt(const char* name, int value, int flags) {
  return AddElement(name, std::to_string(value).c_str(), flags);
}

bool CXmlDocument::AddElement(const char* name, const char* text, int flags) {
  if ((flags_ & kStreamRead) || !xmlrules::IsWritableName(name) || !xmlrules::IsStartTagNameStart(name[0]))
    return false;
  const bool asChild = (flags & kWriteAsChild) != 0;
  if (asChild && !MainIsElement()) return false;
  const bool hasText = text != nullptr && *text != '\0';
  if ((flags & kWriteUnended) && hasText) return false;

  const int parent = asChild ? mainPos_ : parentPos_;
  Placement where;
  const bool afterNode = !asChild && MainIsNode();
  const int reference = asChild ? childPos_ : (afterNode ? 0 : mainPos_);
  if (!PlaceNew(parent, reference, afterNode, flags, &where)) return false;

  const std::string n(name);
  const int nameLength = static_cast<int>(n.size());
  std::string markup;
  int startTagLength, endTagLength = 0;
  if (hasText) {
    const std::string body = (flags & kWriteCdata) ? CdataForm(text) : EncodeXmlText(text, flags & kWriteKeepReferences);
    markup = "<" + n + ">" + body + "</" + n + ">";
    startTagLength = nameLength + 2;
    endTagLength = nameLength + 3;
  } else if (flags & kWriteUnended) {
    markup = "<" + n + ">";
    startTagLength = nameLength + 2;
  } else {
    markup = (flags & kWriteSpaceBeforeSlash) ? "<" + n + " />" : "<" + n + "/>";
    startTagLength = static_cast<int>(markup.size());
  }
  const int elementLength = static_cast<int>(markup.size());
  const bool lineBreaks = !(flags & kWriteNoLineBreak);
  if (lineBreaks) markup += "\r\n";

  int markupStart = 0, delta = 0;
  if (!InsertAt(where, markup, lineBreaks, &markupStart, &delta)) return false;
  const int rec = NewRecord();
  ElementRecord& r = records_[rec];
  r.start = markupStart;
  r.length = elementLength;
  r.startTagLength = startTagLength;
  r.endTagLength = endTagLength;
  r.level = parent == 0 ? 0 : records_[parent].level + 1;
  if ((flags & kWriteUnended) && !hasText) r.flags |= kRecordUnended;
  LinkAfter(parent, where.linkAfter, rec);
  ShiftFollowing(parent, records_[rec].nextSibling, delta);
  if (asChild) {
    childPos_ = rec;
  } else {
    SetPosition(parent, rec, 0);
  }
  return true;
}

bool CXmlDocument::SetText(const char* text, int flags) { return SetTextAt(mainPos_, text, flags); }

bool CXmlDocument::SetChildText(const char* text, int flags) { return SetTextAt(childPos_, text, flags); }

bool CXmlDocument::SetTextInt(int pos, int value) { return SetTextAt(pos, std::to_string(value).c_str(), 0); }

bool CXmlDocument::SetTextAt(int pos, const char* text, int flags) {
  if (flags_ & kStreamRead) return false;
  if (pos == mainPos_ && MainIsNode()) {
    const std::string_view in(text ? text : "");
    std::string form;
    switch (nodeKind_) {
      case kNodeText:
      case kNodeWhiteSpace: form = EncodeXmlText(text, flags & kWriteKeepReferences); break;
      case kNodeCdata: form = "<![CDATA[" + std::string(in) + "]]>"; break;
      case kNodeProcessingInstruction: form = "<?" + std::string(in) + "?>"; break;
      case kNodeComment: form = "<!--" + std::string(in) + "-->"; break;
      case kNodeDocumentType: form = std::string(in); break;
      case kNodeLoneEndTag: form = "</" + std::string(in) + ">"; break;
      default: return false;
    }
    return ReplaceNode(nodeKind_, form);
  }
  if (!IsElement(pos) || records_[pos].firstChild != 0) return false;
  const std::string body = (flags & kWriteCdata) ? CdataForm(text) : EncodeXmlText(text, flags & kWriteKeepReferences);
  if (!ReplaceElementContent(pos, body)) return false;
  records_[pos].flags &= ~kRecordIllFormed;
  return true;
}

// Replaces what lies between the tags of an element without child
// elements; `<x/>` and an unended `<x>` become `<x>body</x>`.
bool CXmlDocument::ReplaceElementContent(int pos, const std::string& body) {
  ElementRecord& r = records_[pos];
  int at, removed;
  std::string insert;
  int startTagChange = 0;
  int endTagLength = r.endTagLength;
  if (r.endTagLength != 0) {
    at = ContentBegin(pos);
    removed = ContentEnd(pos) - at;
    insert = body;
  } else {
    if (body.empty()) return true;  // nothing to write into an empty element
    const std::string name(ElementName(pos));
    endTagLength = static_cast<int>(name.size()) + 3;
    if (r.flags & kRecordUnended) {
      at = r.start + r.startTagLength;
      removed = 0;
      insert = body + "</" + name + ">";
    } else {
      at = r.start + r.startTagLength - 2;
      if (at <= r.start || text_[at] != '/') return false;
      removed = 2;
      insert = ">" + body + "</" + name + ">";
      startTagChange = -1;
    }
  }
  if (!CanResize(removed, static_cast<long long>(insert.size()))) return false;
  text_.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(removed), insert);
  ++revision_;
  const int delta = static_cast<int>(insert.size()) - removed;
  ElementRecord& e = records_[pos];
  e.startTagLength += startTagChange;
  e.endTagLength = endTagLength;
  e.flags &= ~kRecordUnended;
  e.length += delta;
  ShiftFollowing(e.parent, e.nextSibling, delta);
  return true;
}

bool CXmlDocument::RemoveElement() {
  if (BoundToStream() || !MainIsElement()) return false;
  const int parent = records_[mainPos_].parent;
  const int previous = RemoveRecord(mainPos_);
  SetPosition(parent, previous, 0);
  return true;
}

bool CXmlDocument::RemoveChildElement() {
  if (BoundToStream() || !MainIsElement() || !IsElement(childPos_) || records_[childPos_].parent != mainPos_)
    return false;
  childPos_ = RemoveRecord(childPos_);
  return true;
}
