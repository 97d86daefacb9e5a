// Loading and saving files: marks, declared encodings, the UTF-8 check,
// conversion, and the events in the result log.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "library/xml/xml_document.h"
#include "library/xml/xml_encodings.h"
#include "tests/library/xml/xml_test_access.h"
#include "tests/support/test_name.h"

namespace {

namespace fs = std::filesystem;

class XmlFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("sentrell-xml-" + std::to_string(::getpid()) + "-" + testsupport::FlatTestName());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    plat::SetProcessCodePageForTesting(0);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::string Write(const char* name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t FilesInDir() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

struct LoadCase {
  const char* title;
  std::string bytes;
  int processCodePage;
  bool wellFormed;
  int markFlags;
  const char* description;
  std::string text;
};

const LoadCase kLoadCases[] = {
    {"UTF-8 mark", "\xEF\xBB\xBF<a/>", 0, true, CXmlDocument::kUtf8Bom, "BOM + UTF-8 length 4", "<a/>"},
    {"UTF-8 mark, GBK process", "\xEF\xBB\xBF<a/>", 936, true, CXmlDocument::kUtf8Bom,
     "BOM + UTF-8 length 4 to length 4", "<a/>"},
    {"UTF-16LE mark", std::string("\xFF\xFE<\0a\0/\0>\0", 10), 0, true, CXmlDocument::kUtf16Le,
     "BOM + UTF-16LE length 4 to length 4", "<a/>"},
    {"UTF-16BE mark", std::string("\xFE\xFF\0<\0a\0/\0>\x4E\x2D", 12), 0, true, CXmlDocument::kUtf16Be,
     "BOM + UTF-16BE length 5 endian swap to length 7", "<a/>\xE4\xB8\xAD"},
    {"UTF-16LE into GBK", std::string("\xFF\xFE<\0a\0>\0\x2D\x4E<\0/\0a\0>\0", 18), 936, true,
     CXmlDocument::kUtf16Le, "BOM + UTF-16LE length 8 to length 9", "<a>\xD6\xD0</a>"},
    {"UTF-16 with an odd byte", std::string("\xFF\xFE<\0a\0/\0>\0x", 11), 0, true, CXmlDocument::kUtf16Le,
     "BOM + encoding UTF-16LE adjustment error UTF-16LE length 4 to length 4", "<a/>"},
    {"no declaration, UTF-8 process", "<a/>", 0, true, 0, "UTF-8 length 4", "<a/>"},
    {"no declaration, GBK process", "<a/>", 936, true, 0, "UTF-8 length 4 to length 4", "<a/>"},
    {"no '<': detection", "abc", 0, false, 0, "UTF-8 length 3 (used UTF-8 detection) no root element", "abc"},
    {"detection of invalid UTF-8 keeps the bytes", " \xD6\xD0", 0, false, 0,
     "length 3 (used UTF-8 detection) no root element", " \xD6\xD0"},
    {"detection converts into GBK", " \xE4\xB8\xAD", 936, false, 0,
     "UTF-8 length 4 to length 3 (used UTF-8 detection) no root element", " \xD6\xD0"},
    {"legacy bytes after '<' are kept", "<a>\xD6\xD0</a>", 0, true, 0, "length 9 (used UTF-8 detection)",
     "<a>\xD6\xD0</a>"},
    {"NULs removed", std::string("<a>\0\0</a>", 9), 0, true, 0, "UTF-8 length 9 removed 2 nulls", "<a></a>"},
    {"declared gb2312, UTF-8 process", "<?xml version=\"1.0\" encoding=\"gb2312\"?><a>\xD6\xD0</a>", 0, true, 0,
     "gb2312 length 48 to length 49", "<?xml version=\"1.0\" encoding=\"gb2312\"?><a>\xE4\xB8\xAD</a>"},
    {"declared gb2312, GBK process", "<?xml version=\"1.0\" encoding=\"gb2312\"?><a>\xD6\xD0</a>", 936, true, 0,
     "gb2312 length 48", "<?xml version=\"1.0\" encoding=\"gb2312\"?><a>\xD6\xD0</a>"},
    {"declared unknown encoding", "<?xml encoding=\"x-nothing\"?><a>\xFF</a>", 0, true, 0,
     "x-nothing length 36", "<?xml encoding=\"x-nothing\"?><a>\xFF</a>"},
    {"UTF-8 with a character GBK lacks", "\xEF\xBB\xBF<a>\xE4\xB8\xAD\xF0\x9F\x98\x80</a>", 936, true,
     CXmlDocument::kUtf8Bom, "BOM + UTF-8 length 14 to length 10 (chars lost in conversion!)", "<a>\xD6\xD0?</a>"},
    {"empty file", "", 0, false, 0, "length 0", ""},
    {"only a mark", "\xEF\xBB\xBF", 0, false, CXmlDocument::kUtf8Bom, "BOM + UTF-8 length 0", ""},
};

class LoadTable : public XmlFiles, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTable, TextFlagsAndEvents) {
  const LoadCase& c = GetParam();
  const std::string path = Write("in.xml", c.bytes);
  ProcessCodePageGuard codePage(c.processCodePage);
  CXmlDocument d;
  d.SetDocumentFlags(CXmlDocument::kUtf16Be | CXmlDocument::kAppend | CXmlDocument::kTrimWhiteSpace);
  EXPECT_EQ(d.LoadFile(path.c_str()), c.wellFormed) << c.title;
  EXPECT_EQ(d.GetDocumentFlags(), c.markFlags | CXmlDocument::kTrimWhiteSpace) << c.title;
  EXPECT_EQ(d.DescribeResults(), c.description) << c.title << ": " << d.GetResultLog();
  EXPECT_EQ(d.GetDocument(), c.text) << c.title;
  EXPECT_TRUE(IndexIsConsistent(d)) << c.title;
}

INSTANTIATE_TEST_SUITE_P(Files, LoadTable, ::testing::ValuesIn(kLoadCases));

TEST_F(XmlFiles, MissingFileResetsTheDocument) {
  CXmlDocument d("<old><x/></old>");
  ASSERT_TRUE(d.FindElement("old"));
  d.SetDocumentFlags(CXmlDocument::kUtf8Bom);
  EXPECT_FALSE(d.LoadFile(Path("missing.xml").c_str()));
  EXPECT_EQ(d.GetDocument(), "");
  EXPECT_NE(d.GetResultLog().find("<file_error msg=\""), std::string::npos);
  EXPECT_NE(d.GetResultLog().find("n=\"" + std::to_string(ENOENT) + "\""), std::string::npos);
  EXPECT_EQ(d.GetDocumentFlags(), CXmlDocument::kUtf8Bom);  // not opened: flags kept
  EXPECT_FALSE(d.FindElement());
  EXPECT_EQ(d.GetElementName(), "");
  EXPECT_TRUE(IndexIsConsistent(d));
}

TEST_F(XmlFiles, DirectoryIsNoDocument) {
  CXmlDocument d;
  EXPECT_FALSE(d.LoadFile(dir_.string().c_str()));
  EXPECT_NE(d.GetResultLog().find("n=\"" + std::to_string(EISDIR) + "\""), std::string::npos);
  EXPECT_FALSE(d.LoadFile(nullptr));
}

TEST_F(XmlFiles, FileTooLongForTheIndexIsRefused) {
  const std::string path = Write("huge.xml", "<a/>");
  std::error_code error;
  fs::resize_file(path, 0x80000000ull + 16, error);  // sparse: nothing is written
  if (error) GTEST_SKIP() << "no sparse file here: " << error.message();
  CXmlDocument d("<b/>");
  EXPECT_FALSE(d.LoadFile(path.c_str()));
  EXPECT_NE(d.GetResultLog().find("n=\"" + std::to_string(EFBIG) + "\""), std::string::npos);
  EXPECT_EQ(d.GetDocument(), "");
  fs::remove(path);
}

TEST_F(XmlFiles, StaticLoadOnABareText) {
  const std::string path = Write("in.xml", "\xEF\xBB\xBF<a/>");
  std::string text, log;
  int flags = CXmlDocument::kAppend;
  ASSERT_TRUE(CXmlDocument::LoadFileText(path.c_str(), &text, &log, &flags));
  EXPECT_EQ(text, "<a/>");
  EXPECT_EQ(flags, CXmlDocument::kUtf8Bom);
  EXPECT_NE(log.find("<bom/>"), std::string::npos);
  EXPECT_TRUE(CXmlDocument::LoadFileText(path.c_str(), &text, nullptr, nullptr));
}

TEST_F(XmlFiles, SaveWithUtf8MarkAndAppend) {
  const std::string path = Path("out.xml");
  CXmlDocument d("<a>\xE4\xB8\xAD</a>");
  d.SetDocumentFlags(CXmlDocument::kUtf8Bom);
  ASSERT_TRUE(d.SaveFile(path.c_str()));
  EXPECT_EQ(Read(path), "\xEF\xBB\xBF<a>\xE4\xB8\xAD</a>");
  EXPECT_EQ(d.DescribeResults(), "BOM + UTF-8 length 10");

  d.SetDocumentFlags(CXmlDocument::kUtf8Bom | CXmlDocument::kAppend);
  ASSERT_TRUE(d.SaveFile(path.c_str()));
  EXPECT_EQ(Read(path), "\xEF\xBB\xBF<a>\xE4\xB8\xAD</a><a>\xE4\xB8\xAD</a>");  // no second mark
  EXPECT_EQ(d.DescribeResults(), "UTF-8 length 10");
  EXPECT_EQ(d.GetDocumentFlags(), CXmlDocument::kUtf8Bom);  // an append applies to one save

  const std::string fresh = Path("fresh.xml");
  d.SetDocumentFlags(CXmlDocument::kUtf8Bom | CXmlDocument::kAppend);
  ASSERT_TRUE(d.SaveFile(fresh.c_str()));
  EXPECT_EQ(Read(fresh), "\xEF\xBB\xBF<a>\xE4\xB8\xAD</a>");  // an empty file gets the mark
}

TEST_F(XmlFiles, SaveDeclaredGb2312) {
  const std::string text = "<?xml version=\"1.0\" encoding=\"gb2312\"?><a>\xE4\xB8\xAD</a>";
  const std::string path = Path("gb.xml");
  CXmlDocument d(text.c_str());
  ASSERT_TRUE(d.SaveFile(path.c_str()));
  EXPECT_EQ(Read(path), "<?xml version=\"1.0\" encoding=\"gb2312\"?><a>\xD6\xD0</a>");
  EXPECT_EQ(d.DescribeResults(), "length 49 to gb2312 length 48");

  CXmlDocument loss("<?xml encoding=\"gbk\"?><a>\xF0\x9F\x98\x80</a>");
  ASSERT_TRUE(loss.SaveFile(path.c_str()));
  EXPECT_EQ(Read(path), "<?xml encoding=\"gbk\"?><a>?</a>");
  EXPECT_NE(loss.DescribeResults().find("(chars lost in conversion!)"), std::string::npos);

  ProcessCodePageGuard gbk(936);
  CXmlDocument native("<?xml version=\"1.0\" encoding=\"gb2312\"?><a>\xD6\xD0</a>");
  ASSERT_TRUE(native.SaveFile(path.c_str()));
  EXPECT_EQ(Read(path), "<?xml version=\"1.0\" encoding=\"gb2312\"?><a>\xD6\xD0</a>");
  EXPECT_EQ(native.DescribeResults(), "gb2312 length 48");
}

TEST_F(XmlFiles, SaveUtf16BothOrders) {
  CXmlDocument d("<a>\xE4\xB8\xAD</a>");
  d.SetDocumentFlags(CXmlDocument::kUtf16Le);
  const std::string le = Path("le.xml");
  ASSERT_TRUE(d.SaveFile(le.c_str()));
  EXPECT_EQ(Read(le), std::string("\xFF\xFE<\0a\0>\0\x2D\x4E<\0/\0a\0>\0", 18));
  EXPECT_EQ(d.DescribeResults(), "BOM + length 10 to UTF-16LE length 8");
  d.SetDocumentFlags(CXmlDocument::kUtf16Be);
  const std::string be = Path("be.xml");
  ASSERT_TRUE(d.SaveFile(be.c_str()));
  EXPECT_EQ(Read(be), std::string("\xFE\xFF\0<\0a\0>\x4E\x2D\0<\0/\0a\0>", 18));
  EXPECT_EQ(d.DescribeResults(), "BOM + length 10 to endian swap UTF-16BE length 8");
  CXmlDocument back;
  EXPECT_TRUE(back.LoadFile(be.c_str()));
  EXPECT_EQ(back.GetDocument(), "<a>\xE4\xB8\xAD</a>");
}

TEST_F(XmlFiles, RoundTripUnderGbk) {
  ProcessCodePageGuard gbk(936);
  const std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<n name=\"\xD6\xD0\xCE\xC4\"/>\r\n";
  CXmlDocument d(text.c_str());
  d.SetDocumentFlags(CXmlDocument::kUtf8Bom);
  const std::string path = Path("rt.xml");
  ASSERT_TRUE(d.SaveFile(path.c_str()));
  const std::string bytes = Read(path);
  ASSERT_GE(bytes.size(), 3u);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_TRUE(IsValidUtf8(bytes.substr(3)));
  EXPECT_NE(bytes.find("\xE4\xB8\xAD\xE6\x96\x87"), std::string::npos);
  CXmlDocument back;
  ASSERT_TRUE(back.LoadFile(path.c_str()));
  EXPECT_EQ(back.GetDocument(), text);
  ASSERT_TRUE(back.FindElement("n"));
  EXPECT_EQ(back.GetAttribute("name"), "\xD6\xD0\xCE\xC4");
}

TEST_F(XmlFiles, EmptyTextIsWritten) {
  CXmlDocument d("");
  const std::string path = Path("empty.xml");
  ASSERT_TRUE(d.SaveFile(path.c_str()));
  EXPECT_EQ(Read(path), "");
  EXPECT_EQ(d.DescribeResults(), "UTF-8 length 0");
}

// A save replaces the target as a whole: a save that cannot complete leaves
// it as it was and leaves no temporary file behind.
TEST_F(XmlFiles, SaveReplacesTheTargetWhole) {
  const std::string path = Write("keep.xml", "<old/>");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  CXmlDocument d("<new/>");
  ASSERT_TRUE(d.SaveFile(path.c_str()));
  EXPECT_EQ(Read(path), "<new/>");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FilesInDir(), 1u);

  fs::create_directories(dir_ / "sub" / "inner");
  const std::string folder = (dir_ / "sub").string();
  EXPECT_FALSE(d.SaveFile(folder.c_str()));  // the target is a non-empty folder
  EXPECT_NE(d.GetResultLog().find("<file_error"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir_ / "sub" / "inner"));
  EXPECT_EQ(FilesInDir(), 2u);

  EXPECT_FALSE(d.SaveFile(Path("no/such/folder.xml").c_str()));
  EXPECT_NE(d.GetResultLog().find("n=\"" + std::to_string(ENOENT) + "\""), std::string::npos);
  EXPECT_FALSE(d.SaveFile(nullptr));
}

TEST_F(XmlFiles, StreamBindingRefusesFiles) {
  const std::string path = Write("in.xml", "<a/>");
  CXmlDocument d("<b/>");
  d.SetDocumentFlags(CXmlDocument::kStreamRead);
  EXPECT_FALSE(d.LoadFile(path.c_str()));
  EXPECT_FALSE(d.SaveFile(path.c_str()));
  EXPECT_EQ(d.GetDocument(), "<b/>");
  EXPECT_EQ(Read(path), "<a/>");
}

}  // namespace
