// Saves and loads of one file from several threads: a save replaces the
// file as a whole, so a reader never sees a partial document.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "library/xml/xml_document.h"

namespace {

std::string BigDocument(char fill, int items) {
  std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<list>\r\n";
  for (int i = 0; i < items; ++i) text += "<item id=\"" + std::to_string(i) + "\">" + std::string(40, fill) + "</item>\r\n";
  return text + "</list>\r\n";
}

TEST(XmlFileThreads, ConcurrentSavesNeverLeaveAPartialFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("sentrell-xml-threads-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "shared.xml").string();
  const std::string texts[] = {BigDocument('a', 2000), BigDocument('b', 1500)};
  {
    CXmlDocument first(texts[0].c_str());
    ASSERT_TRUE(first.SaveFile(path.c_str()));
  }
  std::atomic<int> badLoads{0};
  std::atomic<int> failedSaves{0};
  std::vector<std::thread> threads;
  for (int w = 0; w < 2; ++w) {
    threads.emplace_back([&, w] {
      CXmlDocument d(texts[w].c_str());
      d.SetDocumentFlags(CXmlDocument::kUtf8Bom);
      for (int i = 0; i < 60; ++i)
        if (!d.SaveFile(path.c_str())) ++failedSaves;
    });
  }
  threads.emplace_back([&] {
    for (int i = 0; i < 120; ++i) {
      CXmlDocument d;
      if (!d.LoadFile(path.c_str()) || (d.GetDocument() != texts[0] && d.GetDocument() != texts[1])) ++badLoads;
    }
  });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failedSaves.load(), 0);
  EXPECT_EQ(badLoads.load(), 0);
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1u);  // no temporary file left behind
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

}  // namespace
