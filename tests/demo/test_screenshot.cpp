// The main dialog rendered offscreen into a PNG kept in the build tree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTreeWidget>

#include "demo/shell/demo_dlg.h"
#include "tests/demo/demo_fakes.h"

namespace {

TEST(Screenshot, MainDialogWithTreeAndFirstPage) {
  demotest::AppStateGuard state;
  CDemoDlg dialog;
  theApp.m_pMainWnd = &dialog;
  dialog.AppendLogText("SentrellDemo");
  dialog.show();
  QApplication::processEvents();
  EXPECT_TRUE(dialog.Sheet().GetPageTreeControl()->isVisible());
  EXPECT_TRUE(dialog.Sheet().GetActivePage()->isVisible());
  const QImage image = dialog.grab().toImage();
  ASSERT_FALSE(image.isNull());
  const QString file = QStringLiteral(DEMO_TEST_WORK_DIR "/sentrelldemo-main-dialog.png");
  EXPECT_TRUE(image.save(file, "PNG")) << file.toStdString();
}

}  // namespace
