// Construction, assignment, the parse that builds the element index and
// the well-formedness verdict.
#include <atomic>
#include <cstring>
#include <mutex>

#include "library/xml/xml_document.h"
#include "library/xml/xml_text_rules.h"
#include "library/xml/xml_token_scanner.h"

CXmlDocument::CXmlDocument(const char* text) { SetDocument(text); }

CXmlDocument& CXmlDocument::operator=(const CXmlDocument& other) {
  if (this == &other || BoundToStream() || other.BoundToStream()) return *this;
  text_ = other.text_;
  log_ = other.log_;
  parentPos_ = other.parentPos_;
  mainPos_ = other.mainPos_;
  childPos_ = other.childPos_;
  removedHead_ = other.removedHead_;
  nodeKind_ = other.nodeKind_;
  nodeOffset_ = other.nodeOffset_;
  nodeLength_ = other.nodeLength_;
  flags_ = other.flags_;
  savedPositions_ = other.savedPositions_;
  records_ = other.records_;
  ++revision_;
  return *this;
}

bool CXmlDocument::SetDocument(const char* text) {
  if (BoundToStream()) return false;
  log_.clear();
  if (text == nullptr) {
    text_.clear();
    std::vector<ElementRecord>().swap(records_);  // release the index
  } else {
    const std::size_t length = std::strlen(text);
    if (length > static_cast<std::size_t>(kMaxTextLength)) text_.clear();
    else text_.assign(text, length);
  }
  return Parse();
}

bool CXmlDocument::SetDocument(const std::string& text) {
  if (BoundToStream()) return false;
  log_.clear();
  if (text.size() > static_cast<std::size_t>(kMaxTextLength)) text_.clear();
  else text_ = text;
  return Parse();
}

bool CXmlDocument::CheckWellFormed() const {
  if (flags_ & kStreamWrite) return true;
  const bool parseError = !records_.empty() && (records_[0].flags & kRecordParseError);
  if (flags_ & kStreamRead) return !parseError;
  if (records_.empty() || parseError) return false;
  const int root = records_[0].firstChild;
  return root != 0 && records_[root].nextSibling == 0;
}

namespace {

// The element index of the last document that went, kept for the next
// parse so that a document opened, changed and dropped over and over does
// not allocate (and fault in) its index afresh each time. One for the
// process, under its own lock (the store's documents live on the socket
// thread and on every thread that sends a command). Indexes above
// kMaxSpareRecords are not kept. Documents that go after the spare itself
// (static ones at exit) leave it alone: the flag outlives it.
constexpr std::size_t kMaxSpareRecords = std::size_t{1} << 16;

std::atomic<bool> g_spareGone{false};

struct SpareRecords {
  std::mutex mutex;
  std::vector<ElementRecord> records;
  ~SpareRecords() { g_spareGone = true; }
};

SpareRecords g_spare;

}  // namespace

CXmlDocument::~CXmlDocument() {
  if (g_spareGone || records_.capacity() > kMaxSpareRecords) return;
  std::lock_guard lock(g_spare.mutex);
  if (records_.capacity() > g_spare.records.capacity()) g_spare.records.swap(records_);
}

void CXmlDocument::ResetIndex() {
  ++revision_;
  parentPos_ = mainPos_ = childPos_ = 0;
  nodeKind_ = nodeOffset_ = nodeLength_ = 0;
  savedPositions_.clear();
  records_.clear();
  if (!text_.empty() && !g_spareGone) {
    std::lock_guard lock(g_spare.mutex);
    if (g_spare.records.capacity() > records_.capacity()) {
      records_.swap(g_spare.records);
      records_.clear();
    }
  }
  records_.reserve(text_.size() / 64 + 8);
  records_.emplace_back();
  removedHead_ = 0;
}

bool CXmlDocument::Parse() {
  ResetIndex();
  if (!text_.empty()) {
    const int first = ParseElements(0);
    records_[0].length = TextSize();
    if (first == 0) AddResult("no_root_element", nullptr, 0);
    else if (records_[first].nextSibling != 0) AddResult("root_has_sibling", nullptr, 0);
  }
  parentPos_ = mainPos_ = childPos_ = 0;
  return CheckWellFormed();
}

namespace {

struct OpenElement {
  int record;
  int nameStart;
  int nameLength;
};

}  // namespace

int CXmlDocument::ParseElements(int under) {
  XmlTokenScanner scanner(text_, 0, TextSize());
  const bool ignoreCase = (flags_ & kIgnoreCase) != 0;
  const int firstNew = static_cast<int>(records_.size());
  std::vector<OpenElement> open;
  open.reserve(7);
  int first = 0;
  bool moved = false;  // unended elements gave their children away
  auto currentParent = [&] { return open.empty() ? under : open.back().record; };
  auto markError = [&] {
    records_[under].flags |= kRecordParseError;
    const int parent = currentParent();
    if (parent != 0) records_[parent].flags |= kRecordIllFormed;
  };

  // Unends open[from..top], innermost first; their children become
  // following siblings, all moving at once to the parent of open[from].
  auto unendFrom = [&](std::size_t from, int offset2) {
    if (from >= open.size()) return;
    moved = true;
    records_[under].flags |= kRecordParseError;
    const int target = from == 0 ? under : open[from - 1].record;
    for (std::size_t i = open.size(); i-- > from;) {
      ElementRecord& e = records_[open[i].record];
      e.flags |= kRecordUnended;
      e.length = e.startTagLength;
      e.endTagLength = 0;
      if (e.flags & kRecordIllFormed) {
        e.flags &= ~kRecordIllFormed;
        const int parent = i == from ? target : open[i - 1].record;
        if (parent != 0) records_[parent].flags |= kRecordIllFormed;
      }
      const std::string name = text_.substr(open[i].nameStart, open[i].nameLength);
      AddResult("unended_start_tag", name.c_str(), 0, e.start, offset2);
    }
    for (std::size_t i = from; i < open.size(); ++i) {
      const int element = open[i].record;
      int child = records_[element].firstChild;
      records_[element].firstChild = 0;
      while (child != 0) {
        const int next = records_[child].nextSibling;
        LinkAfter(target, LastChild(target), child);
        child = next;
      }
    }
    open.resize(from);
  };

  for (;;) {
    const XmlToken token = scanner.NextElementToken();
    if (token.kind == XmlTokenScanner::kEndOfText) {
      unendFrom(0, TextSize());
      break;
    }
    if (token.kind == 1) {
      const int rec = NewRecord();
      const int parent = currentParent();
      ElementRecord& r = records_[rec];
      r.start = token.start;
      r.startTagLength = token.length;
      r.level = (under == 0 ? 0 : records_[under].level + 1) + static_cast<int>(open.size());
      LinkAfter(parent, LastChild(parent), rec);
      if (token.empty) {
        records_[rec].length = token.length;
      } else {
        open.push_back({rec, scanner.NameStart(), scanner.NameEnd() - scanner.NameStart()});
      }
      if (first == 0) first = rec;
    } else if (token.kind == XmlTokenScanner::kEndTag) {
      const std::string_view tag = std::string_view(text_).substr(
          scanner.NameStart(), token.start + token.length - scanner.NameStart());
      std::size_t match = open.size();
      // Most end tags end the innermost open element, by the same bytes.
      const int nameLength = scanner.NameEnd() - scanner.NameStart();
      if (!ignoreCase && !open.empty() && open.back().nameLength == nameLength &&
          xmlrules::SameBytes(text_.data() + open.back().nameStart, text_.data() + scanner.NameStart(),
                              static_cast<std::size_t>(nameLength)))
        match = open.size() - 1;
      for (std::size_t i = open.size(); match == open.size() && i-- > 0;) {
        const std::string_view name = std::string_view(text_).substr(open[i].nameStart, open[i].nameLength);
        if (xmlrules::NameStartsText(name, tag, ignoreCase)) {
          match = i;
          break;
        }
      }
      if (match == open.size()) {
        markError();
        const std::string name(scanner.Name());
        AddResult("lone_end_tag", name.c_str(), 0, token.start);
        continue;
      }
      if (match + 1 < open.size()) unendFrom(match + 1, token.start + 1);
      ElementRecord& e = records_[open[match].record];
      e.length = token.start + token.length - e.start;
      e.endTagLength = token.length;
      open.pop_back();
    } else if (token.kind == XmlTokenScanner::kError) {
      markError();
      for (const XmlScanEvent& event : scanner.TakeEvents())
        AddResult(event.key, event.type, event.type ? 0x2 : 0, event.offset);
    }
  }

  // Levels follow the final tree: unending moves children up. A parent
  // always has a smaller index than its children, so one pass suffices.
  // Without a move the levels given above are already those of the tree.
  if (!moved && under == 0) return first;
  for (int rec = firstNew; rec < static_cast<int>(records_.size()); ++rec) {
    const int parent = records_[rec].parent;
    records_[rec].level = parent == 0 ? 0 : records_[parent].level + 1;
  }
  return first;
}
