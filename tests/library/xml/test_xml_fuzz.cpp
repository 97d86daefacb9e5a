// Deterministic pseudo-random inputs for the parser, the loader and the
// editing operations. Whatever the input, no operation may read or write
// outside the text or the index, and the index must stay consistent; on
// well-formed documents every edit must leave the index a re-parse gives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "library/xml/xml_document.h"
#include "tests/library/xml/xml_test_access.h"

namespace {

using Doc = CXmlDocument;

class Bytes {
 public:
  explicit Bytes(unsigned seed) : engine_(seed) {}
  int Below(int n) { return static_cast<int>(engine_() % static_cast<unsigned>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

  // Random bytes mixed with pieces of markup, so that the scanner reaches
  // its deeper states.
  std::string Text(int maxPieces) {
    static const char* const kPieces[] = {
        "<", ">", "/", "</", "/>", "<a>", "</a>", "<b x='1'>", "</b>", "<c/>", "<!--", "-->", "<![CDATA[",
        "]]>", "<?", "?>", "<!DOCTYPE r [", "<!ELEMENT e>", "]>", "\"", "'", "=", " ", "\r\n", "&amp;",
        "&#x4E2D;", "&", ";", "\xE4\xB8\xAD", "\x81\x5D", "\xFF", "\0", "<!-",
        "<![", "<!", "<A>", "</A>", "text"};
    std::string out;
    const int pieces = Below(maxPieces) + 1;
    for (int i = 0; i < pieces; ++i) {
      if (Chance(30)) {
        out += static_cast<char>(Below(256));
      } else {
        const char* piece = kPieces[Below(static_cast<int>(std::size(kPieces)))];
        if (*piece == '\0') out += '\0';
        else out += piece;
      }
    }
    return out;
  }

  // A random well-formed element tree.
  std::string Element(int depth) {
    static const char* const kNames[] = {"a", "b", "item", "node", "x"};
    const std::string name = kNames[Below(5)];
    std::string out = "<" + name;
    const int attributes = Below(3);
    for (int i = 0; i < attributes; ++i)
      out += std::string(" k") + static_cast<char>('0' + i) + (Chance(50) ? "='v'" : "=\"w &amp; z\"");
    if (depth <= 0 || Chance(25)) return out + (Chance(50) ? "/>" : " />");
    out += ">";
    const int children = Below(4);
    for (int i = 0; i < children; ++i) {
      switch (Below(6)) {
        case 0: out += "text &lt; more"; break;
        case 1: out += "\r\n"; break;
        case 2: out += "<!-- note -->"; break;
        case 3: out += "<![CDATA[<raw>]]>"; break;
        default: out += Element(depth - 1); break;
      }
    }
    return out + "</" + name + ">";
  }

 private:
  std::mt19937 engine_;
};

TEST(XmlFuzz, ParserKeepsTheIndexInsideTheText) {
  Bytes random(20240601);
  for (int round = 0; round < 4000; ++round) {
    ProcessCodePageGuard codePage(round % 3 == 0 ? 936 : 0);
    Doc d;
    d.SetDocumentFlags(round % 5 == 0 ? Doc::kIgnoreCase : 0);
    d.SetDocument(random.Text(40));
    ASSERT_TRUE(IndexIsConsistent(d)) << "round " << round;
    d.DescribeResults();
    // Walk every node and read it.
    for (int steps = 0; steps < 200 && d.FindNextNode() != 0; ++steps) {
      d.GetElementName();
      d.GetText();
      d.GetAttribute("x");
      d.AttributeNameAt(0);
      if (d.EnterElement()) d.FindNextNode();
    }
  }
}

TEST(XmlFuzz, LoaderAcceptsAnyBytes) {
  Bytes random(7);
  const auto dir = std::filesystem::temp_directory_path() / ("sentrell-xml-fuzz-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "fuzz.xml").string();
  static const char* const kStarts[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "<?xml encoding='gbk'?>",
                                        "<?xml encoding=\"utf-16\"?>", "<?xml encoding='UTF-32'?>"};
  for (int round = 0; round < 400; ++round) {
    ProcessCodePageGuard codePage(round % 2 == 0 ? 936 : 0);
    std::string bytes = kStarts[random.Below(static_cast<int>(std::size(kStarts)))];
    bytes += random.Text(60);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    Doc d;
    d.LoadFile(path.c_str());
    ASSERT_TRUE(IndexIsConsistent(d)) << "round " << round;
    d.DescribeResults();
    d.SetDocumentFlags(random.Below(0x100) & (Doc::kUtf16Le | Doc::kUtf8Bom | Doc::kUtf16Be | Doc::kAppend));
    ASSERT_TRUE(d.SaveFile(path.c_str())) << d.DescribeResults();
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

// One random operation, named in `trace`; returns false when the index may
// legitimately no longer match a re-parse: ill-formed markup written as
// given, or a start tag written alone (its name may pair with an enclosing
// element's end tag when the text is read again).
bool RandomOperation(Doc& d, Bytes& random, std::string& trace) {
  static const char* const kNames[] = {"a", "b", "item", "x", nullptr};
  const char* name = kNames[random.Below(5)];
  const int flags = random.Below(0x8000) & (Doc::kWriteCdata | Doc::kWriteNoLineBreak | Doc::kWriteSpaceBeforeSlash |
                                             Doc::kWriteKeepReferences | Doc::kWriteBefore | Doc::kWriteAsChild);
  const int operation = random.Below(20);
  trace += " " + std::to_string(operation);
  switch (operation) {
    case 0: d.FindElement(name); break;
    case 1: d.FindChildElement(name); break;
    case 2: d.EnterElement(); break;
    case 3: d.LeaveElement(); break;
    case 4: d.FindNextNode(random.Chance(50) ? 0 : 1 << random.Below(8)); break;
    case 5: d.AddElement(name ? name : "n", random.Chance(50) ? "t & <u> ]]> v" : nullptr, flags); break;
    case 6: d.SetAttribute("k0", random.Chance(50) ? "new \"value\"" : ""); break;
    case 7: d.SetText("text ]]> & <x>", flags & Doc::kWriteCdata); break;
    case 8: d.RemoveElement(); break;
    case 9: d.RemoveChildElement(); break;
    case 10: d.DeleteNode(); break;
    case 11: d.PutNode(1 << random.Below(7), random.Chance(50) ? "e" : "p q", flags & Doc::kWriteBefore); break;
    case 12: d.SetInnerMarkup(random.Chance(50) ? random.Element(2).c_str() : "t<y/>u"); break;
    case 13: d.InsertMarkup(random.Element(2).c_str(), flags); break;
    case 14: d.SetPosition(random.Below(12), random.Below(12), random.Below(12)); break;
    case 15: d.SetChildText("c", 0); break;
    case 16: d.StorePosition("p", random.Below(2)); break;
    case 17: d.RecallPosition("p", random.Below(2)); break;
    case 18: d.AddElement("u", nullptr, Doc::kWriteUnended | (flags & Doc::kWriteAsChild)); return false;
    default:
      d.GetText();
      d.GetChildText();
      d.BuildElementPath(random.Below(12));
      d.GetElementMarkup(random.Below(12));
      d.GetInnerMarkup(random.Below(12));
      break;
  }
  return !(Access::Records(d)[0].flags & Doc::kRecordParseError);
}

TEST(XmlFuzz, EditsKeepTheIndexExact) {
  Bytes random(99);
  for (int round = 0; round < 600; ++round) {
    ProcessCodePageGuard codePage(round % 4 == 0 ? 936 : 0);
    Doc d(random.Element(4).c_str());
    ASSERT_TRUE(d.CheckWellFormed()) << d.GetDocument();
    bool exact = true;
    std::string trace;
    for (int step = 0; step < 40; ++step) {
      const std::string before = d.GetDocument();
      exact = RandomOperation(d, random, trace) && exact;
      ASSERT_TRUE(IndexIsConsistent(d)) << "round " << round << " operations" << trace << "\n" << before << "\n"
                                        << d.GetDocument();
      if (exact) {
        ASSERT_TRUE(MatchesReparse(d)) << "round " << round << " operations" << trace << "\n" << before << "\n"
                                       << d.GetDocument();
      }
    }
  }
}

TEST(XmlFuzz, EditsOnIllFormedDocumentsStayInBounds) {
  Bytes random(31337);
  for (int round = 0; round < 600; ++round) {
    ProcessCodePageGuard codePage(round % 2 == 0 ? 936 : 0);
    Doc d(random.Text(30).c_str());
    const std::string initial = d.GetDocument();
    std::string trace;
    for (int step = 0; step < 30; ++step) {
      const std::string before = d.GetDocument();
      RandomOperation(d, random, trace);
      ASSERT_TRUE(IndexIsConsistent(d)) << "round " << round << " operations" << trace << "\ninitial " << initial
                                        << "\nbefore " << before << "\nafter " << d.GetDocument() << "\n"
                                        << DumpRecords(d);
    }
  }
}

}  // namespace
