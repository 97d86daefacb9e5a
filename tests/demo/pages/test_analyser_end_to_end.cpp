// The CO2 page through the real library and the stand-in's simulated
// analyser: "开始" adds the rows of the analyser's block.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "demo/pages/analyser_pages.h"
#include "demo/shell/demo_dlg.h"
#include "tests/demo/logged_in_demo.h"

namespace {

constexpr int kWaitMs = static_cast<int>(demotest::LoggedInDemo::kWait.count());

TEST(AnalyserEndToEnd, StartAddsTheRowsOfTheSimulatedAnalyser) {
  demotest::LoggedInDemo demo("127.0.62.1");
  ASSERT_TRUE(demo.LogIn());
  CDemoDlg& dialog = demo.Dialog();
  // The built-in lab gateway's CO2 analyser.
  theApp.NodeTarget = NodeTargetInfo{1000001, 1, 11};
  auto* page = dynamic_cast<CCO2Page*>(dialog.FindPage("CCO2Page"));
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(dialog.Sheet().SetActivePage(page));
  auto* count = page->findChild<QLineEdit*>(QStringLiteral("1086"));
  ASSERT_NE(count, nullptr);
  count->setText(QStringLiteral("3"));
  page->findChild<QPushButton*>(QStringLiteral("1076"))->click();
  auto* list = page->findChild<QTableWidget*>(QStringLiteral("1078"));
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->rowCount() == 3; }, kWaitMs)) << list->rowCount();
  EXPECT_TRUE(QTest::qWaitFor([&] { return page->IconStateOf(IDC_ANALYSER_STATE) == IconState::kOff; }, kWaitMs));
  EXPECT_EQ(list->item(0, 2)->text(), QStringLiteral("415")) << "the simulated analyser counts up from 415";
  EXPECT_EQ(list->item(2, 2)->text(), QStringLiteral("417"));
  demo.EndProgram();
}

}  // namespace
