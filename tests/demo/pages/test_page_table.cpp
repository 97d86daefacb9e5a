// Every row of the page table has a page class of its own: none falls back
// to a bare framework page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/pages/page_factory.h"
#include "demo/shell/page_table.h"

namespace {

TEST(PageTable, NoRowWithoutAPageClassOfItsOwn) {
  std::vector<std::string> bare;
  for (const PageRow& row : kPageTable) {
    if (!HasPageClass(row)) bare.emplace_back(row.className);
  }
  EXPECT_EQ(bare, std::vector<std::string>{});
}

TEST(PageTable, EveryRowMakesAPageWithItsCaptionAndDialog) {
  for (const PageRow& row : kPageTable) {
    const auto page = CreatePage(row);
    ASSERT_NE(page, nullptr) << row.className;
    EXPECT_EQ(page->Caption().toStdString(), row.caption) << row.className;
    EXPECT_EQ(page->DialogId(), row.dialogId) << row.className;
  }
}

}  // namespace
