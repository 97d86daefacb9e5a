// The XML parser on any text: byte 0 picks the process code page (GBK or
// UTF-8) and whether names compare without case; the rest is the document.
// The index must stay inside the text after the parse, a walk over every
// node, and a few edits.
#include <cstdint>
#include <string>

#include "tests/fuzz/xml_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  ProcessCodePageGuard codePage((data[0] & 1) ? 936 : 0);
  CXmlDocument d;
  d.SetDocumentFlags((data[0] & 2) ? CXmlDocument::kIgnoreCase : 0);
  d.SetDocument(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  fuzzxml::CheckIndex(d, "after the parse");
  fuzzxml::Walk(d);
  fuzzxml::CheckIndex(d, "after the walk");

  d.SetPosition(0, 0, 0);
  if (d.FindElement()) {
    d.SetAttribute("id", "1 & \"2\"");
    d.AddElement("node", "text < more", CXmlDocument::kWriteAsChild);
    d.SetText("a&b");
  }
  fuzzxml::CheckIndex(d, "after the edits");
  CXmlDocument again;
  again.SetDocument(d.GetDocument());
  fuzzxml::CheckIndex(again, "after a re-parse");
  return 0;
}
