#pragma once
// A device page shown in the main dialog, rendered offscreen into a PNG kept
// in the build tree as a test artefact.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include <QApplication>
#include <QDir>
#include <QImage>

#include "demo/shell/demo_dlg.h"

namespace demotest {

// Shows the main dialog with the page of `className` current and saves it
// as <build tree>/screenshots/<className>.png.
inline void SavePageScreenshot(CDemoDlg& dialog, std::string_view className) {
  CPropertyPage* page = dialog.FindPage(className);
  ASSERT_NE(page, nullptr) << className;
  dialog.show();
  ASSERT_TRUE(dialog.Sheet().SetActivePage(page)) << className;
  QApplication::processEvents();
  EXPECT_TRUE(page->isVisible()) << className;
  const QImage image = dialog.grab().toImage();
  ASSERT_FALSE(image.isNull());
  const std::string folder = DEMO_TEST_WORK_DIR "/screenshots";
  QDir().mkpath(QString::fromStdString(folder));
  const QString file = QString::fromStdString(folder + "/" + std::string(className) + ".png");
  EXPECT_TRUE(image.save(file, "PNG")) << file.toStdString();
}

}  // namespace demotest
