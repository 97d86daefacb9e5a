#pragma once
// What the XML targets do with a parsed document: check its index, walk and
// read every node, and stop the run on an index that left the text.
#include <cstdio>
#include <cstdlib>

#include "tests/library/xml/xml_test_access.h"

namespace fuzzxml {

inline void CheckIndex(const CXmlDocument& d, const char* when) {
  const ::testing::AssertionResult consistent = IndexIsConsistent(d);
  if (!consistent) {
    std::fprintf(stderr, "index inconsistent %s: %s\n%s", when, consistent.message(), DumpRecords(d).c_str());
    std::abort();
  }
}

// Reads every node, a bounded number of steps.
inline void Walk(CXmlDocument& d) {
  d.DescribeResults();
  d.SetPosition(0, 0, 0);
  for (int steps = 0; steps < 1000 && d.FindNextNode() != 0; ++steps) {
    d.GetElementName();
    d.GetText();
    d.GetAttribute("id");
    d.AttributeNameAt(0);
    d.BuildElementPath(d.MainPosition());
    if (d.EnterElement()) d.FindNextNode();
  }
}

}  // namespace fuzzxml
