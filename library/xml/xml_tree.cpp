// Keeping the element index consistent with the text: links between
// records, the offset-shifting walk after a splice, removal, placement of
// new markup and grafting the records of a parsed fragment.
#include <string>

#include "library/xml/xml_document.h"
#include "library/xml/xml_text_rules.h"

using xmlrules::IsWhiteSpace;

bool CXmlDocument::IsElement(int pos) const {
  return pos > 0 && pos < static_cast<int>(records_.size()) && !(records_[pos].flags & kRecordRemoved);
}

int CXmlDocument::ContentBegin(int pos) const {
  if (pos == 0) return 0;
  return records_[pos].start + records_[pos].startTagLength;
}

int CXmlDocument::ContentEnd(int pos) const {
  if (pos == 0) return TextSize();
  const ElementRecord& r = records_[pos];
  return r.start + r.length - r.endTagLength;
}

int CXmlDocument::ElementEnd(int pos) const { return records_[pos].start + records_[pos].length; }

int CXmlDocument::PreviousSiblingOrZero(int pos) const {
  return (records_[pos].flags & kRecordFirstChild) ? 0 : records_[pos].previousSibling;
}

int CXmlDocument::FirstElementAfter(int parent, int linkAfter) const {
  return linkAfter != 0 ? records_[linkAfter].nextSibling : records_[parent].firstChild;
}

std::string_view CXmlDocument::ElementName(int pos) const {
  if (!IsElement(pos)) return {};
  const ElementRecord& r = records_[pos];
  const int end = r.start + r.startTagLength;
  int p = r.start + 1;
  while (p < end && IsWhiteSpace(text_[p])) ++p;
  const int nameEnd = xmlrules::NameEnd(text_, p, end);
  return std::string_view(text_).substr(p, nameEnd - p);
}

bool CXmlDocument::ElementNameIs(int pos, std::string_view wanted, bool ignoreCase) const {
  if (!ignoreCase && IsElement(pos)) {
    // Equal names start with the same bytes.
    const ElementRecord& r = records_[pos];
    const int end = r.start + r.startTagLength;
    int p = r.start + 1;
    while (p < end && IsWhiteSpace(text_[p])) ++p;
    if (!wanted.empty() && (p >= TextSize() || text_[static_cast<std::size_t>(p)] != wanted.front())) return false;
    if (text_.compare(static_cast<std::size_t>(p), wanted.size(), wanted) != 0) return false;
  }
  return xmlrules::NamesEqual(ElementName(pos), wanted, ignoreCase);
}

// The offset after the white space at `offset` when a '<' or the end of
// the text follows it; `offset` otherwise.
int CXmlDocument::SkipTrailingWhiteSpace(int offset) const {
  int q = offset;
  while (q < TextSize() && IsWhiteSpace(text_[q])) ++q;
  return (q == TextSize() || text_[q] == '<') ? q : offset;
}

int CXmlDocument::RemovalEnd(int end) const { return SkipTrailingWhiteSpace(end); }

void CXmlDocument::Unlink(int rec) {
  const int parent = records_[rec].parent;
  const int first = records_[parent].firstChild;
  const int next = records_[rec].nextSibling;
  const int prev = records_[rec].previousSibling;
  if (rec == first) {
    records_[parent].firstChild = next;
    if (next != 0) {
      records_[next].flags |= kRecordFirstChild;
      records_[next].previousSibling = prev;
    }
  } else {
    records_[prev].nextSibling = next;
    if (next != 0) records_[next].previousSibling = prev;
    else records_[first].previousSibling = prev;
  }
  records_[rec].nextSibling = records_[rec].previousSibling = 0;
  records_[rec].flags &= ~kRecordFirstChild;
}

// Flags the subtree removed and chains it through the next-sibling field.
void CXmlDocument::MarkRemoved(int root, bool includeRoot) {
  std::vector<int> subtree;
  if (includeRoot) subtree.push_back(root);
  std::vector<int> stack;
  for (int c = records_[root].firstChild; c != 0; c = records_[c].nextSibling) stack.push_back(c);
  while (!stack.empty()) {
    const int r = stack.back();
    stack.pop_back();
    subtree.push_back(r);
    for (int c = records_[r].firstChild; c != 0; c = records_[c].nextSibling) stack.push_back(c);
  }
  if (!includeRoot) records_[root].firstChild = 0;
  for (const int r : subtree) {
    records_[r].flags |= kRecordRemoved;
    records_[r].nextSibling = removedHead_;
    removedHead_ = r;
  }
}

void CXmlDocument::ShiftDescendants(int root, int delta) {
  int r = records_[root].firstChild;
  if (r == 0) return;
  for (;;) {
    records_[r].start += delta;
    if (records_[r].firstChild != 0) {
      r = records_[r].firstChild;
      continue;
    }
    while (r != root && records_[r].nextSibling == 0) r = records_[r].parent;
    if (r == root) return;
    r = records_[r].nextSibling;
  }
}

void CXmlDocument::ShiftSubtree(int root, int delta) {
  records_[root].start += delta;
  ShiftDescendants(root, delta);
}

// After a splice of `delta` bytes inside `parent`, before `sibling`: every
// element from `sibling` on starts later, every enclosing element is longer,
// and so on up to the document.
void CXmlDocument::ShiftFollowing(int parent, int sibling, int delta) {
  if (delta == 0) return;
  for (;;) {
    for (int s = sibling; s != 0; s = records_[s].nextSibling) ShiftSubtree(s, delta);
    records_[parent].length += delta;
    if (parent == 0) return;
    sibling = records_[parent].nextSibling;
    parent = records_[parent].parent;
  }
}

bool CXmlDocument::CanResize(long long removed, long long inserted) const {
  const long long size = static_cast<long long>(text_.size()) - removed + inserted;
  return size >= 0 && size <= kMaxTextLength;
}

// Cuts the element (and the white space after it when a '<' or the end of
// the text follows) and returns its previous sibling, 0 when it was first.
int CXmlDocument::RemoveRecord(int rec) {
  const int parent = records_[rec].parent;
  const int next = records_[rec].nextSibling;
  const int previous = PreviousSiblingOrZero(rec);
  const int start = records_[rec].start;
  const int span = RemovalEnd(ElementEnd(rec)) - start;
  Unlink(rec);
  MarkRemoved(rec, true);
  text_.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(span));
  ++revision_;
  ShiftFollowing(parent, next, -span);
  if (childPos_ != 0 && !IsElement(childPos_)) childPos_ = 0;
  if (mainPos_ != 0 && !IsElement(mainPos_)) mainPos_ = 0;
  if (parentPos_ != 0 && !IsElement(parentPos_)) parentPos_ = 0;
  return previous;
}

// Where new markup goes: after `reference` (or before it with the flag
// 0x2000); with no reference at the end of the children, or at their head
// with 0x2000. A sibling is placed after the white space that follows its
// reference when a '<' or the end of the text follows, unless 0x2.
bool CXmlDocument::PlaceNew(int parent, int reference, bool referenceIsNode, int flags,
                            Placement* out) const {
  if (!IsParent(parent)) return false;
  const bool before = (flags & kWriteBefore) != 0;
  const bool skipWhiteSpace = !(flags & kWriteNoLineBreak);
  Placement p;
  p.parent = parent;
  if (referenceIsNode) {
    p.linkAfter = (IsElement(mainPos_) && records_[mainPos_].parent == parent) ? mainPos_ : 0;
    const int end = nodeOffset_ + nodeLength_;
    p.offset = before ? nodeOffset_ : (skipWhiteSpace ? SkipTrailingWhiteSpace(end) : end);
  } else if (reference != 0) {
    if (!IsElement(reference) || records_[reference].parent != parent) return false;
    if (before) {
      p.offset = records_[reference].start;
      p.linkAfter = PreviousSiblingOrZero(reference);
    } else {
      const int end = ElementEnd(reference);
      p.offset = skipWhiteSpace ? SkipTrailingWhiteSpace(end) : end;
      p.linkAfter = reference;
    }
  } else {
    const int first = records_[parent].firstChild;
    if (before && first != 0) {
      p.offset = records_[first].start;
      p.linkAfter = 0;
    } else if (first != 0) {
      const int last = records_[first].previousSibling;
      const int end = ElementEnd(last);
      p.offset = skipWhiteSpace ? SkipTrailingWhiteSpace(end) : end;
      p.linkAfter = last;
    } else {
      p.emptyParent = true;
      p.offset = ContentEnd(parent);
    }
  }
  // Never past the parent's content.
  if (parent != 0 && p.offset > ContentEnd(parent) && records_[parent].endTagLength != 0)
    p.offset = ContentEnd(parent);
  *out = p;
  return true;
}

// Splices `markup` in at the placement. A parent written as `<p/>` or left
// unended gets its end tag, so that it reads `<p>` markup `</p>`; a parent
// `<p></p>` gets a line break before the markup.
bool CXmlDocument::InsertAt(const Placement& where, const std::string& markup, bool lineBreaks,
                            int* markupStart, int* delta) {
  const int parent = where.parent;
  const std::string lineBreak = lineBreaks ? "\r\n" : "";
  if (where.emptyParent && parent != 0 && records_[parent].endTagLength == 0) {
    ElementRecord& p = records_[parent];
    const bool unended = (p.flags & kRecordUnended) != 0;
    const int at = p.start + p.startTagLength - (unended ? 1 : 2);
    if (at <= p.start || (!unended && text_[at] != '/') || (unended && text_[at] != '>')) return false;
    const std::string name(ElementName(parent));
    const std::string insert = ">" + lineBreak + markup + "</" + name;
    const int removed = unended ? 0 : 1;
    if (!CanResize(removed, static_cast<long long>(insert.size()))) return false;
    text_.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(removed), insert);
    ++revision_;
    records_[parent].startTagLength -= removed;
    records_[parent].endTagLength = static_cast<int>(name.size()) + 3;
    records_[parent].flags &= ~kRecordUnended;
    *markupStart = at + 1 + static_cast<int>(lineBreak.size());
    *delta = static_cast<int>(insert.size()) - removed;
    return true;
  }
  std::string insert = markup;
  int prefix = 0;
  if (where.emptyParent && parent != 0 && ContentBegin(parent) == ContentEnd(parent)) {
    insert = lineBreak + markup;
    prefix = static_cast<int>(lineBreak.size());
  }
  if (!CanResize(0, static_cast<long long>(insert.size()))) return false;
  text_.insert(static_cast<std::size_t>(where.offset), insert);
  ++revision_;
  *markupStart = where.offset + prefix;
  *delta = static_cast<int>(insert.size());
  return true;
}

// Copies the records of a parsed fragment into this index as children of
// `parent` after `linkAfter`, their offsets moved by `offset`. Returns the
// last record linked at that level (`linkAfter` when there is none).
int CXmlDocument::Graft(const CXmlDocument& fragment, int offset, int parent, int linkAfter,
                        int* firstTop) {
  const int base = static_cast<int>(records_.size()) - 1;
  const int levelBase = parent == 0 ? 0 : records_[parent].level + 1;
  auto map = [base](int index) { return index == 0 ? 0 : index + base; };
  const std::vector<ElementRecord>& source = fragment.records_;
  for (std::size_t i = 1; i < source.size(); ++i) {
    ElementRecord r = source[i];
    r.start += offset;
    r.parent = r.parent == 0 ? parent : map(r.parent);
    r.firstChild = map(r.firstChild);
    r.nextSibling = map(r.nextSibling);
    r.previousSibling = map(r.previousSibling);
    r.level += levelBase;
    r.flags &= ~kRecordParseError;
    records_.push_back(r);
  }
  *firstTop = map(source[0].firstChild);
  int after = linkAfter;
  for (int top = source[0].firstChild; top != 0; top = source[top].nextSibling) {
    LinkAfter(parent, after, map(top));
    after = map(top);
  }
  return after;
}

void CXmlDocument::SetMainNode(int lastElement, int kind, int offset, int length) {
  mainPos_ = lastElement;
  childPos_ = 0;
  nodeKind_ = kind;
  nodeOffset_ = offset;
  nodeLength_ = length;
}
