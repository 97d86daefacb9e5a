#pragma once
// An XML document held as one text with an index of its elements beside it.
// The text is never turned into node objects: the index records where each
// element lies in the text, navigation reads the index, and editing splices
// the text and shifts the offsets of the index so that no re-parse is needed.
//
// The text is in the process code page; every offset and length is a byte
// count into it. Multi-byte characters are stepped over whole.
#include <map>
#include <string>
#include <string_view>
#include <vector>

// One element of the index. Offsets and lengths are bytes into the text;
// links are record indices (0 = none, or the document for `parent`).
class XmlFileIo;
class XmlTokenScanner;

struct ElementRecord {
  int start = 0;           // offset of the element's '<'
  int length = 0;          // through the end tag; the start tag alone when empty or unended
  int startTagLength = 0;  // from '<' through '>'
  int endTagLength = 0;    // 0 when there is no end tag
  int level = 0;           // root element 0, its children 1, ...
  int flags = 0;           // CXmlDocument::kRecord* bits
  int parent = 0;
  int firstChild = 0;
  int nextSibling = 0;
  int previousSibling = 0;  // a first child holds the last child here
};

class CXmlDocument {
 public:
  // Document flags.
  static constexpr int kUtf16Le = 0x1;
  static constexpr int kUtf8Bom = 0x4;
  static constexpr int kIgnoreCase = 0x8;
  static constexpr int kStreamRead = 0x10;
  static constexpr int kStreamWrite = 0x20;
  static constexpr int kAppend = 0x40;
  static constexpr int kUtf16Be = 0x80;
  static constexpr int kTrimWhiteSpace = 0x100;
  static constexpr int kCollapseWhiteSpace = 0x200;

  // Record flags (ElementRecord::flags).
  static constexpr int kRecordRemoved = 0x20000;
  static constexpr int kRecordFirstChild = 0x80000;
  static constexpr int kRecordUnended = 0x100000;
  static constexpr int kRecordIllFormed = 0x200000;
  static constexpr int kRecordParseError = 0x800000;

  // Node kinds.
  static constexpr int kNodeElement = 1;
  static constexpr int kNodeText = 2;
  static constexpr int kNodeWhiteSpace = 4;
  static constexpr int kNodeCdata = 8;
  static constexpr int kNodeProcessingInstruction = 16;
  static constexpr int kNodeComment = 32;
  static constexpr int kNodeDocumentType = 64;
  static constexpr int kNodeLoneEndTag = 128;
  static constexpr int kNodeError = 0x8000;

  // Flags of AddElement, PutNode, InsertMarkup and the text writers.
  static constexpr int kWriteCdata = 0x1;
  static constexpr int kWriteNoLineBreak = 0x2;
  static constexpr int kWriteSpaceBeforeSlash = 0x4;
  static constexpr int kWriteKeepReferences = 0x8;
  static constexpr int kWriteUnended = 0x10;
  static constexpr int kWriteBefore = 0x2000;
  static constexpr int kWriteAsChild = 0x4000;

  // Escaping flag: attribute mode (quotes escaped too).
  static constexpr int kEncodeAttribute = 0x100;

  // Offsets are 32-bit: longer texts are not accepted.
  static constexpr int kMaxTextLength = 0x7FFFFFFF;

  explicit CXmlDocument(const char* text = nullptr);
  CXmlDocument(const CXmlDocument& other) = default;
  // Refused (nothing copied) when either side is bound to a stream.
  CXmlDocument& operator=(const CXmlDocument& other);
  // Leaves its index to the next document of the thread.
  ~CXmlDocument();

  // --- document, parse and result log ---
  bool SetDocument(const char* text);
  bool SetDocument(const std::string& text);
  const std::string& GetDocument() const { return text_; }
  bool CheckWellFormed() const;
  int GetDocumentFlags() const { return flags_; }
  void SetDocumentFlags(int flags) {
    flags_ = flags;
    ++revision_;
  }
  // Changes with every change of the text, the index or the flags: what was
  // found at one revision holds while the revision stays the same.
  unsigned Revision() const { return revision_; }
  const std::string& GetResultLog() const { return log_; }
  std::string DescribeResults() const;

  // --- navigation ---
  int SetPosition(int parent, int main, int child);
  int ParentPosition() const { return parentPos_; }
  int MainPosition() const { return mainPos_; }
  int ChildPosition() const { return childPos_; }
  bool FindElement(const char* name = nullptr);
  bool FindChildElement(const char* name = nullptr);
  std::string GetElementName() const;
  bool EnterElement();
  bool LeaveElement();
  std::string GetAttribute(const char* name) const;
  std::string GetAttributeAt(int pos, const char* name) const;
  std::string GetText() const;
  std::string GetChildText() const;
  std::string GetTextAt(int pos) const;

  // --- editing ---
  bool SetAttribute(const char* name, const char* value, int flags = 0);
  bool SetAttributeInt(const char* name, int value, int flags = 0);
  bool SetAttributeAt(int pos, const char* name, const char* value, int flags = 0);
  bool AddElement(const char* name, const char* text = nullptr, int flags = 0);
  bool AddElementInt(const char* name, int value, int flags = 0);
  bool SetText(const char* text, int flags = 0);
  bool SetChildText(const char* text, int flags = 0);
  bool SetTextAt(int pos, const char* text, int flags = 0);
  bool SetTextInt(int pos, int value);
  bool RemoveElement();
  bool RemoveChildElement();

  static std::string EncodeXmlText(const char* text, int flags);
  static std::string DecodeXmlText(const char* text, int length, int flags);

  // --- less used operations ---
  int FindNextNode(int kinds = 0);
  bool DeleteNode();
  bool PutNode(int kind, const char* text, int flags = 0);
  bool GetAttributeByIndex(int index, std::string* name, std::string* value) const;
  std::string AttributeNameAt(int index) const;
  bool StorePosition(const char* name, int map = 0);
  bool RecallPosition(const char* name, int map = 0);
  bool SetPositionMapSize(int buckets, int map = 0);
  std::string BuildElementPath(int pos) const;
  std::string GetInnerMarkup(int pos) const;
  bool SetInnerMarkup(const char* markup);
  std::string GetElementMarkup(int pos) const;
  bool InsertMarkup(const char* markup, int flags = 0);

  // --- files ---
  bool LoadFile(const char* path);
  bool SaveFile(const char* path);
  static bool LoadFileText(const char* path, std::string* text, std::string* log, int* flags);
  static bool SaveFileText(const char* path, const std::string& text, std::string* log, int* flags);
  static std::string FindDeclaredEncoding(std::string_view text);

  // --- code pages (0 = the process code page, 65005 = code points) ---
  static int CodePageOfEncoding(const char* name);
  static bool EncodingsDiffer(const char* a, const char* b);
  static std::string Utf8ToProcessCodePage(const char* text, bool* lost);
  static std::string ProcessCodePageToUtf8(const char* text);
  // One character: the code point, advancing `p`; -1 (one byte or unit
  // consumed) for an invalid or cut-off sequence; 0 at the end.
  static int DecodeUtf8Char(const char*& p, const char* end);
  static int DecodeUtf16Char(const char16_t*& p, const char16_t* end);
  // One code point into `out` (room for 4 bytes / 2 units); returns the
  // number written, 0 for a value that is no character.
  static int EncodeUtf8Char(int codePoint, char* out);
  static int EncodeUtf16Char(int codePoint, char16_t* out);
  // Whole texts; an invalid sequence becomes '?'.
  static std::string Utf16ToUtf8(std::u16string_view text);
  static std::u16string Utf8ToUtf16(std::string_view text);

 private:
  friend struct XmlDocumentTestAccess;
  friend class XmlFileIo;
  struct SavedPosition {
    std::string name;
    int position = 0;
    int depth = 0;  // 0 parent, 1 main, 2 child
  };
  struct PositionMap {
    std::vector<std::vector<SavedPosition>> buckets;
  };
  // Where a new piece of markup goes among the children of `parent`.
  struct Placement {
    int parent = 0;
    int linkAfter = 0;  // the element the new one follows (0 = first)
    int offset = 0;
    bool emptyParent = false;  // the parent has no content yet
  };

  // Parsing (xml_document.cpp).
  bool Parse();
  int ParseElements(int under);
  void ResetIndex();

  // Result log (xml_result_log.cpp).
  void AddResult(const char* key, const char* text, int flags, long long number = -1,
                 long long number2 = -1);
  static void AddResultTo(std::string& log, const char* key, const char* text, int flags,
                          long long number = -1, long long number2 = -1);

  // Record and text helpers (xml_tree.cpp).
  bool IsElement(int pos) const;
  bool IsParent(int pos) const { return pos == 0 || IsElement(pos); }
  bool MainIsElement() const { return nodeKind_ == kNodeElement && IsElement(mainPos_); }
  bool MainIsNode() const { return nodeKind_ != 0 && nodeKind_ != kNodeElement; }
  bool BoundToStream() const { return (flags_ & (kStreamRead | kStreamWrite)) != 0; }
  int TextSize() const { return static_cast<int>(text_.size()); }
  int ContentBegin(int pos) const;
  int ContentEnd(int pos) const;
  int ElementEnd(int pos) const;
  int LastChild(int parent) const;
  int PreviousSiblingOrZero(int pos) const;
  int FirstElementAfter(int parent, int linkAfter) const;
  std::string_view ElementName(int pos) const;
  // NamesEqual(ElementName(pos), wanted, ignoreCase), most names told apart
  // by their first bytes without finding where they end.
  bool ElementNameIs(int pos, std::string_view wanted, bool ignoreCase) const;
  int SkipTrailingWhiteSpace(int offset) const;
  int RemovalEnd(int end) const;
  int NewRecord();
  void LinkAfter(int parent, int after, int rec);
  void Unlink(int rec);
  void MarkRemoved(int root, bool includeRoot);
  void ShiftSubtree(int root, int delta);
  void ShiftDescendants(int root, int delta);
  void ShiftFollowing(int parent, int sibling, int delta);
  bool CanResize(long long removed, long long inserted) const;
  int RemoveRecord(int rec);
  bool PlaceNew(int parent, int reference, bool referenceIsNode, int flags, Placement* out) const;
  bool InsertAt(const Placement& where, const std::string& markup, bool lineBreaks, int* markupStart,
                int* delta);
  int Graft(const CXmlDocument& fragment, int offset, int parent, int linkAfter, int* firstTop);
  void SetMainNode(int lastElement, int kind, int offset, int length);

  // Attribute helpers (xml_navigation.cpp / xml_editing.cpp).
  bool AttributeRegion(int pos, int* begin, int* end) const;
  bool ReplaceElementContent(int pos, const std::string& body);
  bool ReplaceNode(int kind, const std::string& form);
  void FindNodeBefore(int parent, int offset);
  int NextNode(XmlTokenScanner& scanner, int* next, int* start, int* length, int* record) const;

  std::string text_;
  std::string log_;
  int parentPos_ = 0;
  int mainPos_ = 0;
  int childPos_ = 0;
  int removedHead_ = 0;
  int nodeKind_ = 0;
  int nodeOffset_ = 0;
  int nodeLength_ = 0;
  int flags_ = 0;
  unsigned revision_ = 0;
  std::map<int, PositionMap> savedPositions_;
  std::vector<ElementRecord> records_;
};

// The record helpers of the parse loop, inline for it.

inline int CXmlDocument::LastChild(int parent) const {
  const int first = records_[parent].firstChild;
  return first == 0 ? 0 : records_[first].previousSibling;
}

inline int CXmlDocument::NewRecord() {
  records_.emplace_back();
  return static_cast<int>(records_.size()) - 1;
}

// Links `rec` into the children of `parent` after `after` (0 = first).
inline void CXmlDocument::LinkAfter(int parent, int after, int rec) {
  ElementRecord& r = records_[rec];
  r.parent = parent;
  r.flags &= ~kRecordFirstChild;
  const int first = records_[parent].firstChild;
  if (after == 0) {
    if (first == 0) {
      r.previousSibling = rec;
      r.nextSibling = 0;
    } else {
      r.nextSibling = first;
      r.previousSibling = records_[first].previousSibling;
      records_[first].previousSibling = rec;
      records_[first].flags &= ~kRecordFirstChild;
    }
    r.flags |= kRecordFirstChild;
    records_[parent].firstChild = rec;
    return;
  }
  const int next = records_[after].nextSibling;
  r.previousSibling = after;
  r.nextSibling = next;
  records_[after].nextSibling = rec;
  if (next != 0) records_[next].previousSibling = rec;
  else records_[first].previousSibling = rec;
}
