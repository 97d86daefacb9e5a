#pragma once
// Test access to the index of a CXmlDocument and checks over it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/xml/xml_document.h"
#include "platform/code_page.h"

struct XmlDocumentTestAccess {
  static const std::vector<ElementRecord>& Records(const CXmlDocument& d) { return d.records_; }
  static int Parent(const CXmlDocument& d) { return d.parentPos_; }
  static int Main(const CXmlDocument& d) { return d.mainPos_; }
  static int Child(const CXmlDocument& d) { return d.childPos_; }
  static int NodeKind(const CXmlDocument& d) { return d.nodeKind_; }
  static int NodeOffset(const CXmlDocument& d) { return d.nodeOffset_; }
  static int NodeLength(const CXmlDocument& d) { return d.nodeLength_; }
};
using Access = XmlDocumentTestAccess;

// Sets the process code page for the lifetime of the guard.
class ProcessCodePageGuard {
 public:
  explicit ProcessCodePageGuard(int codePage) { plat::SetProcessCodePageForTesting(codePage); }
  ~ProcessCodePageGuard() { plat::SetProcessCodePageForTesting(0); }
  ProcessCodePageGuard(const ProcessCodePageGuard&) = delete;
  ProcessCodePageGuard& operator=(const ProcessCodePageGuard&) = delete;
};

// The records, one line each, for failure messages.
inline std::string DumpRecords(const CXmlDocument& d) {
  std::string out;
  const auto& r = Access::Records(d);
  for (std::size_t i = 0; i < r.size(); ++i) {
    const ElementRecord& e = r[i];
    out += "#" + std::to_string(i) + " start " + std::to_string(e.start) + " length " + std::to_string(e.length) +
           " tags " + std::to_string(e.startTagLength) + "+" + std::to_string(e.endTagLength) + " flags " +
           std::to_string(e.flags) + " parent " + std::to_string(e.parent) + " first " +
           std::to_string(e.firstChild) + " next " + std::to_string(e.nextSibling) + " previous " +
           std::to_string(e.previousSibling) + "\n";
  }
  out += "positions " + std::to_string(Access::Parent(d)) + " " + std::to_string(Access::Main(d)) + " " +
         std::to_string(Access::Child(d)) + " node " + std::to_string(Access::NodeKind(d)) + " at " +
         std::to_string(Access::NodeOffset(d)) + "+" + std::to_string(Access::NodeLength(d)) + "\n";
  return out;
}

// Every live record lies within the text and inside its parent's content,
// starts at a '<', and the sibling chains are consistent (the backward link
// of a first child is the last child, levels follow the depth).
inline ::testing::AssertionResult IndexIsConsistent(const CXmlDocument& d) {
  const auto& r = Access::Records(d);
  const std::string& text = d.GetDocument();
  const long long size = static_cast<long long>(text.size());
  if (r.empty()) return ::testing::AssertionFailure() << "no record 0";
  if (r[0].length != size) return ::testing::AssertionFailure() << "record 0 length " << r[0].length << " != " << size;
  std::size_t visited = 0;
  std::vector<int> parents{0};
  while (!parents.empty()) {
    const int p = parents.back();
    parents.pop_back();
    const long long begin = p == 0 ? 0 : r[p].start + r[p].startTagLength;
    const long long end = p == 0 ? size : static_cast<long long>(r[p].start) + r[p].length - r[p].endTagLength;
    const int first = r[p].firstChild;
    int previous = 0;
    long long previousEnd = begin;
    for (int c = first; c != 0; c = r[c].nextSibling) {
      if (c < 0 || c >= static_cast<int>(r.size())) return ::testing::AssertionFailure() << "bad index " << c;
      if (++visited > r.size()) return ::testing::AssertionFailure() << "cycle in the chains";
      const ElementRecord& e = r[c];
      if (e.flags & CXmlDocument::kRecordRemoved) return ::testing::AssertionFailure() << c << " is removed but linked";
      if (e.parent != p) return ::testing::AssertionFailure() << c << " parent " << e.parent << " != " << p;
      if (e.start < previousEnd || static_cast<long long>(e.start) + e.length > end)
        return ::testing::AssertionFailure() << c << " [" << e.start << "," << e.start + e.length
                                             << ") outside [" << previousEnd << "," << end << ")";
      if (e.startTagLength < 2 || e.startTagLength > e.length || e.endTagLength < 0 ||
          e.startTagLength + e.endTagLength > e.length)
        return ::testing::AssertionFailure() << c << " bad tag lengths";
      if (text[static_cast<std::size_t>(e.start)] != '<') return ::testing::AssertionFailure() << c << " not at '<'";
      const int level = p == 0 ? 0 : r[p].level + 1;
      if (e.level != level) return ::testing::AssertionFailure() << c << " level " << e.level << " != " << level;
      const bool isFirst = (e.flags & CXmlDocument::kRecordFirstChild) != 0;
      if (isFirst != (c == first)) return ::testing::AssertionFailure() << c << " first-child flag wrong";
      if (c != first && e.previousSibling != previous)
        return ::testing::AssertionFailure() << c << " previous " << e.previousSibling << " != " << previous;
      previous = c;
      previousEnd = static_cast<long long>(e.start) + e.length;
      parents.push_back(c);
    }
    if (first != 0 && r[first].previousSibling != previous)
      return ::testing::AssertionFailure() << "first child of " << p << " does not point at the last";
  }
  std::size_t removed = 0;
  for (std::size_t i = 1; i < r.size(); ++i)
    if (r[i].flags & CXmlDocument::kRecordRemoved) ++removed;
  if (visited + removed + 1 != r.size())
    return ::testing::AssertionFailure() << "unreachable records: " << r.size() - 1 - visited - removed;
  return ::testing::AssertionSuccess();
}

// The two indexes describe the same tree (record numbers aside).
inline ::testing::AssertionResult SameIndex(const CXmlDocument& a, const CXmlDocument& b) {
  const auto& ra = Access::Records(a);
  const auto& rb = Access::Records(b);
  std::vector<std::pair<int, int>> stack{{ra[0].firstChild, rb[0].firstChild}};
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    for (; x != 0 || y != 0; x = ra[x].nextSibling, y = rb[y].nextSibling) {
      if (x == 0 || y == 0) return ::testing::AssertionFailure() << "different number of siblings";
      const ElementRecord& p = ra[x];
      const ElementRecord& q = rb[y];
      if (p.start != q.start || p.length != q.length || p.startTagLength != q.startTagLength ||
          p.endTagLength != q.endTagLength || p.level != q.level ||
          (p.flags & CXmlDocument::kRecordUnended) != (q.flags & CXmlDocument::kRecordUnended))
        return ::testing::AssertionFailure()
               << "record at " << p.start << "/" << q.start << " differs: length " << p.length << "/" << q.length
               << " tags " << p.startTagLength << "+" << p.endTagLength << "/" << q.startTagLength << "+"
               << q.endTagLength << " level " << p.level << "/" << q.level;
      stack.emplace_back(p.firstChild, q.firstChild);
    }
  }
  return ::testing::AssertionSuccess();
}

// After edits the index equals the index of a fresh parse of the text.
inline ::testing::AssertionResult MatchesReparse(const CXmlDocument& d) {
  auto consistent = IndexIsConsistent(d);
  if (!consistent) return consistent;
  CXmlDocument fresh;
  fresh.SetDocumentFlags(d.GetDocumentFlags() & CXmlDocument::kIgnoreCase);
  fresh.SetDocument(d.GetDocument());
  return SameIndex(d, fresh);
}
