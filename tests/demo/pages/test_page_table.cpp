// Which rows of the page table still show a bare framework page: the pages
// that are still to be built. Each page class that lands takes its row off
// this list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/pages/page_factory.h"
#include "demo/shell/page_table.h"

namespace {

TEST(PageTable, RowsWithoutAPageClassOfTheirOwn) {
  std::vector<std::string> bare;
  for (const PageRow& row : kPageTable) {
    if (!HasPageClass(row)) bare.emplace_back(row.className);
  }
  const std::vector<std::string> stillToBuild = {
      "CAudioPage", "CVideoPage", "CTVPage", "CDVDPage", "CCDPage", "CSTBPage", "CSATPage", "CACPage", "CHCPage",
      "CDAPage", "CTHDCPage", "CTDCPage", "CIDCPage", "CDAISPage", "CPowerMeterControlPage", "CRFIDControl13M56Page",
      "CRFIDControl125KPage", "CWaterMeterControl", "CGasMeterControlPage", "CLabPage", "CDevPstPage", "CDevIOPage",
      "CControlPage", "CControlTCPage", "CSLRCPage", "CCCPage", "CICReadPage", "CWaterPage", "CVLRPage",
      "CCarRFIDPage", "CCabMgzPage", "CSphygmoMeterPage", "CSecurityPage", "CWCAWPage", "CDCDBATPage",
      "CDCDBPage", "CAdapterPage", "CAdapterFSPage", "CAdapterFXPage", "CAdapterWSPage",
  };
  EXPECT_EQ(bare, stillToBuild);
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
