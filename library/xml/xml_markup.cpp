// Replacing the content of an element by markup and inserting markup
// fragments, with the records of the parsed markup grafted into the index.
#include <string>

#include "library/xml/xml_document.h"

namespace {

// Parses `markup` on its own, with the case rule of the document.
CXmlDocument ParseFragment(const char* markup, int documentFlags) {
  CXmlDocument fragment;
  fragment.SetDocumentFlags(documentFlags & CXmlDocument::kIgnoreCase);
  fragment.SetDocument(markup ? markup : "");
  return fragment;
}

}  // namespace

bool CXmlDocument::SetInnerMarkup(const char* markup) {
  if (BoundToStream() || !MainIsElement()) return false;
  const int pos = mainPos_;
  const CXmlDocument fragment = ParseFragment(markup, flags_);
  const std::string& inner = fragment.GetDocument();
  const bool hadErrors = (fragment.records_[0].flags & kRecordParseError) != 0;
  {
    const ElementRecord& r = records_[pos];
    const long long removed = r.endTagLength != 0 ? ContentEnd(pos) - ContentBegin(pos) : 0;
    if (!CanResize(removed, static_cast<long long>(inner.size()) + static_cast<long long>(r.startTagLength) + 3))
      return false;
  }
  MarkRemoved(pos, false);
  if (childPos_ != 0 && !IsElement(childPos_)) childPos_ = 0;
  if (!ReplaceElementContent(pos, inner)) return false;
  if (records_[pos].endTagLength != 0) {
    int firstTop = 0;
    Graft(fragment, ContentBegin(pos), pos, 0, &firstTop);
  }
  if (hadErrors) {
    records_[pos].flags |= kRecordIllFormed;
    records_[0].flags |= kRecordParseError;
  } else {
    records_[pos].flags &= ~kRecordIllFormed;
  }
  return !hadErrors;
}

bool CXmlDocument::InsertMarkup(const char* markup, int flags) {
  if (BoundToStream()) return false;
  const bool asChild = (flags & kWriteAsChild) != 0;
  if (asChild && !MainIsElement()) return false;
  const int parent = asChild ? mainPos_ : parentPos_;
  const bool afterNode = !asChild && MainIsNode();
  const int reference = asChild ? childPos_ : (afterNode ? 0 : mainPos_);
  Placement where;
  if (!PlaceNew(parent, reference, afterNode, flags, &where)) return false;

  const CXmlDocument fragment = ParseFragment(markup, flags_);
  const bool wellFormed = fragment.CheckWellFormed();
  const bool hadErrors = (fragment.records_[0].flags & kRecordParseError) != 0;
  const std::string& text = fragment.GetDocument();
  if (text.empty()) return false;

  int markupStart = 0, delta = 0;
  if (!InsertAt(where, text, false, &markupStart, &delta)) return false;
  int firstTop = 0;
  const int last = Graft(fragment, markupStart, parent, where.linkAfter, &firstTop);
  ShiftFollowing(parent, FirstElementAfter(parent, last), delta);
  if (hadErrors) {
    if (parent != 0) records_[parent].flags |= kRecordIllFormed;
    records_[0].flags |= kRecordParseError;
  }
  if (firstTop != 0) {
    if (asChild) childPos_ = firstTop;
    else SetPosition(parent, firstTop, 0);
  }
  return wellFormed;
}
